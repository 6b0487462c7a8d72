// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/searchquery.h"

#include "selection/filterentry.h"
#include "world/itemtable.h"
#include "world/numberrules.h"

namespace tessaplex::selection {

SearchQuery SearchQuery::byId(std::string_view idText) {
    SearchQuery query;
    if (idText.size() < 2)
        return query;
    query.m_kind = Kind::Id;
    query.m_id = itemIdFromIdField(idText);
    return query;
}

SearchQuery SearchQuery::byPosition(std::string_view xText, std::string_view yText) {
    SearchQuery query;
    query.m_hasX = !xText.empty();
    query.m_hasY = !yText.empty();
    if (!query.m_hasX && !query.m_hasY)
        return query;
    query.m_kind = Kind::Position;
    query.m_x = world::decimalTextToInt(xText);
    query.m_y = world::decimalTextToInt(yText);
    return query;
}

bool SearchQuery::matches(const world::ItemTable &table, int row) const {
    switch (m_kind) {
    case Kind::Nothing:
        return false;
    case Kind::Id:
        return table.idValue(row) == m_id;
    case Kind::Position:
        return (!m_hasX || world::decimalTextToInt(table.xText(row)) == m_x) &&
               (!m_hasY || world::decimalTextToInt(table.yText(row)) == m_y);
    }
    return false;
}

} // namespace tessaplex::selection
