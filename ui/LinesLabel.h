#pragma once

#include <QLabel>

namespace sw::ui {

// A label as tall as `lines` lines of its font whatever it says, wrapping within them: a text
// that changes, or wraps at another width, never moves what stands around it.
class LinesLabel : public QLabel {
public:
    LinesLabel(int lines, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return false; }

private:
    int linesHeight() const;
    int m_lines;
};

} // namespace sw::ui
