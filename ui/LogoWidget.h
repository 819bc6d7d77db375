#pragma once

#include <QWidget>

namespace sw::ui {

// The game's emblem `imgLogo`, drawn in code: a horseshoe on a turf-green badge beside the name.
// It is only a picture; clicking it does nothing.
class LogoWidget : public QWidget {
    Q_OBJECT

public:
    explicit LogoWidget(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {190, 46}; }
    QSize minimumSizeHint() const override { return {46, 36}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace sw::ui
