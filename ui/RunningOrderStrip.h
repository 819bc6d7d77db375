#pragma once

#include "race/presentation/RunningOrder.h"

#include <QWidget>

#include <array>

class QLabel;

namespace sw::ui {

// The field's saddle cloths in running order, first to last, with the lengths between them: a
// strip of one fixed height whatever it shows, so the track beside it never moves.
class RunningOrderStrip : public QWidget {
    Q_OBJECT

public:
    explicit RunningOrderStrip(QWidget* parent = nullptr);

    void showOrder(const RunningOrder& order);
    const RunningOrder& order() const { return m_order; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // Room for "hd" or "12" beside each cloth in the current font, so a new margin moves nothing.
    void fitWidths();

    RunningOrder m_order;
    // Cloths 1st..8th, and the lengths before cloths 2nd..8th.
    std::array<QLabel*, FieldSize> m_cloths{};
    std::array<QLabel*, FieldSize - 1> m_lengths{};
};

} // namespace sw::ui
