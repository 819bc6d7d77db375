#pragma once

#include <QFont>
#include <QFontDatabase>

namespace sw::ui {

// The desktop's fixed-width font, for the lists whose columns are laid out by character counts.
inline QFont fixedFont(qreal pointSize = 0) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    return font;
}

} // namespace sw::ui
