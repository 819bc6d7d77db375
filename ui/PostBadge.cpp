#include "PostBadge.h"

#include "ui/track/HorseArt.h"

#include <QLabel>
#include <QPainter>

namespace sw::ui {

namespace {

// The grey edge keeps the white cloth visible on a light window.
const QColor BadgeEdge(0x80, 0x80, 0x80);
constexpr int BadgeGap = 4;

QList<int> postsOf(const QModelIndex& index) {
    return index.data(PostsRole).value<QList<int>>();
}

QSize badgeSize(const QFont& font) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QStringLiteral("0")) + 10, metrics.height() + 2};
}

QFont badgeFont(QFont font) {
    font.setBold(true);
    return font;
}

} // namespace

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
    label->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %3;"
                                        " border-radius: 3px; font-weight: bold; padding: 1px 4px; }")
                             .arg(cloth.name(), number.name(), BadgeEdge.name()));
}

void PostBadgeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QList<int> posts = postsOf(index);
    if (posts.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell's ground and focus as any cell has them, with the cloths over it.
    QStyleOptionViewItem ground = option;
    initStyleOption(&ground, index);
    ground.text.clear();
    option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &ground, painter, option.widget);

    const QFont font = badgeFont(option.font);
    const QSize size = badgeSize(font);
    const int width = static_cast<int>(posts.size()) * (size.width() + BadgeGap) - BadgeGap;
    QRect badge(QPoint(0, 0), size);
    badge.moveTop(option.rect.top() + (option.rect.height() - size.height()) / 2);
    badge.moveLeft(option.displayAlignment & Qt::AlignLeft ? option.rect.left() + BadgeGap
                                                           : option.rect.center().x() - width / 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(font);
    for (const int post : posts) {
        if (post >= 1 && post <= 8) {
            painter->setPen(BadgeEdge);
            painter->setBrush(HorseArt::clothColour(post));
            painter->drawRoundedRect(QRectF(badge).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            painter->setPen(HorseArt::numberColour(post));
            painter->drawText(badge, Qt::AlignCenter, QString::number(post));
        }
        badge.translate(size.width() + BadgeGap, 0);
    }
    painter->restore();
}

QSize PostBadgeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    const QList<int> posts = postsOf(index);
    if (posts.isEmpty())
        return text;
    const QSize size = badgeSize(badgeFont(option.font));
    const int width = static_cast<int>(posts.size()) * (size.width() + BadgeGap) + BadgeGap;
    return {std::max(text.width(), width), std::max(text.height(), size.height() + 4)};
}

} // namespace sw::ui
