// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/itemtable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaplex::world {

class NameKey;

// The ID a def name stands for.
struct DefNameId {
    std::uint32_t value = 0;
    IdForm form = IdForm::Empty; // Upper, or Empty for an entry without an ITEMDEF line
};

// The ID of each def name, the first one added under a name kept, found by the name in any
// letter case: only a to z are folded, every other byte counts as it is.
//
// Names are kept in an open-addressing table: a lookup upper-cases the name on the stack, eight
// bytes at a time, and most often finds the answer in the one slot its hash points to, with the
// name's first 16 bytes in it. The hundreds of thousands of lookups of a large world file thus
// allocate nothing and touch little memory. The plain way, a map from the upper-cased name, is
// taken instead when the kernels switch says Plain as the first name is added.
class DefNameIndex {
public:
    // Keeps id under name unless a name equal to it in upper case is kept already.
    void add(std::string_view name, DefNameId id);
    // What is kept under name, or nullptr. Valid until the next add().
    [[nodiscard]] const DefNameId *find(std::string_view name) const;

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint64_t head[2] = {}; // the name's first two words
        std::uint32_t length = 0;   // the name's length + 1; 0 for a free slot
        std::uint32_t rest = 0;     // index in m_words of the name's third word, if it has one
        DefNameId id;
    };
    [[nodiscard]] const Slot *findSlot(const NameKey &name) const;
    void place(const Slot &slot);

    std::vector<std::uint64_t> m_words;
    std::vector<Slot> m_slots;
    std::size_t m_names = 0;

    bool m_plain = false;
    std::unordered_map<std::string, DefNameId> m_plainNames;
};

// The text with a to z upper-cased, every other byte as it is.
[[nodiscard]] std::string toUpperAscii(std::string_view text);

} // namespace tessaplex::world
