#include "BetEntryWidget.h"

#include "ActionState.h"
#include "FontScale.h"
#include "LinesLabel.h"
#include "Palette.h"
#include "PostColours.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "players/Players.h"
#include "ui/track/HorseArt.h"
#include "wagering/BetEntry.h"
#include "wagering/TicketPricing.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include <vector>

namespace sw::ui {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A value the player reads at a glance: larger and bold.
QLabel* valueLabel(const QString& name, QWidget* parent, double scale = 1.25) {
    QLabel* l = label(name, QString(), parent);
    QFont font = l->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    setDesignFont(l, font);
    return l;
}

// The underlined letter of each button the keys reach by letter; no two alike on one page.
struct Mnemonic {
    const char* button;
    QChar key;
};
constexpr Mnemonic Mnemonics[] = {
    {"cmdNext1", u'N'},   {"cmdWin", u'W'},       {"cmdPlace", u'P'},    {"cmdShow", u'H'},
    {"cmdAcross", u'A'},  {"cmdQuiniela", u'Q'},  {"cmdExacta", u'E'},   {"cmdTrifecta", u'T'},
    {"cmdSuper", u'U'},   {"cmdDouble", u'D'},    {"cmdPick3", u'3'},    {"cmdPick6", u'6'},
    {"cmdTwinTri", u'I'}, {"cmdTriSuper", u'R'},  {"cmdStraight", u'S'}, {"cmdBox", u'B'},
    {"cmdWheel", u'K'},   {"cmdCancelBet", u'C'}, {"cmdNext2", u'N'},    {"cmdAll", u'A'},
    {"cmdWith", u'W'},    {"cmdFinish", u'F'},    {"cmdClear", u'C'},
};

// The caption with its mnemonic letter underlined. The letter works without Alt inside the panel
// only: as Alt shortcuts they would clash with the window's own (Alt+E is Replay).
void underlineMnemonic(QPushButton* b) {
    for (const Mnemonic& m : Mnemonics) {
        if (b->objectName() != QLatin1String(m.button))
            continue;
        QString caption = b->text();
        const qsizetype at = caption.indexOf(m.key, 0, Qt::CaseInsensitive);
        if (at >= 0) {
            caption.insert(at, QLatin1Char('&'));
            b->setText(caption);
            b->setShortcut(QKeySequence());
        }
        return;
    }
}

// The pages on the board's dark ground, the tabs as its lit headings.
QString panelStyle() {
    const Racecourse& c = racecourse();
    return racecourseStyle(QStringLiteral("QTabWidget#tabBets")) +
           QStringLiteral(
               "QTabWidget#tabBets::pane { background-color: %1; border: 2px solid %2;"
               " border-radius: 4px; }"
               "QTabWidget#tabBets QTabBar::tab { background-color: %3; color: %4; padding: 5px 12px;"
               " border: 1px solid %2; border-bottom: none; margin-right: 2px; }"
               "QTabWidget#tabBets QTabBar::tab:selected { background-color: %1; color: %5;"
               " font-weight: bold; }"
               "QTabWidget#tabBets QTabBar::tab:disabled { color: %6; }")
               .arg(c.board.name(), c.rule.name(), c.raised.name(), c.chalk.name(), c.amber.name(),
                    c.muted.name());
}

// A picked horse stays in its colours, lit, rather than fading as an unusable button does.
QString pickedStyle(int post) {
    return QStringLiteral("QPushButton[picked=\"true\"]:disabled { background-color: %1; color: %2;"
                          " border: 3px solid %3; }")
        .arg(HorseArt::clothColour(post).name(), HorseArt::numberColour(post).name(),
             racecourse().amber.name());
}

void setPicked(QPushButton* b, bool picked) {
    if (b->property("picked").toBool() == picked)
        return;
    b->setProperty("picked", picked);
    b->style()->unpolish(b);
    b->style()->polish(b);
}

} // namespace

BetEntryWidget::BetEntryWidget(Game& game, QWidget* parent) : QTabWidget(parent), m_game(game) {
    setObjectName(QStringLiteral("tabBets"));
    setAccessibleName(qs(_(BetEntryName)));
    addTab(buildAmountPage(), qs(_("Choose &Amount")));
    addTab(buildBetPage(), qs(_("Choose &Bet")));
    addTab(buildHorsesPage(), qs(_("Choose Ho&rses")));
    setStyleSheet(panelStyle());
    keepDesignFonts(this);
    connect(this, &QTabWidget::currentChanged, this, &BetEntryWidget::pageChosen);
    refresh();
}

QPushButton* BetEntryWidget::button(const QString& name, const QString& caption, const QString& tooltip,
                                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tooltip);
    b->setAutoDefault(false);
    b->setMinimumHeight(28);
    underlineMnemonic(b);
    return b;
}

template <typename Step> void BetEntryWidget::act(Step step) {
    const QPointer<QWidget> focused = window()->focusWidget();
    const bool ours = focused && isAncestorOf(focused);
    const int pageBefore = currentIndex();
    step();
    emit changed();
    if (ours)
        keepFocus(focused, pageBefore);
}

QWidget* BetEntryWidget::forwardControl() const {
    std::vector<QWidget*> candidates;
    switch (currentIndex()) {
    case AmountPage:
        candidates = {m_cmdNext1, m_cmdAdd};
        break;
    case BetPage:
        candidates = {m_cmdNext2};
        candidates.insert(candidates.end(), m_betButtons.begin(), m_betButtons.end());
        break;
    default:
        candidates = {m_cmdFinish, m_cmdWith};
        candidates.insert(candidates.end(), m_cmdHorse.begin(), m_cmdHorse.end());
        candidates.push_back(m_cmdAll);
        break;
    }
    for (QWidget* w : candidates)
        if (w->isEnabled())
            return w;
    return currentWidget();
}

void BetEntryWidget::takeFocus() {
    forwardControl()->setFocus(Qt::OtherFocusReason);
}

void BetEntryWidget::keepFocus(QWidget* previous, int pageBefore) {
    // The whole panel is off while a race runs: the keyboard has nowhere to stay.
    if (!isEnabled())
        return;
    QWidget* page = currentWidget();
    auto usable = [page](const QWidget* w) {
        return page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(page) &&
               (w->focusPolicy() & Qt::TabFocus);
    };
    if (currentIndex() != pageBefore || !previous) {
        takeFocus();
        return;
    }
    if (previous == tabBar() || usable(previous)) {
        previous->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The next usable control after the one that went out of use, in the keyboard's order.
    for (QWidget* w = previous->nextInFocusChain(); w && w != previous; w = w->nextInFocusChain()) {
        if (usable(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    takeFocus();
}

QPushButton* BetEntryWidget::buttonForKey(const QKeyEvent& event) const {
    if (event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return nullptr;
    const int page = currentIndex();
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return page == AmountPage ? m_cmdNext1 : page == BetPage ? m_cmdNext2 : m_cmdFinish;
    case Qt::Key_Backspace:
        return page == HorsesPage ? m_cmdBack : nullptr;
    default:
        break;
    }
    if (event.key() >= Qt::Key_1 && event.key() <= Qt::Key_8) {
        const auto digit = static_cast<std::size_t>(event.key() - Qt::Key_1);
        if (page == HorsesPage)
            return m_cmdHorse[digit];
        if (page == AmountPage)
            return m_cmdAmount[digit];
    }
    if (event.text().size() != 1)
        return nullptr;
    const QChar key = event.text().at(0).toUpper();
    for (const Mnemonic& m : Mnemonics)
        if (m.key == key)
            if (auto* b = currentWidget()->findChild<QPushButton*>(QLatin1String(m.button)))
                return b;
    return nullptr;
}

void BetEntryWidget::keyPressEvent(QKeyEvent* event) {
    if (QPushButton* b = buttonForKey(*event)) {
        b->click();
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

QWidget* BetEntryWidget::buildAmountPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setVerticalSpacing(8);

    auto* bettorLabel = label(QStringLiteral("Label7"), qs(_("Select Player:")), page);
    m_cmbBettor = new QComboBox(page);
    m_cmbBettor->setObjectName(QStringLiteral("cmbBettor"));
    m_cmbBettor->setToolTip(qs(_("Select player that will place a bet")));
    m_cmbBettor->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmbBettor->setMinimumContentsLength(10);
    bettorLabel->setBuddy(m_cmbBettor);
    m_cmdAdd = button(QStringLiteral("cmdAdd"), qs(_("Add")), qs(_("Add player(s)")), page);
    m_cmdDelPlayer =
        button(QStringLiteral("cmdDelPlayer"), qs(_("Delete")), qs(_("Delete chosen player")), page);
    auto* players = new QHBoxLayout;
    players->addWidget(m_cmbBettor, 1);
    players->addWidget(m_cmdAdd);
    players->addWidget(m_cmdDelPlayer);
    grid->addWidget(bettorLabel, 0, 0);
    grid->addLayout(players, 0, 1);

    grid->addWidget(label(QStringLiteral("lblCurBal"), qs(_("Current Balance:")), page), 1, 0);
    m_lblBalance = valueLabel(QStringLiteral("lblBalance"), page);
    m_lblBalance->setProperty("role", "money");
    grid->addWidget(m_lblBalance, 1, 1);

    auto* presets = new QGridLayout;
    presets->setSpacing(6);
    for (int i = 0; i < static_cast<int>(amountPresets().size()); ++i) {
        const AmountPreset& preset = amountPresets()[static_cast<std::size_t>(i)];
        const QString tooltip = i == AllAmountPreset
                                    ? qs(_(AllAmountTooltip))
                                    : qs(_("%1 per bet (key %2)")).arg(qs(_(preset.caption))).arg(i + 1);
        // The whole balance is "All" of the money, which other languages tell from all the horses.
        const QString caption = qs(i == AllAmountPreset ? C_("amount", "All") : _(preset.caption));
        QPushButton* b = button(QStringLiteral("cmdAmount%1").arg(i), caption, tooltip, page);
        m_cmdAmount[static_cast<std::size_t>(i)] = b;
        presets->addWidget(b, i / 4, i % 4);
        connect(b, &QPushButton::clicked, this,
                [this, i] { act([&] { m_game.press(Action::AmountPreset, i); }); });
    }
    m_cmdAmount[AllAmountPreset]->installEventFilter(this);
    grid->addLayout(presets, 2, 0, 1, 2);

    auto* amountLabel = label(QStringLiteral("lblAmount"), qs(_("Amount per bet:")), page);
    m_udAmount = new QSpinBox(page);
    m_udAmount->setObjectName(QStringLiteral("udAmount"));
    m_udAmount->setRange(0, MaxBetAmount);
    m_udAmount->setSingleStep(1);
    m_udAmount->setToolTip(qs(_(AmountSpinTooltip)));
    amountLabel->setBuddy(m_udAmount);
    m_lblBetAmount = valueLabel(QStringLiteral("lblBetAmount"), page, 1.5);
    m_lblBetAmount->setProperty("role", "money");
    auto* amount = new QHBoxLayout;
    amount->addWidget(label(QStringLiteral("lblDollar"), QStringLiteral("$"), page));
    amount->addWidget(m_lblBetAmount);
    amount->addSpacing(16);
    amount->addWidget(m_udAmount);
    amount->addStretch(1);
    grid->addWidget(amountLabel, 3, 0);
    grid->addLayout(amount, 3, 1);

    // Until someone is listed nothing can be bet: say what to do first, where the player looks.
    m_lblFirstStep = label(QStringLiteral("lblFirstStep"), QString(), page);
    m_lblFirstStep->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblFirstStep->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(m_lblFirstStep, 4, 0, 1, 2);
    grid->setRowStretch(4, 1);
    m_cmdNext1 =
        button(QStringLiteral("cmdNext1"), qs(_("Next ->")), qs(_("Go to Choose Bet options")), page);
    // Arrows are read as punctuation: a screen reader says where the button goes.
    m_cmdNext1->setAccessibleName(qs(_(NextToBetName)));
    grid->addWidget(m_cmdNext1, 5, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(m_cmbBettor, &QComboBox::activated, this,
            [this](int index) { act([&] { m_game.selectPlayer(index); }); });
    connect(m_cmdAdd, &QPushButton::clicked, this, &BetEntryWidget::addPlayerRequested);
    connect(m_cmdDelPlayer, &QPushButton::clicked, this, [this] {
        askFirst(m_game, Action::DeletePlayer, this,
                 [this](Answer answer) { act([&] { m_game.deletePlayer(answer); }); });
    });
    connect(m_udAmount, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refreshing)
            act([&] { m_game.press(Action::AmountSpin, value); });
    });
    connect(m_cmdNext1, &QPushButton::clicked, this,
            [this] { act([&] { m_game.press(Action::NextToBet); }); });
    return page;
}

QWidget* BetEntryWidget::buildBetPage() {
    auto* page = new QWidget(this);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    auto* bets = new QGridLayout;
    bets->setSpacing(6);
    constexpr int Columns = 4;
    for (int i = 0; i < BetTypeCount; ++i) {
        const BetButton& bet = betButtons()[static_cast<std::size_t>(i)];
        // TRANSLATORS: the button's caption, where a long name leaves the other bets no room.
        const std::string caption =
            bet.type == BetType::WPS ? C_("button", "Across The Board") : _(bet.caption);
        QPushButton* b = button(qs(bet.button), qs(caption), qs(_(bet.tooltip)), page);
        // The chosen bet stays pressed, so the page shows what the ticket will be.
        b->setCheckable(true);
        b->setAccessibleName(qs(betButtonName(bet.type)));
        m_betButtons[static_cast<std::size_t>(i)] = b;
        bets->addWidget(b, i / Columns, i % Columns);
        const BetType type = bet.type;
        connect(b, &QPushButton::clicked, this,
                [this, type] { act([&] { m_game.press(Action::ChooseBet, static_cast<int>(type)); }); });
    }
    outer->addLayout(bets);

    auto* modes = new QHBoxLayout;
    modes->setSpacing(6);
    for (int i = 0; i < 3; ++i) {
        const ModeButton& mode = modeButtons()[static_cast<std::size_t>(i)];
        QPushButton* b = button(qs(mode.button), qs(_(mode.caption)), qs(_(mode.tooltip)), page);
        b->setCheckable(true);
        b->setAccessibleName(qs(modeButtonName(mode.mode)));
        m_modeButtons[static_cast<std::size_t>(i)] = b;
        modes->addWidget(b);
        const BetMode m = mode.mode;
        connect(b, &QPushButton::clicked, this,
                [this, m] { act([&] { m_game.press(Action::ChooseMode, static_cast<int>(m)); }); });
    }
    outer->addLayout(modes);

    auto* chosen = new QHBoxLayout;
    chosen->addWidget(label(QStringLiteral("lblBetChosen"), qs(_("Bet:")), page));
    m_lblBetName = valueLabel(QStringLiteral("lblBetName"), page);
    m_lblBetKind = valueLabel(QStringLiteral("lblBetKind"), page);
    chosen->addWidget(m_lblBetName);
    chosen->addWidget(m_lblBetKind);
    chosen->addStretch(1);
    outer->addLayout(chosen);
    outer->addStretch(1);

    auto* commands = new QHBoxLayout;
    m_cmdCancelBet =
        button(QStringLiteral("cmdCancelBet"), qs(_("Cancel Bet")), qs(_("Cancel all selections")), page);
    m_cmdNext2 =
        button(QStringLiteral("cmdNext2"), qs(_("Next ->")), qs(_("Go to Choose Horses options")), page);
    m_cmdNext2->setAccessibleName(qs(_(NextToHorsesName)));
    commands->addWidget(m_cmdCancelBet);
    commands->addStretch(1);
    commands->addWidget(m_cmdNext2);
    outer->addLayout(commands);

    connect(m_cmdCancelBet, &QPushButton::clicked, this,
            [this] { act([&] { m_game.press(Action::CancelBet); }); });
    connect(m_cmdNext2, &QPushButton::clicked, this,
            [this] { act([&] { m_game.press(Action::NextToHorses); }); });
    return page;
}

QWidget* BetEntryWidget::buildHorsesPage() {
    auto* page = new QWidget(this);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    // Two lines whatever the instruction, so the horses do not jump when a long one wraps.
    m_lblInstruct = new LinesLabel(2, page);
    m_lblInstruct->setObjectName(QStringLiteral("lblInstruct"));
    m_lblInstruct->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont instructFont = m_lblInstruct->font();
    instructFont.setBold(true);
    setDesignFont(m_lblInstruct, instructFont);
    outer->addWidget(m_lblInstruct);

    // Each horse with, under it, what its pick is for: 1st, 2nd.., the leg, the box.
    auto* horses = new QGridLayout;
    horses->setHorizontalSpacing(5);
    horses->setVerticalSpacing(1);
    for (int h = 0; h < FieldSize; ++h) {
        QPushButton* b = button(QStringLiteral("cmdHorse%1").arg(h), QString::number(h + 1), QString(), page);
        b->setStyleSheet(postColourStyle(h + 1, QStringLiteral("QPushButton")) + pickedStyle(h + 1));
        b->setMinimumSize(34, 34);
        QFont font = b->font();
        font.setPointSizeF(font.pointSizeF() * 1.3);
        setDesignFont(b, font);
        m_cmdHorse[static_cast<std::size_t>(h)] = b;
        horses->addWidget(b, 0, h);
        auto* mark = new LinesLabel(1, page);
        mark->setObjectName(QStringLiteral("lblMark%1").arg(h));
        mark->setAlignment(Qt::AlignCenter);
        mark->setProperty("role", "money");
        QFont markFont = mark->font();
        markFont.setBold(true);
        setDesignFont(mark, markFont);
        m_lblMark[static_cast<std::size_t>(h)] = mark;
        horses->addWidget(mark, 1, h);
        connect(b, &QPushButton::clicked, this,
                [this, h] { act([&] { m_game.press(Action::PickHorse, h); }); });
    }
    m_cmdAll = button(QStringLiteral("cmdAll"), qs(C_("horses", "All")), qs(_("Choose all horses")), page);
    m_cmdAll->setMinimumHeight(34);
    horses->setColumnMinimumWidth(FieldSize, 6);
    horses->addWidget(m_cmdAll, 0, FieldSize + 1);
    outer->addLayout(horses);

    auto* middle = new QHBoxLayout;
    m_lstLegs = new QListWidget(page);
    m_lstLegs->setObjectName(QStringLiteral("lstLegs"));
    m_lstLegs->setFocusPolicy(Qt::NoFocus);
    m_lstLegs->setSelectionMode(QAbstractItemView::NoSelection);
    m_lstLegs->setMaximumWidth(150);
    m_lstLegs->setToolTip(qs(_("The ticket so far")));
    middle->addWidget(m_lstLegs);
    auto* picks = new QVBoxLayout;
    picks->addWidget(label(QStringLiteral("lblPicksCaption"), qs(_("Picks:")), page));
    m_lblPicks = valueLabel(QStringLiteral("lblPicks"), page, 2.0);
    picks->addWidget(m_lblPicks);
    picks->addStretch(1);
    middle->addLayout(picks, 1);
    outer->addLayout(middle, 1);

    auto* commands = new QHBoxLayout;
    m_cmdBack =
        button(QStringLiteral("cmdBack"), qs(_("<--  Clr Pick")), qs(_("Delete last choice taken")), page);
    m_cmdClear = button(QStringLiteral("cmdClear"), qs(_("Clear Bet")), qs(_("Clear all bet choices")), page);
    m_cmdWith =
        button(QStringLiteral("cmdWith"), qs(_("With")), qs(_("Click to make next set of selections")), page);
    m_cmdFinish = button(QStringLiteral("cmdFinish"), qs(C_("button", "Finish")),
                         qs(_("Click to place bet on ticket list")), page);
    m_cmdBack->setAccessibleName(qs(_(ClearPickName)));
    commands->addWidget(m_cmdBack);
    commands->addWidget(m_cmdClear);
    commands->addStretch(1);
    commands->addWidget(m_cmdWith);
    commands->addWidget(m_cmdFinish);
    outer->addLayout(commands);

    connect(m_cmdAll, &QPushButton::clicked, this, [this] { act([&] { m_game.press(Action::PickAll); }); });
    connect(m_cmdWith, &QPushButton::clicked, this, [this] { act([&] { m_game.press(Action::With); }); });
    connect(m_cmdFinish, &QPushButton::clicked, this, [this] { act([&] { m_game.press(Action::Finish); }); });
    connect(m_cmdBack, &QPushButton::clicked, this,
            [this] { act([&] { m_game.press(Action::ClearPick); }); });
    connect(m_cmdClear, &QPushButton::clicked, this,
            [this] { act([&] { m_game.press(Action::ClearBet); }); });
    return page;
}

void BetEntryWidget::pageChosen(int page) {
    if (m_refreshing)
        return;
    // A tab click is the entry's page change; the entry may send the player back a page.
    act([&] { m_game.press(Action::ChangePage, page); });
}

void BetEntryWidget::refresh() {
    m_refreshing = true;
    const RaceDay& day = m_game.day();
    const BetEntry& entry = m_game.betEntry();
    {
        const QSignalBlocker block(this);
        setCurrentIndex(entry.page());
    }
    setToolTip(qs(_(pageTooltip(entry.page()))));

    {
        const QSignalBlocker block(m_cmbBettor);
        m_cmbBettor->clear();
        for (const PlayerEntry& player : day.players.entries)
            m_cmbBettor->addItem(QString::fromStdString(player.name));
        m_cmbBettor->setCurrentIndex(day.players.selected);
    }
    const std::string& balance = day.players.balanceLabel;
    const std::optional<Cents> cents = parseCents(balance);
    m_lblBalance->setText(balance.empty() || !cents ? qs(balance) : qs(shownMoney(*cents)));
    showAvailability(m_cmdAdd, m_game.availability(Action::AddPlayer));
    showAvailability(m_cmdDelPlayer, m_game.availability(Action::DeletePlayer));
    showAvailability(m_cmdNext1, m_game.availability(Action::NextToBet));
    m_lblFirstStep->setText(qs(_(BetEntry::firstStep(day))));
    m_lblFirstStep->setVisible(!m_lblFirstStep->text().isEmpty());
    if (m_lblFirstStep->isVisibleTo(this))
        m_cmdAdd->setFocus();
    {
        const QSignalBlocker block(m_udAmount);
        m_udAmount->setValue(entry.amountSpin());
    }
    m_lblBetAmount->setText(QString::fromStdString(entry.betAmount()));

    for (int i = 0; i < BetTypeCount; ++i) {
        const BetType type = betButtons()[static_cast<std::size_t>(i)].type;
        QPushButton* b = m_betButtons[static_cast<std::size_t>(i)];
        showAvailability(b, m_game.availability(Action::ChooseBet, static_cast<int>(type)));
        b->setChecked(entry.betNameLabel() == betWord(type));
    }
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = m_modeButtons[static_cast<std::size_t>(i)];
        const BetMode mode = modeButtons()[static_cast<std::size_t>(i)].mode;
        showAvailability(b, m_game.availability(Action::ChooseMode, static_cast<int>(mode)));
        b->setChecked(entry.betKindLabel() == modeWord(mode));
    }
    showAvailability(m_cmdNext2, m_game.availability(Action::NextToHorses));
    showAvailability(m_cmdCancelBet, m_game.availability(Action::CancelBet));
    m_lblBetName->setText(qs(_(entry.betNameLabel())));
    m_lblBetKind->setText(qs(_(entry.betKindLabel())));

    for (int h = 0; h < FieldSize; ++h) {
        const auto i = static_cast<std::size_t>(h);
        showAvailability(m_cmdHorse[i], m_game.availability(Action::PickHorse, h));
        const std::string mark = entry.pickMark(h);
        m_lblMark[i]->setText(qs(_(mark)));
        setPicked(m_cmdHorse[i], !mark.empty());
        // A caption of one digit says nothing to a screen reader: the post, the horse, the odds,
        // and what its pick is for.
        m_cmdHorse[i]->setAccessibleName(qs(entry.horseButtonName(day, h)));
        m_cmdHorse[i]->setAccessibleDescription(QString::fromStdString(mark));
    }
    showAvailability(m_cmdAll, m_game.availability(Action::PickAll));
    showAvailability(m_cmdWith, m_game.availability(Action::With));
    showAvailability(m_cmdFinish, m_game.availability(Action::Finish));
    showAvailability(m_cmdBack, m_game.availability(Action::ClearPick));
    showAvailability(m_cmdClear, m_game.availability(Action::ClearBet));
    for (std::size_t i = 0; i < m_cmdAmount.size(); ++i)
        showAvailability(m_cmdAmount[i], m_game.availability(Action::AmountPreset, static_cast<int>(i)));
    showAvailability(m_udAmount, m_game.availability(Action::AmountSpin));
    m_lblInstruct->setText(qs(_(entry.instruction())));
    m_lblPicks->setText(QString::fromStdString(entry.picks()));
    m_lstLegs->clear();
    for (const std::string& leg : entry.legs())
        m_lstLegs->addItem(qs(_(leg)));
    m_refreshing = false;
}

bool BetEntryWidget::eventFilter(QObject* watched, QEvent* event) {
    // Pointing at "All" tells what "All" would bet: the balance as it stands.
    if (watched == m_cmdAmount[AllAmountPreset] && event->type() == QEvent::Enter)
        m_cmdAmount[AllAmountPreset]->setToolTip(qs(allAmountPointerTooltip(m_game.day())));
    return QTabWidget::eventFilter(watched, event);
}

} // namespace sw::ui
