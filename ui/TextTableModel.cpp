#include "TextTableModel.h"

#include "TableTexts.h"
#include "ToQString.h"

#include <algorithm>
#include <utility>

namespace sw::ui {

namespace {

const TableCell NoCell;

} // namespace

std::vector<TableColumn> translatedColumns(std::span<const ColumnText> texts,
                                           std::initializer_list<Qt::Alignment> aligns) {
    std::vector<TableColumn> columns;
    std::size_t i = 0;
    for (const ColumnText& text : texts) {
        const Qt::Alignment align =
            aligns.size() == 0 ? Qt::AlignLeft : *(aligns.begin() + std::min(i, aligns.size() - 1));
        columns.push_back(
            {toQString(_(text.heading)), text.spoken ? toQString(_(text.spoken)) : QString(), align});
        ++i;
    }
    return columns;
}

TextTableModel::TextTableModel(std::vector<TableColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

void TextTableModel::setRows(std::vector<TableRow> rows) {
    for (TableRow& row : rows)
        row.resize(m_columns.size());
    if (rows.size() != m_rows.size()) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
        return;
    }
    m_rows = std::move(rows);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const TableCell& TextTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return NoCell;
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QModelIndex TextTableModel::named(const QString& name) const {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (cell(r, c).name == name)
                return index(r, c);
    return {};
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    const TableCell& c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::AccessibleTextRole:
        return c.spoken.isEmpty() ? c.text : c.spoken;
    case Qt::ToolTipRole:
        return c.toolTip.isEmpty() ? QVariant() : QVariant(c.toolTip);
    case Qt::AccessibleDescriptionRole:
        return c.description.isEmpty() ? c.toolTip : c.description;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[static_cast<std::size_t>(index.column())].align |
                                   Qt::AlignVCenter);
    case Qt::CheckStateRole:
        return c.checked ? QVariant(*c.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::ForegroundRole:
        return c.ink.isValid() ? QVariant(c.ink) : QVariant();
    case Qt::UserRole:
        return c.value;
    case NameRole:
        return c.name;
    case PostRole:
        return c.post;
    case MarkedRole:
        return c.marked;
    default:
        return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const TableColumn& column = m_columns[static_cast<std::size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.heading;
    case Qt::AccessibleTextRole:
        return column.spoken.isEmpty() ? column.heading : column.spoken;
    case Qt::ToolTipRole:
        return column.toolTip.isEmpty() ? QVariant() : QVariant(column.toolTip);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.align | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex& index) const {
    // Every cell can be stepped onto and read; none is edited or ticked by the player.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace sw::ui
