#include "UserGuide.h"

#include "ToQString.h"
#include "core/Constants.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QWidget>

#ifndef STRIDEWELL_DOCS_DIR
#define STRIDEWELL_DOCS_DIR ""
#endif

namespace sw::ui {

namespace {

const QString GuideFile = QStringLiteral("userguide.htm");
const QString GuideWindowName = QStringLiteral("frmUserGuide");

QWidget* showGuideWindow(QWidget* parent, const QString& path) {
    // One guide window is enough; asking again brings it forward.
    if (parent) {
        if (auto* open = parent->findChild<QTextBrowser*>(GuideWindowName, Qt::FindDirectChildrenOnly)) {
            open->show();
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    auto* browser = new QTextBrowser(parent);
    browser->setObjectName(GuideWindowName);
    browser->setWindowFlag(Qt::Window, true);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setWindowTitle(QStringLiteral("Using ") + toQString(AppCaption));
    browser->setOpenExternalLinks(true);
    if (path.isEmpty())
        browser->setPlainText(QStringLiteral("The user guide (%1) is not installed.").arg(GuideFile));
    else
        browser->setSource(QUrl::fromLocalFile(path));
    browser->resize(900, 700);
    browser->show();
    return browser;
}

} // namespace

QString userGuidePath() {
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        folders << exeDir << exeDir + QStringLiteral("/docs");
#ifdef STRIDEWELL_INSTALLED_DOCS
        // An installed game keeps the guide under share/, relative to the program.
        folders << exeDir + QStringLiteral("/") + QStringLiteral(STRIDEWELL_INSTALLED_DOCS);
#endif
    }
    folders << QStringLiteral(STRIDEWELL_DOCS_DIR);
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo guide(QDir(folder).filePath(GuideFile));
        if (guide.isFile() && guide.isReadable())
            return guide.absoluteFilePath();
    }
    return {};
}

QWidget* openUserGuide(QWidget* parent, const DocumentOpener& opener) {
    const QString path = userGuidePath();
    if (!path.isEmpty()) {
        const QUrl url = QUrl::fromLocalFile(path);
        const bool opened = opener ? opener(url) : QDesktopServices::openUrl(url);
        if (opened)
            return nullptr;
    }
    return showGuideWindow(parent, path);
}

} // namespace sw::ui
