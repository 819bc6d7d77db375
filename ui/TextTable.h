#pragma once

#include <QTableView>

namespace sw::ui {

class TextTableModel;

// A table of the game's figures with its column headings: as wide as its widest cells and
// headings and as tall as its rows (up to a most, past which it scrolls down), so nothing is cut
// at any font. The keyboard moves cell by cell; Tab leaves the table.
class TextTable : public QTableView {
    Q_OBJECT

public:
    TextTable(TextTableModel* model, const QString& name, QWidget* parent);

    TextTableModel* textModel() const { return m_model; }

    // Rows shown without scrolling: at least `least`, at most `most` (0: every row).
    void setRowsShown(int least, int most);
    // The column that takes the width left over; the others are as wide as their texts.
    void setStretchColumn(int column);
    // Rows share the table's height rather than each keeping its text's.
    void setRowsStretch(bool stretch);
    // Room above and below a line's text in a row.
    void setRowPadding(int pixels);
    // Lines that wrap in their column instead of widening the table (the headings still fit).
    void setWrapsLines(bool wraps);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void updateGeometries() override;

private:
    void remeasure();
    void applyResizeModes();
    // Measures the cells once a change needs it, and sizes the sections to them.
    void measure() const;
    int rowHeight() const;
    int shownRows() const;

    TextTableModel* m_model;
    int m_leastRows = 1;
    int m_mostRows = 0;
    int m_rowPadding = 4;
    bool m_rowsStretch = false;
    bool m_wraps = false;
    mutable QSize m_hint; // invalid until measured
    bool m_built = false;
};

} // namespace sw::ui
