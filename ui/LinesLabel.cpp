#include "LinesLabel.h"

namespace sw::ui {

LinesLabel::LinesLabel(int lines, QWidget* parent) : QLabel(parent), m_lines(lines) {
    setWordWrap(lines > 1);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Its width is the column's, never its text's.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

int LinesLabel::linesHeight() const {
    const QMargins m = contentsMargins();
    return fontMetrics().lineSpacing() * m_lines + m.top() + m.bottom() + 2 * margin();
}

QSize LinesLabel::sizeHint() const {
    return {QLabel::sizeHint().width(), linesHeight()};
}

QSize LinesLabel::minimumSizeHint() const {
    return {0, linesHeight()};
}

} // namespace sw::ui
