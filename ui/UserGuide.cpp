#include "UserGuide.h"

#include "ScreenFit.h"
#include "ToQString.h"
#include "core/Constants.h"
#include "core/Translate.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

#ifndef STRIDEWELL_DOCS_DIR
#define STRIDEWELL_DOCS_DIR ""
#endif

namespace sw::ui {

namespace {

const QString GuideFile = QStringLiteral("userguide.htm");
const QString GuideWindowName = QStringLiteral("frmUserGuide");

// The guide is a light page whatever the desktop's theme: its body text sets its own dark colour,
// but list bullets and links take the palette's, and a dark theme's would vanish on the page.
void givePagePalette(QWidget* browser) {
    QPalette page = browser->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        page.setColor(group, QPalette::Base, QColor(0xfd, 0xfc, 0xf8));
        page.setColor(group, QPalette::Text, QColor(0x1d, 0x1d, 0x1d));
        page.setColor(group, QPalette::Link, QColor(0x1f, 0x51, 0x30));
        page.setColor(group, QPalette::LinkVisited, QColor(0x4a, 0x2f, 0x6b));
    }
    browser->setPalette(page);
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
        // The guide in the player's language where the folder has it, else the English one.
        const QFileInfo guide(
            QString::fromStdString(userGuideIn(std::filesystem::path(folder.toStdString())).string()));
        if (guide.isFile() && guide.isReadable())
            return guide.absoluteFilePath();
    }
    return {};
}

QWidget* showUserGuide(QWidget* parent, const QString& path, const DocumentOpener& opener) {
    // One guide window is enough; asking again brings it forward.
    if (parent) {
        if (auto* open = parent->findChild<QWidget*>(GuideWindowName, Qt::FindDirectChildrenOnly)) {
            open->show();
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(GuideWindowName);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(toQString(fillIn(_("Using {0}"), _(AppCaption))));
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("txtGuide"));
    browser->setOpenExternalLinks(true);
    givePagePalette(browser);
    if (path.isEmpty())
        browser->setPlainText(toQString(_("The user guide (%1) is not installed.")).arg(GuideFile));
    else
        browser->setSource(QUrl::fromLocalFile(path));
    auto* inBrowser = new QPushButton(toQString(_("Open in &Browser")), window);
    inBrowser->setObjectName(QStringLiteral("cmdOpenInBrowser"));
    inBrowser->setToolTip(toQString(_("Open the guide with the desktop's web browser")));
    inBrowser->setEnabled(!path.isEmpty());
    QObject::connect(inBrowser, &QPushButton::clicked, window, [path, opener] {
        const QUrl url = QUrl::fromLocalFile(path);
        if (opener)
            opener(url);
        else
            QDesktopServices::openUrl(url);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(inBrowser);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(browser, 1);
    layout->addLayout(buttons);
    buttons->setContentsMargins(6, 0, 6, 0);
    fitToScreen(window, QSize(900, 700));
    window->show();
    return window;
}

QWidget* openUserGuide(QWidget* parent, const DocumentOpener& opener) {
    return showUserGuide(parent, userGuidePath(), opener);
}

} // namespace sw::ui
