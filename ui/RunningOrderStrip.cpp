#include "RunningOrderStrip.h"

#include "PostBadge.h"
#include "ToQString.h"
#include "core/Translate.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace sw::ui {

namespace {

// The chart's short margins (a nose, a neck, a head) in the player's language; lengths are figures.
QString marginText(const std::string& lengths) {
    if (lengths == "ns")
        return toQString(C_("margin", "ns"));
    if (lengths == "nk")
        return toQString(C_("margin", "nk"));
    if (lengths == "hd")
        return toQString(C_("margin", "hd"));
    return toQString(lengths);
}

} // namespace

RunningOrderStrip::RunningOrderStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("stripRunningOrder"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < FieldSize; ++i) {
        if (i > 0) {
            auto* gap = new QLabel(this);
            gap->setObjectName(QStringLiteral("lblRunningLengths%1").arg(i + 1));
            gap->setAlignment(Qt::AlignCenter);
            row->addWidget(gap, 0, Qt::AlignVCenter);
            m_lengths[static_cast<std::size_t>(i - 1)] = gap;
        }
        auto* cloth = new QLabel(this);
        cloth->setObjectName(QStringLiteral("lblRunning%1").arg(i + 1));
        row->addWidget(cloth, 0, Qt::AlignVCenter);
        m_cloths[static_cast<std::size_t>(i)] = cloth;
    }
    row->addStretch(1);
    fitWidths();
    // Before any race: the field by post.
    for (int i = 0; i < FieldSize; ++i)
        m_order[static_cast<std::size_t>(i)].entry = -1;
    RunningOrder byPost;
    for (int i = 0; i < FieldSize; ++i)
        byPost[static_cast<std::size_t>(i)].entry = i;
    showOrder(byPost);
    // A screen reader hears the race from the track's description, updated at each call.
    setAccessibleName(toQString(_("Running order")));
}

void RunningOrderStrip::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitWidths();
}

void RunningOrderStrip::fitWidths() {
    const QFontMetrics metrics = fontMetrics();
    for (QLabel* gap : m_lengths)
        gap->setFixedWidth(std::max(
            {metrics.horizontalAdvance(QStringLiteral("000")), metrics.horizontalAdvance(marginText("ns")),
             metrics.horizontalAdvance(marginText("nk")), metrics.horizontalAdvance(marginText("hd"))}));
    for (QLabel* cloth : m_cloths)
        cloth->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("00")) + 10);
}

void RunningOrderStrip::showOrder(const RunningOrder& order) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        const RunningPlace& now = order[i];
        RunningPlace& shown = m_order[i];
        // A cloth is repainted only when another horse takes its place: the strip follows every frame.
        if (now.entry != shown.entry)
            showPostBadge(m_cloths[i], now.entry + 1);
        if (i > 0 && now.lengths != shown.lengths)
            m_lengths[i - 1]->setText(marginText(now.lengths));
        shown = now;
    }
}

} // namespace sw::ui
