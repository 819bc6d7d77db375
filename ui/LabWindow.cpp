#include "LabWindow.h"

#include "ChartAxes.h"
#include "LabBankrollChart.h"
#include "LabHistogram.h"
#include "ScreenFit.h"
#include "ToQString.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"
#include "game/Game.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include <functional>
#include <limits>

namespace sw::ui {

namespace {

constexpr int DefaultDays = 100;
constexpr int MaxDays = 10000;
constexpr int MaxStakeDollars = 1000;
constexpr int MaxSharePercent = 100;
constexpr int DefaultShare = 2;

// Strategy A in the board's amber, B in a blue that reads beside it on the dark panel.
const QColor ColumnColours[] = {QColor(0xff, 0xb3, 0x00), QColor(0x4f, 0xc3, 0xf7)};

const char* const LabStyle = R"(
QLabel { color: #cfd6de; background: transparent; }
QLabel[role="A"] { color: #ffb300; }
QLabel[role="B"] { color: #4fc3f7; }
QLabel[role="note"] { color: #8a949f; }
QLabel[role="error"] { color: #ff8a80; }
QLabel:disabled { color: #6b747e; }
QFrame#labPanel { background-color: #0b0f14; border: 2px solid #39414b; border-radius: 4px; }
QComboBox, QSpinBox, QLineEdit { background-color: #0b0f14; color: #e4e8ec; border: 1px solid #39414b;
                                 border-radius: 3px; padding: 3px 5px; selection-background-color: #ffb300;
                                 selection-color: #0b0f14; }
QComboBox:focus, QSpinBox:focus, QLineEdit:focus { border-color: #ffb300; }
QComboBox:disabled, QSpinBox:disabled, QLineEdit:disabled { color: #6b747e; background-color: #131a21; }
QComboBox QAbstractItemView { background-color: #0b0f14; color: #e4e8ec; border: 1px solid #39414b; }
QPushButton { background-color: #1c242d; color: #e4e8ec; border: 1px solid #39414b; border-radius: 3px;
              padding: 5px 14px; }
QPushButton:hover, QPushButton:focus { border-color: #ffb300; }
QPushButton:disabled { color: #6b747e; background-color: #131a21; }
QPushButton#cmdLabRun:enabled { background-color: #ffb300; color: #0b0f14; border-color: #ffb300; }
QProgressBar { background-color: #0b0f14; color: #e4e8ec; border: 1px solid #39414b; border-radius: 3px;
               text-align: center; min-height: 18px; }
QProgressBar::chunk { background-color: #2e7d32; border-radius: 2px; }
)";

const char* const OwnRule = N_("A rule of my own");
const char* const RuleTip = N_("BET [when CONDITION [and CONDITION]...]\n"
                               "BET: win, place or show, one ticket on every horse the conditions hold for\n"
                               "CONDITION: FIELD OP NUMBER, OP one of > >= < <= =\n"
                               "FIELD: odds, rank (1 = the favourite), post, chance, top3,\n"
                               "value (chance x (odds + 1))");

// The racecourse at night: dark panels and light type, whatever the desktop's theme.
QPalette labPalette(QPalette palette) {
    const QColor window(0x10, 0x16, 0x1d), base(0x0b, 0x0f, 0x14), button(0x1c, 0x24, 0x2d);
    const QColor ink(0xe4, 0xe8, 0xec), dim(0x6b, 0x74, 0x7e);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, ink);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, button);
    palette.setColor(QPalette::Text, ink);
    palette.setColor(QPalette::PlaceholderText, dim);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, ink);
    palette.setColor(QPalette::Highlight, ColumnColours[0]);
    palette.setColor(QPalette::HighlightedText, base);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, ink);
    palette.setColor(QPalette::Light, QColor(0x39, 0x41, 0x4b));
    palette.setColor(QPalette::Mid, QColor(0x2a, 0x31, 0x39));
    palette.setColor(QPalette::Dark, base);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dim);
    return palette;
}

QString percentText(double share) {
    return QString::number(share * 100.0, 'f', 1) + u'%';
}

QString moneyText(Cents cents) {
    return toQString(shownMoney(cents));
}

QString signedMoneyText(Cents cents) {
    return (cents > 0 ? QStringLiteral("+") : QString()) + moneyText(cents);
}

// The rows of the results, each figure straight from the run's summary.
struct Row {
    const char* name; // lbl<name>A, lbl<name>B
    const char* caption;
    std::function<QString(const LabSummary&)> text;
};

const std::vector<Row>& rows() {
    static const std::vector<Row> all = {
        {"Days", N_("Days played"), [](const LabSummary& s) { return QString::number(s.days); }},
        {"Tickets", N_("Tickets bought"), [](const LabSummary& s) { return QString::number(s.tickets); }},
        {"Staked", N_("Money staked"), [](const LabSummary& s) { return moneyText(s.staked); }},
        {"Returned", N_("Money returned"), [](const LabSummary& s) { return moneyText(s.returned); }},
        {"Return", N_("Return on money staked"),
         [](const LabSummary& s) { return percentText(s.returnRate); }},
        {"ReturnBand", N_("its 95 % band"),
         [](const LabSummary& s) {
             return QString::number(s.returnBand.low * 100.0, 'f', 1) + u'-' + percentText(s.returnBand.high);
         }},
        {"HitRate", N_("Hit rate"), [](const LabSummary& s) { return percentText(s.hitRate); }},
        {"BiggestWin", N_("Biggest win"), [](const LabSummary& s) { return moneyText(s.biggestWin); }},
        {"LosingRun", N_("Worst losing run"),
         [](const LabSummary& s) {
             return toQString(
                 fillIn(_n("{0} race", "{0} races", static_cast<unsigned long>(s.worstLosingRun)),
                        s.worstLosingRun));
         }},
        {"Takeout", N_("Takeout paid (25 %)"), [](const LabSummary& s) { return moneyText(s.takeout); }},
        {"Breakage", N_("Breakage paid"), [](const LabSummary& s) { return moneyText(s.breakage); }},
        {"BestDay", N_("Best day"), [](const LabSummary& s) { return signedMoneyText(s.bestDay); }},
        {"WorstDay", N_("Worst day"), [](const LabSummary& s) { return signedMoneyText(s.worstDay); }},
    };
    return all;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void setRole(QLabel* label, const char* role) {
    if (label->property("role").toString() == QLatin1String(role))
        return;
    label->setProperty("role", role);
    label->style()->unpolish(label);
    label->style()->polish(label);
}

QString column(std::size_t i) {
    return i == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

} // namespace

LabWindow::LabWindow(const Game& game, QWidget* parent) : QWidget(parent, Qt::Window), m_game(game) {
    setObjectName(QStringLiteral("LabWindow"));
    setWindowTitle(toQString(_("Strategy Lab")));
    setPalette(labPalette(palette()));
    setAutoFillBackground(true);
    setStyleSheet(QString::fromLatin1(LabStyle));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);
    outer->addWidget(buildControls());
    auto* body = new QHBoxLayout;
    body->setSpacing(8);
    body->addWidget(buildResults());
    auto* charts = new QVBoxLayout;
    charts->setSpacing(8);
    m_bankroll = new LabBankrollChart(this);
    m_histogram = new LabHistogram(this);
    charts->addWidget(m_bankroll, 1);
    charts->addWidget(m_histogram, 1);
    body->addLayout(charts, 1);
    outer->addLayout(body, 1);

    connect(m_cmdRun, &QPushButton::clicked, this, &LabWindow::run);
    connect(m_cmdCancel, &QPushButton::clicked, this, &LabWindow::cancel);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    refreshControls();
    fitToScreen(this, QSize(1280, 760));
}

LabWindow::~LabWindow() {
    // The worker writes into this window's members: it stops before any of them goes.
    if (m_work.joinable()) {
        m_work.request_stop();
        m_work.join();
    }
}

QWidget* LabWindow::buildControls() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        addStrategyChoice(c, i == 1);
        const int row = static_cast<int>(i) * 2;
        grid->addWidget(caption(toQString(_("Strategy &")) + column(i), c.strategy, box), row, 0);
        grid->addWidget(c.strategy, row, 1);
        grid->addWidget(c.rule, row, 2);
        grid->addWidget(c.ruleError, row + 1, 1, 1, 2);
    }

    m_spnDays = new QSpinBox(box);
    m_spnDays->setObjectName(QStringLiteral("spnDays"));
    m_spnDays->setRange(1, MaxDays);
    m_spnDays->setValue(DefaultDays);
    m_spnDays->setToolTip(toQString(_("How many whole days of the game to play")));
    m_spnSeed = new QSpinBox(box);
    m_spnSeed->setObjectName(QStringLiteral("spnSeed"));
    m_spnSeed->setRange(0, std::numeric_limits<int>::max());
    m_spnSeed->setValue(1);
    m_spnSeed->setToolTip(toQString(_("The same seed plays the same days again")));
    m_cboCrowd = new QComboBox(box);
    m_cboCrowd->setObjectName(QStringLiteral("cboCrowd"));
    m_cboCrowd->addItem(toQString(_("This track's crowd")), static_cast<int>(Crowd::Track));
    m_cboCrowd->addItem(toQString(_("A sharp crowd")), static_cast<int>(Crowd::Sharp));
    m_cboCrowd->setItemData(0, toQString(_("The public's money as the game makes it up")), Qt::ToolTipRole);
    m_cboCrowd->setItemData(
        1, toQString(_("A crowd that bets each horse in proportion to its simulated chance, with noise")),
        Qt::ToolTipRole);
    m_cboStake = new QComboBox(box);
    m_cboStake->setObjectName(QStringLiteral("cboStake"));
    m_cboStake->addItem(toQString(_("$ a combination")), static_cast<int>(StakeRule::Kind::Flat));
    // xgettext:no-c-format
    m_cboStake->addItem(toQString(_("% of the balance a ticket")), static_cast<int>(StakeRule::Kind::Share));
    m_spnStake = new QSpinBox(box);
    m_spnStake->setObjectName(QStringLiteral("spnStake"));
    m_spnStake->setRange(1, MaxStakeDollars);
    m_spnStake->setValue(StakeRule{}.dollars);
    connect(m_cboStake, &QComboBox::currentIndexChanged, this, [this] {
        const bool share = m_cboStake->currentData().toInt() == static_cast<int>(StakeRule::Kind::Share);
        m_spnStake->setRange(1, share ? MaxSharePercent : MaxStakeDollars);
        m_spnStake->setValue(share ? DefaultShare : StakeRule{}.dollars);
        m_spnStake->setPrefix(share ? QString() : QStringLiteral("$"));
        m_spnStake->setSuffix(share ? QStringLiteral(" %") : QString());
    });
    m_spnStake->setPrefix(QStringLiteral("$"));
    auto* stake = new QHBoxLayout;
    stake->setSpacing(4);
    stake->addWidget(m_spnStake);
    stake->addWidget(m_cboStake, 1);

    grid->addWidget(caption(toQString(_("&Days")), m_spnDays, box), 0, 3);
    grid->addWidget(m_spnDays, 0, 4);
    grid->addWidget(caption(toQString(_("S&eed")), m_spnSeed, box), 2, 3);
    grid->addWidget(m_spnSeed, 2, 4);
    grid->addWidget(caption(toQString(_("Cr&owd")), m_cboCrowd, box), 0, 5);
    grid->addWidget(m_cboCrowd, 0, 6);
    grid->addWidget(caption(toQString(_("S&take")), m_spnStake, box), 2, 5);
    grid->addLayout(stake, 2, 6);

    m_cmdRun = new QPushButton(toQString(_("&Run")), box);
    m_cmdRun->setObjectName(QStringLiteral("cmdLabRun"));
    m_cmdCancel = new QPushButton(toQString(_("&Cancel")), box);
    m_cmdCancel->setObjectName(QStringLiteral("cmdLabCancel"));
    m_cmdCancel->setToolTip(toQString(_("Stop after the days under way")));
    QFont bold = m_cmdRun->font();
    bold.setBold(true);
    m_cmdRun->setFont(bold);
    for (QPushButton* b : {m_cmdRun, m_cmdCancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }
    grid->addWidget(m_cmdRun, 0, 7);
    grid->addWidget(m_cmdCancel, 2, 7);

    m_bar = new QProgressBar(box);
    m_bar->setObjectName(QStringLiteral("barLabProgress"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setFormat(toQString(_("%v of %m days")));
    m_lblStatus = new QLabel(box);
    m_lblStatus->setObjectName(QStringLiteral("lblLabStatus"));
    m_lblStatus->setProperty("role", "note");
    m_lblStatus->setText(
        toQString(_("Each lab day is a whole day of the game, played in memory on a copy of the "
                    "stable: your files and players are never touched.")));
    grid->addWidget(m_bar, 4, 0, 1, 8);
    grid->addWidget(m_lblStatus, 5, 0, 1, 8);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 220);
    return box;
}

void LabWindow::addStrategyChoice(Column& c, bool optional) {
    const QString side = optional ? QStringLiteral("B") : QStringLiteral("A");
    c.strategy = new QComboBox(this);
    c.strategy->setObjectName(QStringLiteral("cboStrategy") + side);
    if (optional) {
        c.strategy->addItem(toQString(_("None")));
        c.strategy->setItemData(0, toQString(_("Strategy A alone")), Qt::ToolTipRole);
    }
    for (const Strategy& s : labStrategies()) {
        c.strategy->addItem(toQString(s.name), toQString(s.name));
        c.strategy->setItemData(c.strategy->count() - 1,
                                toQString(_(s.description)) +
                                    (s.needsChances ? toQString(_(" (uses the chances)")) : QString()),
                                Qt::ToolTipRole);
    }
    c.strategy->addItem(toQString(_(OwnRule)));
    c.strategy->setItemData(c.strategy->count() - 1, toQString(_(RuleTip)), Qt::ToolTipRole);
    if (optional)
        c.strategy->setCurrentIndex(c.strategy->findData(QStringLiteral("post1-win")));

    c.rule = new QLineEdit(this);
    c.rule->setObjectName(QStringLiteral("txtRule") + side);
    c.rule->setPlaceholderText(toQString(_("e.g. win when value > 1.2 and odds >= 5")));
    c.rule->setToolTip(toQString(_(RuleTip)));
    c.ruleError = new QLabel(this);
    c.ruleError->setObjectName(QStringLiteral("lblRuleError") + side);
    c.ruleError->setProperty("role", "note");
    connect(c.strategy, &QComboBox::currentIndexChanged, this, &LabWindow::refreshControls);
    connect(c.rule, &QLineEdit::textChanged, this, &LabWindow::refreshControls);
    connect(c.rule, &QLineEdit::returnPressed, this, [this] {
        if (m_cmdRun->isEnabled())
            run();
    });
}

std::optional<Strategy> LabWindow::chosen(const Column& c, std::string* error) const {
    error->clear();
    const QVariant name = c.strategy->currentData();
    if (name.isValid())
        return findStrategy(name.toString().toStdString(), error);
    if (c.strategy->currentText() != toQString(_(OwnRule)))
        return std::nullopt; // None
    return findStrategy(c.rule->text().simplified().toStdString(), error);
}

void LabWindow::refreshControls() {
    const bool busy = running();
    QString whyNot;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        std::string error;
        const std::optional<Strategy> strategy = chosen(c, &error);
        const bool ownRule = c.strategy->currentText() == toQString(_(OwnRule));
        c.strategy->setToolTip(c.strategy->currentData(Qt::ToolTipRole).toString());
        c.rule->setEnabled(ownRule && !busy);
        c.strategy->setEnabled(!busy);
        if (!error.empty()) {
            c.ruleError->setText(toQString(error));
            if (whyNot.isEmpty())
                whyNot = toQString(_("Strategy ")) + column(i) + QStringLiteral(": ") + toQString(error);
        } else {
            c.ruleError->setText(strategy ? toQString(_(strategy->description)) : QString());
        }
        setRole(c.ruleError, error.empty() ? "note" : "error");
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_spnDays, m_spnSeed, m_cboCrowd, m_cboStake, m_spnStake})
        w->setEnabled(!busy);
    m_cmdRun->setEnabled(!busy && whyNot.isEmpty());
    m_cmdRun->setToolTip(whyNot.isEmpty() ? toQString(_("Play the days")) : whyNot);
    m_cmdCancel->setEnabled(busy && !m_work.get_stop_token().stop_requested());
}

QWidget* LabWindow::buildResults() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("labPanel"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(14, 10, 14, 10);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(5);
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setBold(true);
    digits.setPointSizeF(digits.pointSizeF() + 1);
    QFont heading = font();
    heading.setBold(true);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        c.heading = new QLabel(panel);
        c.heading->setObjectName(QStringLiteral("lblStrategy") + column(i));
        c.heading->setProperty("role", i == 0 ? "A" : "B");
        c.heading->setFont(heading);
        c.heading->setWordWrap(true);
        c.heading->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        c.heading->setMinimumWidth(150);
        grid->addWidget(c.heading, 0, static_cast<int>(i) + 1);
    }
    int row = 1;
    for (const Row& r : rows()) {
        auto* label = new QLabel(toQString(_(r.caption)), panel);
        if (QLatin1String(r.name) == QLatin1String("ReturnBand"))
            label->setIndent(12);
        grid->addWidget(label, row, 0);
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            auto* figure = new QLabel(panel);
            figure->setObjectName(QStringLiteral("lbl") + QLatin1String(r.name) + column(i));
            figure->setProperty("role", i == 0 ? "A" : "B");
            figure->setFont(digits);
            figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(figure, row, static_cast<int>(i) + 1);
            m_columns[i].figures.push_back(figure);
        }
        ++row;
    }
    auto* note = new QLabel(toQString(_("The band: where the return would lie in 95 runs of 100 of as many "
                                        "days. Trust a rule when its band stays above 100%.")),
                            panel);
    note->setProperty("role", "note");
    note->setWordWrap(true);
    grid->addWidget(note, row, 0, 1, 3);
    grid->setRowStretch(row, 1);
    note->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return panel;
}

void LabWindow::run() {
    if (running())
        return;
    std::vector<Strategy> strategies;
    for (const Column& c : m_columns) {
        std::string error;
        std::optional<Strategy> s = chosen(c, &error);
        if (!error.empty())
            return;
        if (s)
            strategies.push_back(std::move(*s));
    }
    LabSetup setup;
    setup.stable = labStableOf(m_game.day().folder);
    if (strategies.empty() || !setup.stable.contains("horses.dat")) {
        m_lblStatus->setText(
            toQString(_("The data folder has no stable (horses.dat) to try strategies on.")));
        return;
    }
    setup.seed = static_cast<uint64_t>(m_spnSeed->value());
    setup.crowd = static_cast<Crowd>(m_cboCrowd->currentData().toInt());
    if (m_cboStake->currentData().toInt() == static_cast<int>(StakeRule::Kind::Share)) {
        setup.stake.kind = StakeRule::Kind::Share;
        setup.stake.share = m_spnStake->value() / 100.0;
    } else {
        setup.stake.dollars = m_spnStake->value();
    }
    setup.chances = m_chances;
    const int days = m_spnDays->value();

    m_outcome = Outcome{};
    m_outcome.strategies = std::move(strategies);
    m_outcome.days = days;
    m_outcome.bankroll = Cents{setup.bankroll} * CentsPerDollar;
    m_outcome.setting =
        toQString(_("%1 days against %2, seed %3, %4 %5; each day starts with %6."))
            .arg(days)
            .arg(m_cboCrowd->currentText().toLower())
            .arg(setup.seed)
            .arg(m_spnStake->text(), m_cboStake->currentText().mid(2), moneyText(m_outcome.bankroll));
    m_bar->setRange(0, days * static_cast<int>(m_outcome.strategies.size()));
    m_bar->setValue(0);
    m_lblStatus->setText(toQString(_("Playing ")) + m_outcome.setting);
    m_work = std::jthread([this, setup = std::move(setup), days](std::stop_token stop) {
        LabOptions options;
        options.stop = stop;
        // From the lab's threads to the window's, in the order they came.
        options.progress = [this](int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { progressed(done, total); }, Qt::QueuedConnection);
        };
        for (const LabRun& run : runLabs(setup, m_outcome.strategies, days, options)) {
            for (const LabDayResult& day : run.days)
                if (!day.error.empty() && m_outcome.error.empty())
                    m_outcome.error = day.error;
            m_outcome.cancelled = m_outcome.cancelled || run.cancelled;
            m_outcome.summaries.push_back(summarize(run, setup));
        }
        QMetaObject::invokeMethod(this, &LabWindow::runEnded, Qt::QueuedConnection);
    });
    refreshControls();
}

void LabWindow::cancel() {
    if (!running())
        return;
    m_work.request_stop();
    m_lblStatus->setText(toQString(_("Stopping after the days under way...")));
    refreshControls();
}

void LabWindow::progressed(int done, int total) {
    m_bar->setMaximum(total);
    m_bar->setValue(done);
}

void LabWindow::runEnded() {
    m_work.join();
    const Outcome outcome = std::move(m_outcome);
    m_outcome = Outcome{};
    if (m_closeWhenDone) {
        close();
        return;
    }
    showOutcome(outcome);
    refreshControls();
}

void LabWindow::showOutcome(const Outcome& outcome) {
    std::vector<LabHistogram::Series> days;
    std::vector<LabBankrollChart::Series> bankroll;
    const int played = outcome.summaries.empty() ? 0 : outcome.summaries.front().days;
    const bool shown = outcome.error.empty() && played > 0;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        const bool has = shown && i < outcome.summaries.size();
        c.heading->setText(has ? toQString(outcome.strategies[i].name) : QString());
        c.heading->setToolTip(has ? toQString(_(outcome.strategies[i].description)) : QString());
        for (std::size_t r = 0; r < rows().size(); ++r)
            c.figures[r]->setText(has ? rows()[r].text(outcome.summaries[i]) : QString());
        if (!has)
            continue;
        const LabSummary& s = outcome.summaries[i];
        days.push_back({toQString(outcome.strategies[i].name), ColumnColours[i], s.histogram});
        bankroll.push_back({toQString(outcome.strategies[i].name), ColumnColours[i], s.bankroll});
    }
    m_histogram->setSeries(std::move(days));
    m_bankroll->setSeries(std::move(bankroll), outcome.bankroll);
    if (!outcome.error.empty())
        m_lblStatus->setText(toQString(_("A lab day could not be played: ")) + toQString(outcome.error));
    else if (outcome.cancelled)
        m_lblStatus->setText(
            played > 0 ? toQString(_("Cancelled: the figures are those of the first %1 of %2 days."))
                             .arg(played)
                             .arg(outcome.days)
                       : toQString(_("Cancelled before a whole day was played.")));
    else
        m_lblStatus->setText(outcome.setting);
}

void LabWindow::closeEvent(QCloseEvent* event) {
    // A run under way stops after its current days; the window goes once they are in, without
    // keeping the player waiting.
    if (running()) {
        m_work.request_stop();
        m_closeWhenDone = true;
        hide();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace sw::ui
