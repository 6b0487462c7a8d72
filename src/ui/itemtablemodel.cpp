// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/itemtablemodel.h"

#include "selection/filter.h"
#include "selection/marks.h"
#include "world/itemtable.h"

#include <algorithm>
#include <vector>

namespace tessaplex::ui {

using world::Column;
using world::ColumnCount;

ItemTableModel::ItemTableModel(world::ItemTable &table, QObject *parent)
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

int ItemTableModel::lastKnownRow() const {
    return std::min(m_rows, m_table.rowCount() - 1);
}

void ItemTableModel::changeMarks(int firstRow, int lastRow, const std::function<void()> &change) {
    const int first = std::max(firstRow, 1);
    const int last = std::min(lastRow, lastKnownRow());
    std::vector<world::Mark> before;
    for (int row = first; row <= last; ++row)
        before.push_back(m_table.mark(row));
    const auto announce = [&] {
        int top = -1;
        int bottom = -1;
        for (int row = first; row <= last; ++row) {
            if (m_table.mark(row) == before[static_cast<std::size_t>(row - first)])
                continue;
            if (top < 0)
                top = modelRow(row);
            bottom = modelRow(row);
        }
        const int patch = static_cast<int>(Column::Patch);
        if (top >= 0)
            emit dataChanged(index(top, patch), index(bottom, patch), {Qt::DisplayRole});
    };
    try {
        change();
    } catch (...) {
        announce();
        throw;
    }
    announce();
}

void ItemTableModel::setMark(int tableRow) {
    changeMarks(tableRow, tableRow, [&] { selection::setMark(m_table, tableRow); });
}

void ItemTableModel::clearMark(int tableRow) {
    changeMarks(tableRow, tableRow, [&] { selection::clearMark(m_table, tableRow); });
}

void ItemTableModel::toggleMark(int tableRow) {
    changeMarks(tableRow, tableRow, [&] { selection::toggleMark(m_table, tableRow); });
}

void ItemTableModel::markAll() {
    changeMarks(1, m_table.rowCount() - 1, [&] { selection::markAll(m_table); });
}

void ItemTableModel::unmarkAll() {
    changeMarks(1, m_table.rowCount() - 1, [&] { selection::unmarkAll(m_table); });
}

bool ItemTableModel::changeMarksLike(Column column, int tableRow, bool mark) {
    if (tableRow < 1 || tableRow >= m_table.rowCount())
        return false;
    const std::string reference = m_table.cellText(column, tableRow);
    changeMarks(1, m_table.rowCount() - 1, [&] {
        if (mark)
            selection::markAllOf(m_table, column, reference);
        else
            selection::unmarkAllOf(m_table, column, reference);
    });
    return true;
}

bool ItemTableModel::markAllOf(Column column, int tableRow) {
    return changeMarksLike(column, tableRow, true);
}

bool ItemTableModel::unmarkAllOf(Column column, int tableRow) {
    return changeMarksLike(column, tableRow, false);
}

void ItemTableModel::applyFilter(const selection::FilterEntries &entries,
                                 const selection::FilterArea &area, ProgressGauge &gauge) {
    changeMarks(1, m_table.rowCount() - 1,
                [&] { selection::applyFilter(m_table, entries, area, gauge); });
}

} // namespace tessaplex::ui
