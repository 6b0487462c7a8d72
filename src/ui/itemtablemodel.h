// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selection/filterlist.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::selection {
struct FilterArea;
}

namespace tessaplex::world {
class ItemTable;
enum class Column : int;
} // namespace tessaplex::world

namespace tessaplex::ui {

// The item table as the grid shows it. The heading row (table row 0) is the horizontal header;
// model row i is table row i + 1. Cells are read from the table when the view asks for them,
// so a million rows cost nothing here.
//
// Marks change only through the operations below: each calls the selection core and then tells
// the view of the rows whose mark it changed, with one dataChanged over the smallest range of
// the "PATCH" column that covers them (none when nothing changed).
class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ItemTableModel(world::ItemTable &table, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The table was filled anew (an analysis): one reset for all its rows.
    void tableReplaced();

    // Insert, Delete and double click on a table row; row 0 or one beyond the table does nothing.
    void setMark(int tableRow);
    void clearMark(int tableRow);
    void toggleMark(int tableRow);
    // All and None: every item row.
    void markAll();
    void unmarkAll();
    // All of and None of: every item row whose cell in column (Id or Block) equals tableRow's.
    // Returns false, changing nothing, when tableRow names no item row.
    bool markAllOf(world::Column column, int tableRow);
    bool unmarkAllOf(world::Column column, int tableRow);
    // The filter's "&OK". Throws as selection::applyFilter does; the rows it marked before the
    // failure are announced all the same, since they stay marked.
    void applyFilter(const selection::FilterEntries &entries, const selection::FilterArea &area,
                     ProgressGauge &gauge);

    // The model row of a table row and back.
    [[nodiscard]] static int modelRow(int tableRow) { return tableRow - 1; }
    [[nodiscard]] static int tableRow(int modelRow) { return modelRow + 1; }

private:
    // Runs change, which may alter the marks of table rows firstRow to lastRow (both included)
    // and no others, and announces those of them whose mark it changed.
    void changeMarks(int firstRow, int lastRow, const std::function<void()> &change);
    bool changeMarksLike(world::Column column, int tableRow, bool mark);
    // The table rows the view knows of: a table shortened under the view ends them early.
    [[nodiscard]] int lastKnownRow() const;

    world::ItemTable &m_table;
    int m_rows = 0;
    // Reused for every cell so that painting a screen of rows does not allocate.
    mutable std::string m_cell;
};

} // namespace tessaplex::ui
