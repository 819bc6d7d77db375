#include "TopTenWindow.h"

#include "BalanceChart.h"

#include "ContentFit.h"
#include "FixedFont.h"

#include "ToQString.h"
#include "core/ShownMoney.h"
#include "core/Translate.h"
#include "game/Game.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

// Read where shown: the player's language is chosen after the program's statics are made.
const char* const Title = N_("Top 10 Players");

} // namespace

TopTenWindow::TopTenWindow(Game& game, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTop10"));
    setWindowTitle(toQString(_(Title)));
    setWindowModality(Qt::WindowModal);

    auto* heading = new QLabel(toQString(_(Title)), this);
    heading->setObjectName(QStringLiteral("lblTitle"));
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    heading->setFont(headingFont);

    m_lstTop10 = new QListWidget(this);
    m_lstTop10->setObjectName(QStringLiteral("lstTop10"));
    QFont listFont = fixedFont();
    listFont.setPointSizeF(listFont.pointSizeF() * 1.2);
    m_lstTop10->setFont(listFont);
    m_lstTop10->setSelectionMode(QAbstractItemView::NoSelection);
    for (const std::string& line : game.topTen())
        m_lstTop10->addItem(QString::fromStdString(shownMoneyIn(line)));
    // Ten places whether or not ten days have been played yet.
    fitListToLines(m_lstTop10, 10, QStringLiteral("$1,234,567.00 - MMMMMMMMMMMMMMM"));

    m_cmdPlay = new QPushButton(toQString(_("Play Again")), this);
    m_cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    m_cmdPlay->setDefault(true);
    m_cmdEnd = new QPushButton(toQString(_("End Game")), this);
    m_cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    m_cmdEnd->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdPlay);
    buttons->addWidget(m_cmdEnd);
    buttons->addStretch(1);
    // Beside the list, the day that ends here: what each player's money did and what the house kept.
    auto* lblDay = new QLabel(toQString(_("Today: What the House Kept")), this);
    lblDay->setObjectName(QStringLiteral("lblLedger"));
    QFont dayFont = lblDay->font();
    dayFont.setBold(true);
    lblDay->setFont(dayFont);
    auto* lstLedger = new QListWidget(this);
    lstLedger->setObjectName(QStringLiteral("lstLedger"));
    lstLedger->setFont(fixedFont());
    lstLedger->setSelectionMode(QAbstractItemView::NoSelection);
    for (const std::string& line : ledgerLines(game.ledger()))
        lstLedger->addItem(QString::fromStdString(shownMoneyIn(line)));
    for (const std::string& line : poolKeptLines(game.ledger()))
        lstLedger->addItem(QString::fromStdString(shownMoneyIn(line)));
    fitListToLines(lstLedger, lstLedger->count());
    auto* chart = new BalanceChart(this);
    chart->setLines(balanceLines(game.ledger()), RacesPerDay);
    auto* day = new QVBoxLayout;
    day->addWidget(lblDay);
    day->addWidget(lstLedger);
    day->addWidget(chart, 1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(m_lstTop10, 1);
    columns->addLayout(day, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    connect(m_cmdPlay, &QPushButton::clicked, this, [this] { choose(true); });
    connect(m_cmdEnd, &QPushButton::clicked, this, [this] { choose(false); });
}

void TopTenWindow::choose(bool again) {
    if (m_chosen)
        return;
    m_chosen = true;
    QDialog::accept();
    if (again)
        emit playAgain();
    else
        emit endGame();
}

void TopTenWindow::reject() {
    choose(false);
}

void TopTenWindow::keyPressEvent(QKeyEvent* event) {
    // Escape would end the game by accident; the buttons make that choice.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace sw::ui
