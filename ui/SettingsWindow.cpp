#include "SettingsWindow.h"

#include "ToQString.h"
#include "core/Constants.h"
#include "core/Translate.h"
#include "game/Game.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace sw::ui {

SettingsWindow::SettingsWindow(Game& game, QWidget* parent)
    : QDialog(parent), m_game(game), m_dialog(game.day()) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(toQString(_("Settings")));

    auto* label1 = new QLabel(toQString(_("Starting Amount")), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(toQString(_("Default $ per bet")), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_udStartAmount = new QSpinBox(this);
    m_udStartAmount->setObjectName(QStringLiteral("udStartAmount"));
    m_udDefaultAmount = new QSpinBox(this);
    m_udDefaultAmount->setObjectName(QStringLiteral("udDefaultAmount"));
    for (QSpinBox* spin : {m_udStartAmount, m_udDefaultAmount}) {
        spin->setRange(SettingsDialog::SpinnerMinimum, SettingsDialog::SpinnerMaximum);
        spin->setSingleStep(1);
        spin->setPrefix(QStringLiteral("$"));
        spin->setAlignment(Qt::AlignRight);
    }
    label1->setBuddy(m_udStartAmount);
    label2->setBuddy(m_udDefaultAmount);

    m_cmdOK = new QPushButton(toQString(_("OK")), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(toQString(_("Cancel")), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_udStartAmount, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_udDefaultAmount, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Opening already puts the rounded amounts into the day's settings.
    m_dialog.open();
    showValues();

    connect(m_udStartAmount, &QSpinBox::valueChanged, this, [this](int value) {
        m_dialog.setStartAmount(value);
        showValues();
    });
    connect(m_udDefaultAmount, &QSpinBox::valueChanged, this, [this](int value) {
        m_dialog.setDefaultBetAmount(value);
        showValues();
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &SettingsWindow::ok);
    connect(m_cmdCancel, &QPushButton::clicked, this, &SettingsWindow::reject);
}

void SettingsWindow::showValues() {
    const QSignalBlocker quietStart(m_udStartAmount);
    const QSignalBlocker quietDefault(m_udDefaultAmount);
    m_udStartAmount->setValue(m_dialog.startAmountSpinner());
    m_udDefaultAmount->setValue(m_dialog.defaultAmountSpinner());
}

void SettingsWindow::ok() {
    if (const FileError error = m_dialog.ok())
        m_game.day().prompter.message(error.message, AppTitle);
    accept();
}

void SettingsWindow::reject() {
    m_dialog.cancel();
    QDialog::reject();
}

} // namespace sw::ui
