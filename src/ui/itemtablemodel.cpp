// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/itemtablemodel.h"

#include "world/itemtable.h"

#include <algorithm>

namespace tessaplex::ui {

using world::Column;
using world::ColumnCount;

ItemTableModel::ItemTableModel(const world::ItemTable &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_rows(table.rowCount() - 1) {}

int ItemTableModel::rowCount(const QModelIndex &parent) const {
    // The view learns of a new row count only through a reset, so it never sees rows that
    // an analysis in progress has not yet announced.
    return parent.isValid() ? 0 : m_rows;
}

int ItemTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ItemTableModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const int row = tableRow(index.row());
    // The table may have changed under the view while a command runs; a row beyond it is blank.
    if (index.row() >= m_rows || row >= m_table.rowCount() || index.column() >= ColumnCount)
        return {};
    m_cell.clear();
    m_table.appendCellText(m_cell, static_cast<Column>(index.column()), row);
    // Cell texts are single-byte texts; Latin-1 shows every byte as one character.
    return QString::fromLatin1(m_cell.data(), static_cast<qsizetype>(m_cell.size()));
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(m_table.cellText(static_cast<Column>(section), 0).c_str());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ItemTableModel::tableReplaced() {
    beginResetModel();
    m_rows = std::max(m_table.rowCount() - 1, 0);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ItemTableModel::marksChanged(int firstRow, int lastRow) {
    const int first = std::max(modelRow(firstRow), 0);
    const int last = std::min(modelRow(lastRow), m_rows - 1);
    if (first > last)
        return;
    const int patch = static_cast<int>(Column::Patch);
    emit dataChanged(index(first, patch), index(last, patch), {Qt::DisplayRole});
}

void ItemTableModel::allMarksChanged() {
    marksChanged(1, m_rows);
}

} // namespace tessaplex::ui
