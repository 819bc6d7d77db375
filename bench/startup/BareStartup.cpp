// The floor for the game's start-up: a bare Qt program showing an empty main window, measured the
// same way, from the process start to its first paint.
//
//   QT_QPA_PLATFORM=offscreen stridewell-barebench

#include "FirstPaint.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName(QStringLiteral("bare"));
    window.resize(1366, 740);
    sw::bench::FirstPaint painted("window", QStringLiteral("bare"), sinceMain, [] { QApplication::quit(); });
    window.show();
    return app.exec();
}
