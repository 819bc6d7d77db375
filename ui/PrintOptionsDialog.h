#pragma once

#include "program/PrintProgram.h"

#include <QDialog>

#include <memory>
#include <vector>

class QPrinter;
class QPushButton;
class QSpinBox;

namespace sw {
class Game;
}

namespace sw::ui {

// The print options "frmPrint": the range of races to print (From and To follow each other), then
// the racing program of each race on a page of its own, to a printer, a PDF file or a preview.
class PrintOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit PrintOptionsDialog(Game& game, QWidget* parent = nullptr);
    ~PrintOptionsDialog() override;

    // The range as the spinners show it.
    const PrintRange& range() const { return m_range; }

    // Prints races from..to straight into a PDF file, one page a race, as the printer would.
    // False (with a message) when the file is in the data folder or cannot be written, or when
    // the range holds no race.
    bool printToPdf(const QString& file, int from, int to);

    // Prints the chosen races on the printer and closes; when the printer cannot be printed on, a
    // warning says so and the options stay open. False when nothing was printed.
    bool printTo(QPrinter& printer);

signals:
    // Printing shows each race it prints; afterwards the day again holds the race about to be
    // run, and the racing program should show that race.
    void raceRestored();

private:
    void fromChanged(int value);
    void toChanged(int value);
    void showRange();
    void print();
    void preview();
    std::vector<PrintPage> takePages(int from, int to);
    // Paints the pages on a printer that prints to a file: never into the data folder, and
    // through a scratch file so a failed print leaves the file that was there.
    bool paintToFile(QPrinter& printer, const std::vector<PrintPage>& pages);

    Game& m_game;
    PrintRange m_range;
    QSpinBox* m_udFrom = nullptr;
    QSpinBox* m_udTo = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::vector<PrintPage> m_previewPages;
};

// Draws the program on the printer in a fixed-pitch font (bold lines bold): the sheet of races it
// holds, then each race on sheets of its own, every sheet numbered. False when the printer cannot
// be drawn on.
bool paintProgramPages(QPrinter& printer, const std::vector<PrintPage>& pages);

} // namespace sw::ui
