#include "PrintOptionsDialog.h"

#include "ToQString.h"
#include "core/Constants.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "program/PrintFile.h"
#include "program/ProgramTexts.h"

#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <filesystem>

namespace sw::ui {

namespace {

// A printer's own margins may be none at all (a PDF has none); the program keeps clear of the edge.
void setProgramMargins(QPrinter& printer) {
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

QFont printFont(bool bold, double pointSize) {
    QFont font(toQString(PrintFontName));
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(bold);
    return font;
}

// The sheet in the printer's pixels, and the print font measured there at a reference size.
PrintSheet printSheet(QPrinter& printer) {
    constexpr double reference = 10.0;
    const QFontMetricsF plain(printFont(false, reference), &printer);
    const QFontMetricsF bold(printFont(true, reference), &printer);
    const QRectF paper = printer.pageRect(QPrinter::DevicePixel);
    PrintSheet sheet;
    sheet.width = paper.width();
    sheet.height = paper.height();
    sheet.advancePerPoint =
        std::max(plain.horizontalAdvance(QLatin1Char('M')), bold.horizontalAdvance(QLatin1Char('M'))) /
        reference;
    sheet.lineSpacingPerPoint = std::max(plain.lineSpacing(), bold.lineSpacing()) / reference;
    return sheet;
}

} // namespace

bool paintProgramPages(QPrinter& printer, const std::vector<PrintPage>& pages) {
    if (pages.empty())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const PrintSheet sheet = printSheet(printer);
    const PrintLayout layout = layoutProgram(pages, sheet);
    const QFont plain = printFont(false, layout.pointSize);
    const QFont bold = printFont(true, layout.pointSize);
    const double lineHeight = layout.pointSize * sheet.lineSpacingPerPoint;
    const double ascent = QFontMetricsF(plain, &printer).ascent();

    // The footer sits on the sheet's last line, at its right edge.
    const double footerBaseline = sheet.height - lineHeight + ascent;
    for (std::size_t p = 0; p < layout.sheets.size(); ++p) {
        if (p > 0 && !printer.newPage())
            return false;
        double baseline = ascent;
        for (const PrintLine& line : layout.sheets[p]) {
            painter.setFont(line.bold ? bold : plain);
            painter.drawText(QPointF(0, baseline), toQString(line.text));
            baseline += lineHeight;
        }
        painter.setFont(plain);
        const QString footer = toQString(layout.footers[p]);
        painter.drawText(
            QPointF(sheet.width - QFontMetricsF(plain, &printer).horizontalAdvance(footer), footerBaseline),
            footer);
    }
    return painter.end();
}

PrintOptionsDialog::PrintOptionsDialog(Game& game, QWidget* parent)
    : QDialog(parent), m_game(game), m_range(printRangeFor(game.day())) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(toQString(_(PrintOptionsTitle)));

    auto* lblFrom = new QLabel(toQString(_(PrintFromCaption)), this);
    lblFrom->setObjectName(QStringLiteral("lblFrom"));
    auto* lblTo = new QLabel(toQString(_(PrintToCaption)), this);
    lblTo->setObjectName(QStringLiteral("lblTo"));
    m_udFrom = new QSpinBox(this);
    m_udFrom->setObjectName(QStringLiteral("udFrom"));
    m_udTo = new QSpinBox(this);
    m_udTo->setObjectName(QStringLiteral("udTo"));
    for (QSpinBox* spin : {m_udFrom, m_udTo})
        spin->setRange(m_range.minimum, m_range.maximum);
    lblFrom->setBuddy(m_udFrom);
    lblTo->setBuddy(m_udTo);

    m_cmdPrint = new QPushButton(toQString(_(PrintButtonCaption)), this);
    m_cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    m_cmdPrint->setDefault(true);
    m_cmdPreview = new QPushButton(toQString(_("Print Preview")), this);
    m_cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    m_cmdPreview->setAutoDefault(false);
    m_cmdCancel = new QPushButton(toQString(_(CancelButtonCaption)), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lblFrom, 0, 0);
    grid->addWidget(m_udFrom, 0, 1);
    grid->addWidget(lblTo, 1, 0);
    grid->addWidget(m_udTo, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdPrint);
    buttons->addWidget(m_cmdPreview);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showRange();
    connect(m_udFrom, &QSpinBox::valueChanged, this, &PrintOptionsDialog::fromChanged);
    connect(m_udTo, &QSpinBox::valueChanged, this, &PrintOptionsDialog::toChanged);
    connect(m_cmdPrint, &QPushButton::clicked, this, &PrintOptionsDialog::print);
    connect(m_cmdPreview, &QPushButton::clicked, this, &PrintOptionsDialog::preview);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

PrintOptionsDialog::~PrintOptionsDialog() = default;

void PrintOptionsDialog::fromChanged(int value) {
    setPrintFrom(m_range, value);
    showRange();
}

void PrintOptionsDialog::toChanged(int value) {
    setPrintTo(m_range, value);
    showRange();
}

void PrintOptionsDialog::showRange() {
    const QSignalBlocker quietFrom(m_udFrom);
    const QSignalBlocker quietTo(m_udTo);
    m_udFrom->setValue(m_range.from);
    m_udTo->setValue(m_range.to);
}

std::vector<PrintPage> PrintOptionsDialog::takePages(int from, int to) {
    std::vector<PrintPage> pages = programPages(m_game.day(), from, to);
    emit raceRestored();
    return pages;
}

bool PrintOptionsDialog::printToPdf(const QString& file, int from, int to) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(toQString(_(ProgramWindowTitle)));
    setProgramMargins(printer);
    return paintToFile(printer, takePages(from, to));
}

bool PrintOptionsDialog::paintToFile(QPrinter& printer, const std::vector<PrintPage>& pages) {
    const QString chosen = printer.outputFileName();
    Prompter& prompter = m_game.day().prompter;
    const PrintFile file = checkPrintFile(m_game.day().folder.dir(), chosen.toStdString());
    if (!file.problem.empty()) {
        prompter.message(file.problem, AppTitle);
        return false;
    }
    const FileError error = writeThroughScratch(file.target, [&](const std::filesystem::path& scratch) {
        printer.setOutputFileName(QString::fromStdString(scratch.string()));
        return paintProgramPages(printer, pages);
    });
    printer.setOutputFileName(chosen);
    if (error)
        prompter.message(error.message, AppTitle);
    return !error;
}

void PrintOptionsDialog::print() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setProgramMargins(*m_printer);
    }
    m_printer->setDocName(toQString(_(ProgramWindowTitle)));
    auto* dialog = new QPrintDialog(m_printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, qOverload<QPrinter*>(&QPrintDialog::accepted), this,
            [this](QPrinter* printer) { printTo(*printer); });
    dialog->open();
}

bool PrintOptionsDialog::printTo(QPrinter& printer) {
    const std::vector<PrintPage> pages = takePages(m_range.from, m_range.to);
    // Printed to a file, the pages keep out of the data folder; the dialog has asked before
    // replacing a file. Refused, the options stay open for another choice.
    if (!printer.outputFileName().isEmpty()) {
        if (!paintToFile(printer, pages))
            return false;
        accept();
        return true;
    }
    if (paintProgramPages(printer, pages)) {
        accept();
        return true;
    }
    // The options stay open, so the player can choose another printer and try again.
    auto* box = new QMessageBox(
        QMessageBox::Warning, toQString(_(ProgramWindowTitle)),
        toQString(_("The racing program was not printed: %1 could not be printed on."))
            .arg(printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("msgPrintFailed"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void PrintOptionsDialog::preview() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setProgramMargins(*m_printer);
    }
    m_printer->setDocName(toQString(_(ProgramWindowTitle)));
    // The preview repaints whenever it is zoomed or turned; the races are shown only once.
    m_previewPages = takePages(m_range.from, m_range.to);
    auto* dialog = new QPrintPreviewDialog(m_printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { paintProgramPages(*printer, m_previewPages); });
    dialog->open();
}

} // namespace sw::ui
