#include "AddPlayerDialog.h"

#include "ToQString.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "players/Players.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace sw::ui {

AddPlayerDialog::AddPlayerDialog(Game& game, QWidget* parent) : QDialog(parent), m_game(game) {
    setObjectName(QStringLiteral("frmAddPlayer"));
    setWindowTitle(toQString(_("Add Player")));

    auto* label = new QLabel(toQString(_("Enter player's name")), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_txtPlayer = new QLineEdit(this);
    m_txtPlayer->setObjectName(QStringLiteral("txtPlayer"));
    m_txtPlayer->setMinimumWidth(m_txtPlayer->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 18);
    label->setBuddy(m_txtPlayer);

    // Enter is handled by the name box itself, so neither button may take it as a default.
    m_cmdAdd = new QPushButton(toQString(_("Add")), this);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdAdd->setAutoDefault(false);
    m_cmdAdd->setEnabled(false);
    m_cmdExit = new QPushButton(toQString(_("Exit")), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_cmdExit->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_txtPlayer);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Once usable, Add stays usable while the dialog is open, even when the box is emptied.
    connect(m_txtPlayer, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            m_cmdAdd->setEnabled(true);
    });
    connect(m_txtPlayer, &QLineEdit::returnPressed, this, [this] {
        if (!m_txtPlayer->text().isEmpty())
            addTyped();
    });
    connect(m_cmdAdd, &QPushButton::clicked, this, &AddPlayerDialog::addTyped);
    connect(m_cmdExit, &QPushButton::clicked, this, &QDialog::accept);
}

void AddPlayerDialog::addTyped() {
    if (!m_game.addPlayer(m_txtPlayer->text().toStdString())) {
        m_txtPlayer->setFocus();
        return;
    }
    m_txtPlayer->clear();
    m_txtPlayer->setFocus();
    emit playersChanged();
}

} // namespace sw::ui
