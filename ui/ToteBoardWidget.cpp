#include "ToteBoardWidget.h"

#include "ExplanationDialog.h"

#include "FontScale.h"
#include "Palette.h"
#include "PostColours.h"
#include "ToQString.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "tote/ToteBoard.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

// Bright digits on a dark panel, as a tote board at the track shows them.
QString boardStyle() {
    return QStringLiteral(R"(
QFrame#totePanel { background-color: %1; border: 2px solid %2; border-radius: 4px; }
QFrame#totePanel QLabel { color: %3; background: transparent; }
QFrame#totePanel QLabel[role="heading"] { color: %4; }
QFrame#totePanel QLabel[role="total"] { color: %5; }
QFrame#totePanel QLabel[favourite="true"] { background-color: %3; color: %1; border-radius: 3px; }
)")
        .arg(boardPanelColour().name(), boardEdgeColour().name(), boardFigureColour().name(),
             boardHeadingColour().name(), boardTotalColour().name());
}

QLabel* boardLabel(const QString& name, const QString& text, Qt::Alignment align, QWidget* parent,
                   const char* role = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    if (role)
        label->setProperty("role", role);
    return label;
}

QString indexed(const char* name, int i) {
    return QString::fromLatin1(name) + QString::number(i);
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void setFavourite(QLabel* label, bool favourite) {
    if (label->property("favourite").toBool() == favourite)
        return;
    label->setProperty("favourite", favourite);
    label->style()->unpolish(label);
    label->style()->polish(label);
}

QFrame* panel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("totePanel"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 1.5);
    setDesignFont(frame, font);
    return frame;
}

} // namespace

ToteBoardWidget::ToteBoardWidget(Game& game, QWidget* parent) : QTabWidget(parent), m_game(game) {
    setObjectName(QStringLiteral("tabTote"));
    setStyleSheet(boardStyle() + postColourRules(QStringLiteral("QFrame#totePanel QLabel")));
    addTab(buildWinPage(), toQString(_("&Win Odds")));
    addTab(buildGridPage(true), toQString(_("&Quiniela Odds")));
    addTab(buildGridPage(false), toQString(_("E&xacta Odds")));
    connect(this, &QTabWidget::currentChanged, this, &ToteBoardWidget::tabChosen);
    // Under a style sheet a widget keeps the font it was polished with, so the board's widgets
    // each carry their own, for the window to scale.
    setDesignFont(this, font());
    for (QWidget* child : findChildren<QWidget*>())
        setDesignFont(child, child->font());
    refresh();
}

QWidget* ToteBoardWidget::buildWinPage() {
    QFrame* page = panel(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(1);
    const Qt::Alignment right = Qt::AlignRight;
    grid->addWidget(boardLabel("lblPost", qs(_("Post")), Qt::AlignHCenter, page, "heading"), 0, 0);
    grid->addWidget(boardLabel("lblOddsLine", qs(_("Odds")), right, page, "heading"), 0, 1);
    grid->addWidget(boardLabel("lblWinHeading", qs(_("Win")), right, page, "heading"), 0, 2);
    grid->addWidget(boardLabel("lblPlaceHeading", qs(_("Place")), right, page, "heading"), 0, 3);
    grid->addWidget(boardLabel("lblShowHeading", qs(_("Show")), right, page, "heading"), 0, 4);
    for (int h = 0; h < FieldSize; ++h) {
        const auto i = static_cast<std::size_t>(h);
        m_totHorse[i] = boardLabel(indexed("lblTotHorse", h), QString::number(h + 1), Qt::AlignHCenter, page);
        setPostColour(m_totHorse[i], h + 1);
        m_totHorse[i]->setMinimumWidth(34);
        m_odds[i] = boardLabel(indexed("lblOdds", h), QString(), right, page);
        m_winTot[i] = boardLabel(indexed("lblWinTot", h), QString(), right, page);
        m_placeTot[i] = boardLabel(indexed("lblPlaceTot", h), QString(), right, page);
        m_showTot[i] = boardLabel(indexed("lblShowTot", h), QString(), right, page);
        grid->addWidget(m_totHorse[i], h + 1, 0, Qt::AlignCenter);
        grid->addWidget(m_odds[i], h + 1, 1);
        m_odds[i]->setFocusPolicy(Qt::StrongFocus);
        m_odds[i]->setCursor(Qt::PointingHandCursor);
        m_odds[i]->setProperty("entry", h);
        m_odds[i]->installEventFilter(this);
        grid->addWidget(m_winTot[i], h + 1, 2);
        grid->addWidget(m_placeTot[i], h + 1, 3);
        grid->addWidget(m_showTot[i], h + 1, 4);
    }
    auto* rule = new QFrame(page);
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet(QStringLiteral("color: #39414b;"));
    grid->addWidget(rule, FieldSize + 1, 0, 1, 5);
    grid->addWidget(boardLabel("lblPoolTotal", qs(_("Pool Total")), Qt::AlignLeft, page, "heading"),
                    FieldSize + 2, 0, 1, 2);
    m_winPool = boardLabel("lblWinPool", QString(), right, page, "total");
    m_placePool = boardLabel("lblPlacePool", QString(), right, page, "total");
    m_showPool = boardLabel("lblShowPool", QString(), right, page, "total");
    grid->addWidget(m_winPool, FieldSize + 2, 2);
    grid->addWidget(m_placePool, FieldSize + 2, 3);
    grid->addWidget(m_showPool, FieldSize + 2, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 2);
    grid->setColumnStretch(4, 2);
    return page;
}

QWidget* ToteBoardWidget::buildGridPage(bool quiniela) {
    QFrame* page = panel(this);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(10, 6, 10, 6);
    outer->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* spin = new QSpinBox(page);
    spin->setObjectName(quiniela ? "udQuinAnd" : "udExactaAnd");
    spin->setRange(1, FieldSize);
    spin->setMinimumWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("88")) + 40);
    spin->setToolTip(quiniela ? toQString(_("The horse every quiniela below is paired with"))
                              : toQString(_("The horse every exacta below has first")));
    auto* andLabel =
        boardLabel(quiniela ? "lblQuinAnd" : "lblExactaAnd", QStringLiteral("1"), Qt::AlignHCenter, page);
    andLabel->setMinimumWidth(34);
    auto* caption =
        boardLabel(quiniela ? "lblQuinWith" : "lblExactaWith",
                   qs(quiniela ? _("Horse with") : _("Horse first, then")), Qt::AlignLeft, page, "heading");
    caption->setBuddy(spin);
    top->addWidget(caption);
    top->addWidget(spin);
    top->addWidget(andLabel);
    top->addStretch(1);
    outer->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(1);
    std::array<QLabel*, FieldSize>& cells = quiniela ? m_qOdds : m_eOdds;
    constexpr int Rows = FieldSize / 2;
    for (int column = 0; column < 2; ++column) {
        grid->addWidget(boardLabel(QString(), qs(_("Post")), Qt::AlignHCenter, page, "heading"), 0,
                        column * 3);
        grid->addWidget(boardLabel(QString(), qs(_("Odds")), Qt::AlignRight, page, "heading"), 0,
                        column * 3 + 1);
    }
    for (int h = 0; h < FieldSize; ++h) {
        const int row = h % Rows + 1;
        const int column = (h / Rows) * 3;
        auto* post = boardLabel(QString(), QString::number(h + 1), Qt::AlignHCenter, page);
        setPostColour(post, h + 1);
        post->setMinimumWidth(34);
        auto* cell =
            boardLabel(indexed(quiniela ? "lblQOdds" : "lblEOdds", h), QString(), Qt::AlignRight, page);
        cell->setProperty("gridPost", h);
        cell->setProperty("gridExacta", !quiniela);
        cell->installEventFilter(this);
        cells[static_cast<std::size_t>(h)] = cell;
        grid->addWidget(post, row, column, Qt::AlignCenter);
        grid->addWidget(cell, row, column + 1);
    }
    // The odds stand beside their posts; the room left over goes between the two halves.
    grid->setColumnMinimumWidth(1, 60);
    grid->setColumnMinimumWidth(4, 60);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    for (int row = 1; row <= Rows; ++row)
        grid->setRowStretch(row, 1);
    outer->addLayout(grid, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(boardLabel(QString(), qs(_("Pool Total")), Qt::AlignLeft, page, "heading"));
    QLabel* pool =
        boardLabel(quiniela ? "lblQuinielaPool" : "lblExactPool", QString(), Qt::AlignRight, page, "total");
    bottom->addWidget(pool, 1);
    outer->addLayout(bottom);

    if (quiniela) {
        m_udQuinAnd = spin;
        m_lblQuinAnd = andLabel;
        m_quinielaPool = pool;
    } else {
        m_udExactaAnd = spin;
        m_lblExactaAnd = andLabel;
        m_exactPool = pool;
    }
    connect(spin, &QSpinBox::valueChanged, this, &ToteBoardWidget::refreshGrids);
    return page;
}

void ToteBoardWidget::tabChosen(int index) {
    // Each grid opens on horse 1, as the board always shows it first.
    QSpinBox* spin = index == 1 ? m_udQuinAnd : index == 2 ? m_udExactaAnd : nullptr;
    if (spin)
        spin->setValue(1);
    refreshGrids();
}

void ToteBoardWidget::refresh() {
    const ToteBoard board = toteBoard(m_game.day());
    for (int h = 0; h < FieldSize; ++h) {
        const auto i = static_cast<std::size_t>(h);
        const ToteBoardEntry& e = board.entries[i];
        m_totHorse[i]->setToolTip(qs(e.horseName));
        m_odds[i]->setText(qs(e.odds));
        m_odds[i]->setToolTip(qs(e.oddsTooltip));
        m_winTot[i]->setText(qs(e.winTotal));
        m_placeTot[i]->setText(qs(e.placeTotal));
        m_showTot[i]->setText(qs(e.showTotal));
        const bool favourite = h == board.favourite;
        for (QLabel* cell : {m_odds[i], m_winTot[i], m_placeTot[i], m_showTot[i]})
            setFavourite(cell, favourite);
    }
    m_winPool->setText(qs(board.winPool));
    m_placePool->setText(qs(board.placePool));
    m_showPool->setText(qs(board.showPool));
    m_quinielaPool->setText(qs(board.quinielaPool));
    m_exactPool->setText(qs(board.exactaPool));
    refreshGrids();
}

void ToteBoardWidget::refreshGrids() {
    for (bool quiniela : {true, false}) {
        QSpinBox* spin = quiniela ? m_udQuinAnd : m_udExactaAnd;
        const OddsGrid grid =
            quiniela ? quinielaGrid(m_game.day(), spin->value()) : exactaGrid(m_game.day(), spin->value());
        QLabel* andLabel = quiniela ? m_lblQuinAnd : m_lblExactaAnd;
        andLabel->setText(QString::number(grid.andHorse));
        setPostColour(andLabel, grid.andHorse);
        std::array<QLabel*, FieldSize>& cells = quiniela ? m_qOdds : m_eOdds;
        for (int h = 0; h < FieldSize; ++h) {
            const auto i = static_cast<std::size_t>(h);
            cells[i]->setText(qs(grid.odds[i]));
            cells[i]->setToolTip(qs(grid.tooltip[i]));
            cells[i]->setProperty("hoverTip", qs(grid.hoverTooltip[i]));
            cells[i]->setProperty("gridAnd", grid.andHorse);
        }
    }
}

bool ToteBoardWidget::eventFilter(QObject* watched, QEvent* event) {
    // A win odds cell opens what a $2 win bet would return now, and why.
    if (asksForWorking(event)) {
        const QVariant entry = watched->property("entry");
        if (entry.isValid()) {
            ExplanationDialog::explain(this, toQString(_("Win odds of %1")).arg(entry.toInt() + 1),
                                       explainWinCell(m_game.day(), entry.toInt()));
            return true;
        }
        // A grid cell: what $2 on the "and" horse with its post would pay now.
        const QVariant post = watched->property("gridPost");
        if (post.isValid()) {
            const bool exacta = watched->property("gridExacta").toBool();
            const int andHorse = watched->property("gridAnd").toInt();
            const std::vector<std::string> steps =
                explainGridCell(m_game.day(), exacta, andHorse - 1, post.toInt());
            if (!steps.empty())
                ExplanationDialog::explain(
                    this,
                    (exacta ? toQString(_("Exacta %1-%2")) : toQString(_("Quiniela %1-%2")))
                        .arg(andHorse)
                        .arg(post.toInt() + 1),
                    steps);
            return true;
        }
    }
    // Pointing at a grid cell swaps its tooltip for the shorter payoff line.
    if (event->type() == QEvent::Enter) {
        if (auto* label = qobject_cast<QLabel*>(watched)) {
            const QString hover = label->property("hoverTip").toString();
            if (!hover.isEmpty())
                label->setToolTip(hover);
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

} // namespace sw::ui
