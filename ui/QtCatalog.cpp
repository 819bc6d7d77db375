#include "QtCatalog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sw::ui {

bool useQtCatalog(QCoreApplication& app) {
    // Owned by the application, which keeps using it until it goes.
    auto* qt = new QTranslator(&app);
    if (!qt->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QCoreApplication::installTranslator(qt);
}

} // namespace sw::ui
