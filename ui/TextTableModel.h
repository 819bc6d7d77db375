#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace sw::ui {

// A column of a table the game shows: its heading, the fuller words a screen reader says for a
// short one, and how its figures line up.
struct TableColumn {
    QString heading{};
    QString spoken{}; // empty: the heading is read as it stands
    Qt::Alignment align = Qt::AlignLeft;
    QString toolTip{};
};

// One cell: the text the core gave, with what pointing at it or reading it out adds.
struct TableCell {
    QString text{};
    QString spoken{};      // empty: the text
    QString toolTip{};     // what pointing at the cell shows
    QString description{}; // read after the text; empty: the tooltip
    QString name{};        // the name the game's figure goes by, as "lblOdds3"
    int post = 0;          // 1..8: drawn in the post's colours
    bool marked = false;   // drawn lit, as the favourite
    QColor ink{};          // the text's colour where the table gives each its own
    std::optional<bool> checked{};
    QVariant value{}; // Qt::UserRole
};

using TableRow = std::vector<TableCell>;

struct ColumnText;
// The columns of `texts`, in the player's language, lined up as `aligns` says (the last
// alignment serves the columns after it).
std::vector<TableColumn> translatedColumns(std::span<const ColumnText> texts,
                                           std::initializer_list<Qt::Alignment> aligns);

// The rows of texts a window shows as a real table, so a screen reader names each cell's column
// and the keyboard moves cell by cell. It holds what the core already worked out, nothing more.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role { NameRole = Qt::UserRole + 1, PostRole, MarkedRole };

    explicit TextTableModel(std::vector<TableColumn> columns, QObject* parent = nullptr);

    // Rows of the same count change in place, so the cell the keyboard is on stays where it is.
    void setRows(std::vector<TableRow> rows);
    const TableCell& cell(int row, int column) const;
    // The cell that goes by `name`; invalid when none does.
    QModelIndex named(const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TableColumn> m_columns;
    std::vector<TableRow> m_rows;
};

} // namespace sw::ui
