#include "PostColours.h"

#include "ui/track/HorseArt.h"

#include <QColor>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace sw::ui {

QString postColourStyle(int post, const QString& widgetClass) {
    const QColor cloth = HorseArt::clothColour(post);
    const QColor number = HorseArt::numberColour(post);
    // A taken horse keeps a trace of its colour, so the picks stay readable on the buttons.
    QColor faded = cloth;
    faded.setAlpha(70);
    return QStringLiteral("%1 { background-color: %2; color: %3; border: 1px solid #202020;"
                          " border-radius: 4px; font-weight: bold; padding: 2px 4px; }"
                          "%1:disabled { background-color: %4; color: #707070; border: 1px dashed #808080; }"
                          "%1:focus { border: 2px solid palette(highlight); }")
        .arg(widgetClass, cloth.name(), number.name(), faded.name(QColor::HexArgb));
}

QString postColourRules(const QString& selector) {
    QString rules;
    for (int post = 1; post <= 8; ++post)
        rules += postColourStyle(post, QStringLiteral("%1[post=\"%2\"]").arg(selector).arg(post));
    return rules;
}

void setPostColour(QWidget* widget, int post) {
    if (widget->property("post").toInt() == post)
        return;
    widget->setProperty("post", post);
    // A widget not yet polished takes its colours when it first is.
    if (!widget->testAttribute(Qt::WA_WState_Polished))
        return;
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

} // namespace sw::ui
