#pragma once

#include <QStyledItemDelegate>

class QLabel;

namespace sw::ui {

// Shows a post number 1..8 as its saddle cloth: the post's colour with a number that stands out,
// as on the track. Any other number clears the label to plain, empty text.
void showPostBadge(QLabel* label, int post);

// The posts a table cell shows as saddle cloths, a QList<int> of 1..8.
inline constexpr int PostsRole = Qt::UserRole + 1;

// Draws a table cell's posts (PostsRole) as saddle cloths side by side, as showPostBadge does on
// a label; a cell without posts is drawn as any other.
class PostBadgeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace sw::ui
