// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include <string>

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::ui {

// The item table as the grid shows it. The heading row (table row 0) is the horizontal header;
// model row i is table row i + 1. Cells are read from the table when the view asks for them,
// so a million rows cost nothing here.
class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ItemTableModel(const world::ItemTable &table, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The table was filled anew (an analysis): one reset for all its rows.
    void tableReplaced();
    // The marks of table rows firstRow to lastRow (both included) may have changed.
    void marksChanged(int firstRow, int lastRow);
    // The marks of any item row may have changed.
    void allMarksChanged();

    // The model row of a table row and back.
    [[nodiscard]] static int modelRow(int tableRow) { return tableRow - 1; }
    [[nodiscard]] static int tableRow(int modelRow) { return modelRow + 1; }

private:
    const world::ItemTable &m_table;
    int m_rows = 0;
    // Reused for every cell so that painting a screen of rows does not allocate.
    mutable std::string m_cell;
};

} // namespace tessaplex::ui
