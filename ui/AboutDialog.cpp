#include "AboutDialog.h"

#include "LogoWidget.h"
#include "ToQString.h"
#include "core/Constants.h"
#include "core/Translate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QVersionNumber>

#ifndef STRIDEWELL_VERSION
#define STRIDEWELL_VERSION "0.0.0"
#endif

namespace sw::ui {

namespace {

// Made where shown: the player's language is chosen after the program's statics are.
QString descriptionText() {
    return toQString(fillIn(_("{0} will entertain and educate the user on the sport of Horse Racing. "
                              "It will teach you about pari-mutuel wagering, how to read and understand "
                              "the racing program (past performances), and familiarize you on how "
                              "much your bets will cost."),
                            _(AppCaption)));
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : AboutDialog(parent, findSystemInfoProgram()) {}

AboutDialog::AboutDialog(QWidget* parent, const QString& systemInfoProgram)
    : QDialog(parent), m_systemInfoProgram(systemInfoProgram) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(toQString(fillIn(_("About {0}"), _(AppCaption))));

    auto* title = new QLabel(toQString(_(AppCaption)), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title->setFont(titleFont);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* description = new QLabel(descriptionText(), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(380);

    auto* license = new QLabel(toQString(_("License: GPL-3.0-or-later")), this);
    license->setObjectName(QStringLiteral("lblLicense"));
    // The badge alone: the title beside it already names the game.
    auto* logo = new LogoWidget(this);
    logo->setFixedSize(72, 72);

    m_cmdOK = new QPushButton(toQString(_("OK")), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo = new QPushButton(toQString(_("&System Info...")), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    m_cmdSysInfo->setAutoDefault(false);
    m_cmdSysInfo->setVisible(!m_systemInfoProgram.isEmpty());

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    buttons->addStretch(1);
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(10);
    texts->addWidget(description);
    texts->addSpacing(10);
    texts->addWidget(license);
    texts->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(logo, 0, Qt::AlignTop);
    layout->addSpacing(12);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);
}

QString AboutDialog::findSystemInfoProgram() {
    for (const char* name : {"hardinfo2", "hardinfo", "kinfocenter"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString AboutDialog::versionText() {
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(STRIDEWELL_VERSION));
    return toQString(_("Version %1.%2.%3"))
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

void AboutDialog::startSystemInfo() {
    if (!m_systemInfoProgram.isEmpty() && QProcess::startDetached(m_systemInfoProgram, {}))
        return;
    auto* box = new QMessageBox(QMessageBox::Information, toQString(AppTitle),
                                toQString(_("System Information Is Unavailable At This Time")),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace sw::ui
