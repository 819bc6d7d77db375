#include "WindowMemory.h"

#include "ScreenFit.h"

#include <QSettings>
#include <QWidget>

namespace sw::ui {

namespace {

// Each window keeps its own place, so the racing program and the results do not share the main
// window's.
QString geometryKey(const QWidget* window) {
    QString name = window->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(window->metaObject()->className());
    return QStringLiteral("geometry/") + name;
}

const char* const Organization = "Stridewell";
const char* const Application = "Stridewell";

} // namespace

bool restoreGeometry(QWidget* window) {
    if (!window)
        return false;
    const QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    // Nothing saved, or a value edited by hand, is no geometry: QWidget then leaves the window be.
    // A place saved on a larger screen, or at a smaller scale, would hang over the edges: the window
    // then keeps the place it was given.
    const QRect given = window->geometry();
    const Qt::WindowStates givenState = window->windowState();
    if (!window->restoreGeometry(settings.value(geometryKey(window)).toByteArray()))
        return false;
    if (fitsOnScreen(window))
        return true;
    window->setWindowState(givenState);
    window->setGeometry(given);
    return false;
}

void saveGeometry(const QWidget* window) {
    if (!window)
        return;
    QSettings settings(QString::fromLatin1(Organization), QString::fromLatin1(Application));
    settings.setValue(geometryKey(window), window->saveGeometry());
}

} // namespace sw::ui
