// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/itemtable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::world {

class LineList;
class NameKey;

// Def names of the server's item script files and the IDs they stand for.
//
// Scanning keeps one open slot across lines and files: an "[ITEMDEF " line (first 9 characters
// compared without case) writes the slot's ID, a "DEFNAME=" line (exact case) commits the slot
// under its upper-cased name. A second DEFNAME under one ITEMDEF thus commits an empty ID. Every
// committed entry is kept; a lookup answers what the first committed entry of that name holds,
// through a hash index instead of a scan.
class ItemNameCatalog {
public:
    struct Id {
        std::uint32_t value = 0;
        IdForm form = IdForm::Empty; // Upper, or Empty for an entry without an ITEMDEF line
    };

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
    // The first entry of each upper-cased def name, found through an open-addressing table of
    // entry numbers: a lookup upper-cases the name on the stack, eight bytes at a time, and
    // compares words, so the hundreds of thousands of lookups of a large world file allocate
    // nothing.
    struct Entry {
        std::uint32_t offset = 0; // of the name's first word in m_words
        std::uint32_t length = 0;
        std::uint64_t hash = 0;
        Id id;
    };
    [[nodiscard]] const Entry *find(const NameKey &name) const;
    void insertSlot(std::uint32_t entry);

    std::vector<std::uint64_t> m_words;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_slots; // entry number + 1; 0 is a free slot
    Id m_openSlot;
    std::size_t m_committed = 0;
};

[[nodiscard]] std::string toUpperAscii(std::string_view text);

} // namespace tessaplex::world
