#include "FixedFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace sw::ui {

namespace {

// Installed with the game (the packages depend on it), so it is there when the desktop's is not.
const char* const FallbackFamily = "DejaVu Sans Mono";

} // namespace

QFont fixedFontFrom(const QFont& desktopFixed, qreal pointSize) {
    QFont font = desktopFixed;
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamilies(QStringList{QString::fromLatin1(FallbackFamily), QStringLiteral("monospace")});
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setFixedPitch(true);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    return font;
}

QFont fixedFont(qreal pointSize) {
    return fixedFontFrom(QFontDatabase::systemFont(QFontDatabase::FixedFont), pointSize);
}

} // namespace sw::ui
