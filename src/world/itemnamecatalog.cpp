// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemnamecatalog.h"

#include "world/linelist.h"
#include "world/numberrules.h"

#include <algorithm>
#include <cstring>

namespace tessaplex::world {

namespace {

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// A multiply-mix over 8 bytes at a time; def names are short, so this is a few multiplications.
std::uint64_t hashBytes(std::string_view text) {
    std::uint64_t h = 0x9e3779b97f4a7c15ull ^ text.size();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        h = (h ^ word) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, text.data() + i, text.size() - i);
    h = (h ^ tail) * 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 29);
}

// True when the line's first characters, upper-cased, are prefix.
bool startsWithUpper(std::string_view line, std::string_view prefix) {
    if (line.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (upperAscii(line[i]) != prefix[i])
            return false;
    }
    return true;
}

// The upper-cased name, in a stack buffer when it fits.
class UpperName {
public:
    explicit UpperName(std::string_view name) {
        char *out = m_small;
        if (name.size() > sizeof m_small) {
            m_large.resize(name.size());
            out = m_large.data();
        }
        for (std::size_t i = 0; i < name.size(); ++i)
            out[i] = upperAscii(name[i]);
        m_text = {out, name.size()};
    }
    UpperName(const UpperName &) = delete;
    UpperName &operator=(const UpperName &) = delete;
    [[nodiscard]] std::string_view text() const { return m_text; }

private:
    char m_small[128];
    std::string m_large;
    std::string_view m_text;
};

} // namespace

std::string toUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return upper;
}

void ItemNameCatalog::scan(const LineList &lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        scanLine(lines.line(i));
}

void ItemNameCatalog::scanLine(std::string_view line) {
    if (line.empty())
        return;
    constexpr std::string_view ItemDef = "[ITEMDEF ";
    constexpr std::string_view DefName = "DEFNAME=";
    if (startsWithUpper(line, ItemDef)) {
        std::string_view name = line.substr(ItemDef.size());
        if (!name.empty() && name.back() == ']')
            name.remove_suffix(1);
        else
            name = name.substr(0, name.find(']'));
        // Lower-casing first, as the rule has it, changes nothing: the hex rule reads both cases.
        m_openSlot = {hexTextToInt(name), IdForm::Upper};
        return;
    }
    if (line.compare(0, DefName.size(), DefName) == 0) {
        const UpperName name(line.substr(DefName.size()));
        const std::uint64_t hash = hashBytes(name.text());
        // Only the first entry of a name can be found; later ones are counted, not stored.
        if (!find(name.text(), hash)) {
            Entry entry;
            entry.offset = static_cast<std::uint32_t>(m_names.size());
            entry.length = static_cast<std::uint32_t>(name.text().size());
            entry.hash = hash;
            entry.id = m_openSlot;
            m_names.append(name.text());
            m_entries.push_back(entry);
            if ((m_entries.size() + 1) * 2 > m_slots.size()) {
                // Keep the table at most half full, so that probes stay short.
                m_slots.assign(std::max<std::size_t>(64, m_slots.size() * 2), 0);
                for (std::size_t i = 0; i < m_entries.size(); ++i)
                    insertSlot(static_cast<std::uint32_t>(i));
            } else {
                insertSlot(static_cast<std::uint32_t>(m_entries.size() - 1));
            }
        }
        ++m_committed;
        // The slot's ID stays only until the next ITEMDEF line, and a second DEFNAME under the
        // same ITEMDEF line gets none.
        m_openSlot = Id{};
    }
}

void ItemNameCatalog::insertSlot(std::uint32_t entry) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = static_cast<std::size_t>(m_entries[entry].hash) & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = entry + 1;
}

const ItemNameCatalog::Entry *ItemNameCatalog::find(std::string_view upper,
                                                    std::uint64_t hash) const {
    if (m_slots.empty())
        return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask; m_slots[slot] != 0;
         slot = (slot + 1) & mask) {
        const Entry &entry = m_entries[m_slots[slot] - 1];
        if (entry.hash == hash && entry.length == upper.size() &&
            std::memcmp(m_names.data() + entry.offset, upper.data(), upper.size()) == 0)
            return &entry;
    }
    return nullptr;
}

std::optional<ItemNameCatalog::Id> ItemNameCatalog::lookup(std::string_view name) const {
    const UpperName upper(name);
    const Entry *entry = find(upper.text(), hashBytes(upper.text()));
    if (!entry)
        return std::nullopt;
    return entry->id;
}

std::string ItemNameCatalog::lookupText(std::string_view name) const {
    const auto id = lookup(name);
    if (!id)
        return "#NOT FOUND";
    return id->form == IdForm::Empty ? std::string() : upperIdText(id->value);
}

} // namespace tessaplex::world
