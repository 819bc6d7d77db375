#include "ToteBoardWidget.h"

#include "ExplanationDialog.h"

#include "FontScale.h"
#include "Palette.h"
#include "PostColours.h"
#include "TableTexts.h"
#include "TextTable.h"
#include "TextTableModel.h"
#include "ToQString.h"
#include "core/Translate.h"
#include "game/Game.h"
#include "program/ProgramTexts.h"
#include "tote/ToteBoard.h"
#include "ui/track/HorseArt.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace sw::ui {

namespace {

constexpr int PoolRow = FieldSize;
constexpr int GridRows = FieldSize / 2;

// Bright digits on a dark panel, as a tote board at the track shows them.
QString boardStyle() {
    return QStringLiteral(R"(
QFrame#totePanel { background-color: %1; border: 2px solid %2; border-radius: 4px; }
QFrame#totePanel QLabel { color: %3; background: transparent; }
QFrame#totePanel QLabel[role="heading"] { color: %4; }
QFrame#totePanel QLabel[role="total"] { color: %5; }
QFrame#totePanel QTableView { background-color: %1; color: %3; border: none; }
QFrame#totePanel QHeaderView, QFrame#totePanel QHeaderView::section {
    background-color: %1; color: %4; border: none; padding: 0px 4px; }
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

QFrame* panel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("totePanel"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 1.5);
    setDesignFont(frame, font);
    return frame;
}

// Paints the board's cells as the lamps of a tote: posts in their saddle-cloth colours, the
// favourite's figures lit, the pools' totals in their own colour, a rule above the totals, and
// the cell the keyboard is on ringed.
class BoardDelegate : public QStyledItemDelegate {
public:
    BoardDelegate(int ruleRow, QObject* parent) : QStyledItemDelegate(parent), m_ruleRow(ruleRow) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const QRect cell = option.rect;
        painter->fillRect(cell, boardPanelColour());
        if (index.row() == m_ruleRow) {
            painter->setPen(QColor(0x39, 0x41, 0x4b));
            painter->drawLine(cell.topLeft(), cell.topRight());
        }
        const QString text = index.data().toString();
        const int post = index.data(TextTableModel::PostRole).toInt();
        QColor ink = boardFigureColour();
        if (const QVariant own = index.data(Qt::ForegroundRole); own.isValid())
            ink = own.value<QColor>();
        QRect lamp = cell.adjusted(1, 1, -1, -1);
        painter->setRenderHint(QPainter::Antialiasing);
        if (post >= 1 && post <= FieldSize) {
            // A saddle cloth the size of its number, however tall the row has grown.
            const int width =
                std::min(lamp.width(), option.fontMetrics.horizontalAdvance(QStringLiteral("00")) + 16);
            const int height = std::min(lamp.height(), option.fontMetrics.height() + 10);
            lamp = QRect(lamp.center().x() - width / 2, lamp.center().y() - height / 2, width, height);
            painter->setPen(QColor(0x20, 0x20, 0x20));
            painter->setBrush(HorseArt::clothColour(post));
            painter->drawRoundedRect(lamp, 4, 4);
            ink = HorseArt::numberColour(post);
        } else if (index.data(TextTableModel::MarkedRole).toBool() && !text.isEmpty()) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(boardFigureColour());
            painter->drawRoundedRect(lamp, 3, 3);
            ink = boardPanelColour();
        }
        painter->setFont(option.font);
        painter->setPen(ink);
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        painter->drawText(lamp.adjusted(4, 0, -4, 0), static_cast<int>(align), text);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(boardTotalColour(), 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(cell.adjusted(1, 1, -1, -1), 3, 3);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize text = option.fontMetrics.size(Qt::TextSingleLine, index.data().toString());
        const int post = index.data(TextTableModel::PostRole).toInt();
        const int width =
            post > 0 ? option.fontMetrics.horizontalAdvance(QStringLiteral("00")) + 18 : text.width() + 10;
        return {width, text.height() + 2};
    }

private:
    int m_ruleRow;
};

TextTable* boardTable(TextTableModel* model, const QString& name, int ruleRow, QWidget* parent) {
    auto* table = new TextTable(model, name, parent);
    table->setItemDelegate(new BoardDelegate(ruleRow, table));
    table->setShowGrid(false);
    table->setFrameShape(QFrame::NoFrame);
    table->setRowsStretch(true);
    table->setRowPadding(2);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::StrongFocus);
    table->setMouseTracking(true);
    table->viewport()->setCursor(Qt::PointingHandCursor);
    return table;
}

} // namespace

ToteBoardWidget::ToteBoardWidget(Game& game, QWidget* parent) : QTabWidget(parent), m_game(game) {
    setObjectName(QStringLiteral("tabTote"));
    setAccessibleName(QString::fromUtf8(_(ToteBoardCaption).c_str()));
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
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 6, 10, 6);
    // Read out as the board reads: "Post 3, Odds 7/2, Win 2061".
    m_win = new TextTableModel(translatedColumns(WinBoardColumns, {Qt::AlignHCenter, Qt::AlignRight}), page);
    m_tblWin = boardTable(m_win, QStringLiteral("tblWinOdds"), PoolRow, page);
    m_tblWin->setAccessibleName(toQString(_(WinBoardName)));
    m_tblWin->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (int column = 1; column < 5; ++column)
        m_tblWin->setStretchColumn(column);
    // The totals' caption spans the post and odds columns, as it always has.
    connect(m_win, &QAbstractItemModel::modelReset, m_tblWin,
            [this] { m_tblWin->setSpan(PoolRow, 0, 1, 2); });
    connect(m_tblWin, &QAbstractItemView::clicked, this, &ToteBoardWidget::explainCell);
    connect(m_tblWin, &QAbstractItemView::activated, this, &ToteBoardWidget::explainCell);
    layout->addWidget(m_tblWin, 1);
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
    auto* caption = boardLabel(quiniela ? "lblQuinWith" : "lblExactaWith",
                               toQString(quiniela ? _("Horse with") : _("Horse first, then")), Qt::AlignLeft,
                               page, "heading");
    caption->setBuddy(spin);
    top->addWidget(caption);
    top->addWidget(spin);
    top->addWidget(andLabel);
    top->addStretch(1);
    outer->addLayout(top);

    // The eight posts in two halves side by side, as the board has room for.
    // The odds stand beside their posts; the room left over goes after each half.
    const std::vector<TableColumn> half =
        translatedColumns(OddsGridColumns, {Qt::AlignHCenter, Qt::AlignLeft});
    std::vector<TableColumn> columns = half;
    columns.insert(columns.end(), half.begin(), half.end());
    auto* model = new TextTableModel(std::move(columns), page);
    TextTable* table = boardTable(
        model, quiniela ? QStringLiteral("tblQuinielaOdds") : QStringLiteral("tblExactaOdds"), -1, page);
    table->setAccessibleName(quiniela ? toQString(_(QuinielaGridName)) : toQString(_(ExactaGridName)));
    for (int column : {1, 3})
        table->setStretchColumn(column);
    connect(table, &QAbstractItemView::clicked, this, &ToteBoardWidget::explainCell);
    connect(table, &QAbstractItemView::activated, this, &ToteBoardWidget::explainCell);
    outer->addWidget(table, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(boardLabel(QString(), toQString(_(PoolTotalCaption)), Qt::AlignLeft, page, "heading"));
    QLabel* pool =
        boardLabel(quiniela ? "lblQuinielaPool" : "lblExactPool", QString(), Qt::AlignRight, page, "total");
    bottom->addWidget(pool, 1);
    outer->addLayout(bottom);

    if (quiniela) {
        m_udQuinAnd = spin;
        m_lblQuinAnd = andLabel;
        m_quiniela = model;
        m_quinielaPool = pool;
    } else {
        m_udExactaAnd = spin;
        m_lblExactaAnd = andLabel;
        m_exacta = model;
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
    std::vector<TableRow> rows;
    for (int h = 0; h < FieldSize; ++h) {
        const ToteBoardEntry& e = board.entries[static_cast<std::size_t>(h)];
        const bool favourite = h == board.favourite;
        auto figure = [&](const char* name, const std::string& text) {
            return TableCell{.text = toQString(text), .name = indexed(name, h), .marked = favourite};
        };
        TableCell odds = figure("lblOdds", e.odds);
        odds.toolTip = toQString(e.oddsTooltip);
        rows.push_back({TableCell{.text = QString::number(h + 1),
                                  .toolTip = toQString(e.horseName),
                                  .name = indexed("lblTotHorse", h),
                                  .post = h + 1},
                        odds, figure("lblWinTot", e.winTotal), figure("lblPlaceTot", e.placeTotal),
                        figure("lblShowTot", e.showTotal)});
    }
    auto total = [](const char* name, const std::string& text) {
        return TableCell{
            .text = toQString(text), .name = QString::fromLatin1(name), .ink = boardTotalColour()};
    };
    rows.push_back({TableCell{.text = toQString(_(PoolTotalCaption)), .ink = boardHeadingColour()},
                    TableCell{}, total("lblWinPool", board.winPool), total("lblPlacePool", board.placePool),
                    total("lblShowPool", board.showPool)});
    m_win->setRows(std::move(rows));
    m_quinielaPool->setText(toQString(board.quinielaPool));
    m_exactPool->setText(toQString(board.exactaPool));
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
        std::vector<TableRow> rows(GridRows);
        for (int h = 0; h < FieldSize; ++h) {
            const auto i = static_cast<std::size_t>(h);
            // Pointing at a cell shows the shorter payoff line; a screen reader reads the longer.
            rows[static_cast<std::size_t>(h % GridRows)].push_back(
                {.text = QString::number(h + 1), .post = h + 1, .value = h});
            rows[static_cast<std::size_t>(h % GridRows)].push_back(
                {.text = toQString(grid.odds[i]),
                 .toolTip = toQString(grid.hoverTooltip[i]),
                 .description = toQString(grid.tooltip[i]),
                 .name = indexed(quiniela ? "lblQOdds" : "lblEOdds", h),
                 .value = h});
        }
        (quiniela ? m_quiniela : m_exacta)->setRows(std::move(rows));
    }
}

void ToteBoardWidget::explainCell(const QModelIndex& index) {
    const QString name = index.data(TextTableModel::NameRole).toString();
    // A win odds cell opens what a $2 win bet would return now, and why.
    if (index.model() == m_win) {
        if (!name.startsWith(QLatin1String("lblOdds")))
            return;
        const int entry = index.row();
        ExplanationDialog::explain(this, toQString(_("Win odds of %1")).arg(entry + 1),
                                   explainWinCell(m_game.day(), entry));
        return;
    }
    // A grid cell: what $2 on the "and" horse with its post would pay now.
    if (!name.startsWith(QLatin1String("lblQOdds")) && !name.startsWith(QLatin1String("lblEOdds")))
        return;
    const bool exacta = index.model() == m_exacta;
    const int andHorse = (exacta ? m_udExactaAnd : m_udQuinAnd)->value();
    const int post = index.data(Qt::UserRole).toInt();
    const std::vector<std::string> steps = explainGridCell(m_game.day(), exacta, andHorse - 1, post);
    if (!steps.empty())
        ExplanationDialog::explain(this,
                                   (exacta ? toQString(_("Exacta %1-%2")) : toQString(_("Quiniela %1-%2")))
                                       .arg(andHorse)
                                       .arg(post + 1),
                                   steps);
}

} // namespace sw::ui
