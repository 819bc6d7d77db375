#include "PostBadge.h"

#include "ui/track/HorseArt.h"

#include <QLabel>

namespace sw::ui {

void showPostBadge(QLabel* label, int post) {
    if (post < 1 || post > 8) {
        label->clear();
        label->setStyleSheet({});
        return;
    }
    const QColor cloth = HorseArt::clothColour(post);
    const QColor number = HorseArt::numberColour(post);
    label->setText(QString::number(post));
    label->setAlignment(Qt::AlignCenter);
    // A thin grey edge keeps the white cloth visible on a light window.
    label->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid #808080;"
                                        " border-radius: 3px; font-weight: bold; padding: 1px 4px; }")
                             .arg(cloth.name(), number.name()));
}

} // namespace sw::ui
