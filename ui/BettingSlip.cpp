#include "BettingSlip.h"

#include "ActionState.h"
#include "FontScale.h"
#include "LinesLabel.h"
#include "Palette.h"
#include "ToQString.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "players/Players.h"
#include "wagering/BetEntry.h"
#include "wagering/TicketText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

// The players the keys reach: F2 to F5, or Ctrl+1 to Ctrl+4 where the F keys belong to the desktop.
constexpr int KeyedPlayers = 4;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString chipKeys(int index) {
    return toQString(_("F%1 or Ctrl+%2")).arg(index + 2).arg(index + 1);
}

// A name is no mnemonic: an "&" in it is shown as it is.
QString chipText(const QString& name, const PlayerEntry& player) {
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")) + QStringLiteral("  ") +
           qs(shownMoney(balanceOf(player)));
}

} // namespace

BettingSlip::BettingSlip(Game& game, QWidget* parent) : QFrame(parent), m_game(game) {
    setObjectName(QStringLiteral("frSlip"));
    setStyleSheet(racecourseStyle(QStringLiteral("QFrame#frSlip")) +
                  QStringLiteral("QFrame#frSlip { border: 2px solid %1; border-radius: 4px; }")
                      .arg(racecourse().rule.name()));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(4);

    auto* chips = new QWidget(this);
    // Many players share the row rather than widen the column.
    chips->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_chipRow = new QHBoxLayout(chips);
    m_chipRow->setContentsMargins(0, 0, 0, 0);
    m_chipRow->setSpacing(6);
    m_chipHeight = new QPushButton(QStringLiteral("$0.00"), chips);
    QFont chipFont = m_chipHeight->font();
    chipFont.setBold(true);
    setDesignFont(m_chipHeight, chipFont);
    QSizePolicy keep = m_chipHeight->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_chipHeight->setSizePolicy(keep);
    m_chipHeight->setFixedWidth(0);
    m_chipHeight->hide();
    m_chipRow->addWidget(m_chipHeight);
    // The players past the row's end, a click away; the row itself never grows.
    m_more = new QPushButton(chips);
    m_more->setObjectName(QStringLiteral("cmdMorePlayers"));
    m_more->setCheckable(true);
    m_more->setAutoDefault(false);
    copyDesignFont(m_more, m_chipHeight);
    m_more->hide();
    m_chipRow->addWidget(m_more);
    m_moreMenu = new QMenu(m_more);
    m_moreMenu->setObjectName(QStringLiteral("mnuMorePlayers"));
    // A popup rather than a menu of the button's own, which would wait in an event loop of its own.
    connect(m_more, &QPushButton::clicked, this, [this] {
        m_more->setChecked(m_game.day().players.selected >= m_shownChips);
        listHiddenPlayers();
        m_moreMenu->popup(m_more->mapToGlobal(QPoint(0, m_more->height())));
    });
    chips->installEventFilter(this);
    // The exchange is said at the row's end, in the room the chips leave.
    m_lblExchange = new LinesLabel(1, chips);
    m_lblExchange->setObjectName(QStringLiteral("lblExchange"));
    m_lblExchange->setProperty("role", "total");
    m_lblExchange->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_lblExchange->font();
    bold.setBold(true);
    setDesignFont(m_lblExchange, bold);
    m_chipRow->addWidget(m_lblExchange, 1);
    outer->addWidget(chips);

    m_lblSlip = new LinesLabel(2, this);
    m_lblSlip->setObjectName(QStringLiteral("lblSlip"));
    m_lblSlip->setProperty("role", "money");
    m_lblSlip->setToolTip(toQString(_("The ticket being built, its bets and its cost")));
    QFont big = m_lblSlip->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    setDesignFont(m_lblSlip, big);
    outer->addWidget(m_lblSlip);

    for (int i = 0; i < KeyedPlayers; ++i) {
        auto* keys = new QShortcut(this);
        keys->setKeys({QKeySequence(static_cast<Qt::Key>(Qt::Key_F2 + i)),
                       QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i))});
        keys->setContext(Qt::WindowShortcut);
        connect(keys, &QShortcut::activated, this, [this, i] { choose(i); });
    }
    refresh();
}

bool BettingSlip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_chipRow->parentWidget())
        fitChips();
    return QFrame::eventFilter(watched, event);
}

void BettingSlip::fitChips() {
    const int count = static_cast<int>(m_chips.size());
    const int spacing = m_chipRow->spacing();
    // The row holds the hidden height keeper and the exchange too, a spacing after each chip.
    int room = m_chipRow->parentWidget()->width() - spacing;
    if (!m_lblExchange->text().isEmpty())
        room -= m_lblExchange->fontMetrics().horizontalAdvance(m_lblExchange->text());
    auto widthOf = [&](int shown) {
        int width = 0;
        for (int i = 0; i < shown; ++i)
            width += m_chips[static_cast<std::size_t>(i)]->sizeHint().width() + spacing;
        return width;
    };
    int shown = count;
    if (widthOf(count) > room) {
        // The widest "+N" is kept room for, so the count shown never pushes a chip out.
        m_more->setText(QStringLiteral("+%1").arg(count));
        const int left = room - m_more->sizeHint().width() - spacing;
        while (shown > 0 && widthOf(shown) > left)
            --shown;
    }
    m_shownChips = shown;
    for (int i = 0; i < count; ++i)
        m_chips[static_cast<std::size_t>(i)]->setVisible(i < shown);
    QStringList hidden;
    for (int i = shown; i < count; ++i)
        hidden << m_names[i];
    m_more->setText(QStringLiteral("+%1").arg(count - shown));
    m_more->setToolTip(toQString(_("More players: %1")).arg(hidden.join(QStringLiteral(", "))));
    m_more->setChecked(m_game.day().players.selected >= shown);
    m_more->setVisible(shown < count);
}

void BettingSlip::listHiddenPlayers() {
    m_moreMenu->clear();
    const RaceDay& day = m_game.day();
    const auto& players = day.players.entries;
    for (int i = m_shownChips; i < static_cast<int>(players.size()); ++i) {
        QAction* player = m_moreMenu->addAction(chipText(m_names[i], players[static_cast<std::size_t>(i)]));
        player->setObjectName(QStringLiteral("actPlayer%1").arg(i));
        player->setCheckable(true);
        player->setChecked(i == day.players.selected);
        showAvailability(player, m_game.availability(Action::SelectPlayer, i));
        connect(player, &QAction::triggered, this, [this, i] { choose(i); });
    }
}

void BettingSlip::choose(int index) {
    const int count = static_cast<int>(m_game.day().players.entries.size());
    if (index >= count || !m_game.availability(Action::SelectPlayer, index))
        return;
    m_game.selectPlayer(index);
    emit changed();
}

void BettingSlip::refresh() {
    const RaceDay& day = m_game.day();
    const auto& players = day.players.entries;
    QStringList names;
    for (const PlayerEntry& player : players)
        names << qs(player.name);
    // A chip is one player's: the row is made again when someone is added or deleted.
    if (names != m_names) {
        for (QPushButton* chip : m_chips)
            delete chip;
        m_chips.clear();
        m_names = names;
        for (int i = 0; i < static_cast<int>(names.size()); ++i) {
            auto* chip = new QPushButton(m_chipRow->parentWidget());
            chip->setObjectName(QStringLiteral("chipPlayer%1").arg(i));
            chip->setCheckable(true);
            chip->setAutoDefault(false);
            copyDesignFont(chip, m_chipHeight);
            chip->setToolTip(i < KeyedPlayers ? toQString(_("Bet as %1 (%2)")).arg(names[i], chipKeys(i))
                                              : toQString(_("Bet as %1")).arg(names[i]));
            m_chipRow->insertWidget(i, chip);
            connect(chip, &QPushButton::clicked, this, [this, i] { choose(i); });
            m_chips.push_back(chip);
        }
    }
    for (std::size_t i = 0; i < players.size(); ++i) {
        QPushButton* chip = m_chips[i];
        chip->setText(chipText(names[static_cast<qsizetype>(i)], players[i]));
        const int index = static_cast<int>(i);
        chip->setChecked(index == day.players.selected);
        showAvailability(chip, m_game.availability(Action::SelectPlayer, index));
    }
    const BetEntry& entry = m_game.betEntry();
    m_lblSlip->setText(qs(shownTicketText(entry.slipLine())));
    m_lblExchange->setText(qs(entry.exchangeBanner(day)));
    // A balance or the exchange may take room from the chips, or give some back.
    fitChips();
}

} // namespace sw::ui
