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
    // One word of the heading as drawn: its text and its left edge, in the heading's coordinates.
    struct PlacedWord {
        QString text;
        double left = 0;
        double width = 0;
    };

    explicit ColumnHeading(const QString& text, QWidget* parent = nullptr);

    // Asked at every paint, so the words follow resizing and scrolling. With no source, or one that
    // does not give a column per word, the heading is drawn as plain text.
    void setColumnSource(ColumnSource source);
    // Words over the character columns of a fixed-width list's lines.
    void followList(QAbstractItemView* list, std::vector<CharSpan> spans);
    // Words over widgets laid out beside each other (one per word, e.g. the first row of a chart).
    void followWidgets(std::vector<QWidget*> widgets);

    // Shorter forms of the words (one per word, empty for none), drawn in place of a word wider
    // than its column when the full words would run into each other.
    void setShortWords(QStringList shortWords);
    // The words as the heading draws them now, always at the heading's own font size; empty when
    // it draws plain text.
    std::vector<PlacedWord> placedWords() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColumnSource m_source;
    QStringList m_shortWords;
};

} // namespace sw::ui
