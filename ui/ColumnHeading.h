#pragma once

#include <QLabel>

#include <functional>
#include <vector>

class QAbstractItemView;

namespace sw::ui {

// A heading whose words stand over the columns below it. Its text stays the heading's own words;
// only the drawing places each word over the column it names, so a heading written for one font
// still lines up with lists and rows in another.
class ColumnHeading : public QLabel {
    Q_OBJECT

public:
    // Where one word goes, in the heading's own x coordinates.
    struct Column {
        double left = 0;
        double right = 0;
        bool leftAligned = false; // otherwise centred between left and right
    };
    // A column of a fixed-width list, in characters from the start of its lines.
    struct CharSpan {
        double first = 0;
        double end = 0; // one past the last character
        bool leftAligned = false;
    };
    using ColumnSource = std::function<std::vector<Column>()>;

    explicit ColumnHeading(const QString& text, QWidget* parent = nullptr);

    // Asked at every paint, so the words follow resizing and scrolling. With no source, or one that
    // does not give a column per word, the heading is drawn as plain text.
    void setColumnSource(ColumnSource source);
    // Words over the character columns of a fixed-width list's lines.
    void followList(QAbstractItemView* list, std::vector<CharSpan> spans);
    // Words over widgets laid out beside each other (one per word, e.g. the first row of a chart).
    void followWidgets(std::vector<QWidget*> widgets);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColumnSource m_source;
};

} // namespace sw::ui
