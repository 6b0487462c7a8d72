// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/worldfileinfo.h"

#include "world/itemtable.h"

namespace tessaplex::world {

WorldFileInfo tableInfo(const ItemTable &table) {
    WorldFileInfo info;
    info.listed = table.itemCount();
    for (int row = 1; row < table.rowCount(); ++row) {
        if (!table.isMarked(row))
            continue;
        ++info.selected;
        if (table.hasLines(row)) {
            info.linesToRemove += static_cast<std::uint32_t>(table.endLine(row)) -
                                  static_cast<std::uint32_t>(table.startLine(row));
        }
    }
    return info;
}

} // namespace tessaplex::world
