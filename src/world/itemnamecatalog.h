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
    // The first entry of each upper-cased def name, held in an open-addressing table: a lookup
    // upper-cases the name on the stack, eight bytes at a time, and most often finds the answer
    // in the one slot its hash points to, with the name's first 16 bytes in it. The hundreds of
    // thousands of lookups of a large world file thus allocate nothing and touch little memory.
    struct Slot {
        std::uint64_t hash = 0;
        std::uint64_t head[2] = {}; // the name's first two words
        std::uint32_t length = 0;   // the name's length + 1; 0 for a free slot
        std::uint32_t rest = 0;     // index in m_words of the name's third word, if it has one
        Id id;
    };
    [[nodiscard]] const Slot *find(const NameKey &name) const;
    void place(const Slot &slot);

    std::vector<std::uint64_t> m_words;
    std::vector<Slot> m_slots;
    std::size_t m_names = 0;
    Id m_openSlot;
    std::size_t m_committed = 0;
};

[[nodiscard]] std::string toUpperAscii(std::string_view text);

} // namespace tessaplex::world
