#include "FontScale.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw::ui {

namespace {

constexpr const char* DesignFontProperty = "designFont";

void applyScale(QWidget* widget, double scale) {
    const QVariant design = widget->property(DesignFontProperty);
    if (!design.isValid())
        return;
    QFont font = design.value<QFont>();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * scale)));
    widget->setFont(font);
}

} // namespace

void setDesignFont(QWidget* widget, const QFont& font) {
    widget->setProperty(DesignFontProperty, font);
    widget->setFont(font);
}

void copyDesignFont(QWidget* to, const QWidget* from) {
    to->setProperty(DesignFontProperty, from->property(DesignFontProperty));
    to->setFont(from->font());
}

void keepDesignFonts(QWidget* root) {
    for (QWidget* child : root->findChildren<QWidget*>())
        if (!child->property(DesignFontProperty).isValid())
            setDesignFont(child, child->font());
}

void scaleFonts(QWidget* root, double scale) {
    applyScale(root, scale);
    for (QWidget* child : root->findChildren<QWidget*>())
        applyScale(child, scale);
}

double fontScaleFor(int width, int height) {
    const double scale = std::min(width / 1366.0, height / 768.0);
    return std::clamp(std::floor(scale * 20.0) / 20.0, 1.0, 2.0);
}

} // namespace sw::ui
