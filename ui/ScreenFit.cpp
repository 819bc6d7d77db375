#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace sw::ui {

namespace {

// Until the desktop has framed a window its frame is unknown; leave room for a usual title bar.
const QMargins LikelyFrame(4, 32, 4, 4);

// Wider work areas than this open the main window maximized on a first start.
constexpr int MaximizedAbove = 1600;

QMargins frameOf(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle(); handle && window->isVisible())
        return handle->frameMargins();
    return LikelyFrame;
}

const QScreen* screenOf(const QWidget* window) {
    if (const QScreen* screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

void fitToScreen(QWidget* window, QSize preferred) {
    const QScreen* screen = window ? screenOf(window) : nullptr;
    if (!screen)
        return;
    const QMargins frame = frameOf(window);
    const QRect area = screen->availableGeometry();
    const QSize size = preferred.boundedTo(area.marginsRemoved(frame).size());
    window->resize(size);
    QRect framed(QPoint(0, 0), window->size().grownBy(frame));
    framed.moveCenter(area.center());
    // Never above or left of the work area, so the title bar stays within reach.
    window->move(std::max(framed.left(), area.left()), std::max(framed.top(), area.top()));
}

bool fitsOnScreen(const QWidget* window) {
    if (!window)
        return false;
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return true;
    // Before the window is shown its position may be the frame's or the inside's: judge the
    // position by the inside and the size by the whole frame.
    const QRect inside = window->geometry();
    const QSize framed = inside.size().grownBy(frameOf(window));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        if (area.contains(inside) && framed.width() <= area.width() && framed.height() <= area.height())
            return true;
    }
    return false;
}

bool opensMaximized(bool placeRemembered, int workAreaWidth) {
    return !placeRemembered && workAreaWidth > MaximizedAbove;
}

void showMainWindow(QWidget* window, bool placeRemembered) {
    if (!window)
        return;
    const QScreen* screen = screenOf(window);
    if (screen && opensMaximized(placeRemembered, screen->availableGeometry().width()))
        window->showMaximized();
    else
        window->show();
}

} // namespace sw::ui
