// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/defnameindex.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::world {

class LineList;

// Def names of the server's item script files and the IDs they stand for.
//
// Scanning keeps one open slot across lines and files: an "[ITEMDEF " line (first 9 characters
// compared without case) writes the slot's ID, a "DEFNAME=" line (exact case) commits the slot
// under its upper-cased name. A second DEFNAME under one ITEMDEF thus commits an empty ID. Every
// committed entry is counted; a lookup answers what the first committed entry of that name
// holds, through a hash index instead of a scan.
class ItemNameCatalog {
public:
    using Id = DefNameId;

    // Scans the lines of one item script file.
    void scan(const LineList &lines);
    // Scans one line; scan() calls it for every line.
    void scanLine(std::string_view line);

    // The first committed entry whose def name equals name in upper case, or nothing
    // ("#NOT FOUND").
    [[nodiscard]] std::optional<Id> lookup(std::string_view name) const;
    // The ID text a lookup yields: "00F3C", "" for an empty ID, "#NOT FOUND".
    [[nodiscard]] std::string lookupText(std::string_view name) const;

    // The number of committed entries, the later duplicates of a name included.
    [[nodiscard]] std::size_t size() const { return m_committed; }

private:
    DefNameIndex m_index;
    Id m_openSlot;
    std::size_t m_committed = 0;
};

} // namespace tessaplex::world
