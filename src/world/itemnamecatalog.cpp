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

// Eight bytes of a name, upper-cased at once: each of a to z loses its 0x20 bit, every other
// byte (bytes from 0x80 included) stays as it is.
std::uint64_t upperWord(std::uint64_t w) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    const std::uint64_t low7 = w & (0x7f * Ones);
    const std::uint64_t atLeastA = low7 + (0x80 - 'a') * Ones;
    const std::uint64_t aboveZ = low7 + (0x7f - 'z') * Ones;
    const std::uint64_t isLower = atLeastA & ~aboveZ & ~w & (0x80 * Ones);
    return w - (isLower >> 2);
}

// The first n bytes at p (n below 8), little-endian, the rest zero.
std::uint64_t partialWord(const char *p, std::size_t n) {
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < n; ++i)
        w |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    return w;
}

std::uint64_t wordAt(const char *p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

} // namespace

// A def name upper-cased into little-endian words of 8 bytes, the last one padded with zeros,
// and its hash: comparing two names is comparing a few words.
class NameKey {
public:
    explicit NameKey(std::string_view name)
        : m_length(name.size()) {
        const std::size_t count = (name.size() + 7) / 8;
        if (count > sizeof m_small / sizeof m_small[0]) {
            m_large.resize(count);
            m_words = m_large.data();
        }
        std::uint64_t h = 0x9e3779b97f4a7c15ull ^ name.size();
        std::size_t i = 0;
        for (std::size_t k = 0; k < count; ++k, i += 8) {
            const std::size_t left = name.size() - i;
            const std::uint64_t w =
                upperWord(left >= 8 ? wordAt(name.data() + i) : partialWord(name.data() + i, left));
            m_words[k] = w;
            h = (h ^ w) * 0xff51afd7ed558ccdull;
            h ^= h >> 32;
        }
        m_hash = h;
        m_count = count;
    }
    NameKey(const NameKey &) = delete;
    NameKey &operator=(const NameKey &) = delete;

    [[nodiscard]] std::size_t length() const { return m_length; }
    [[nodiscard]] std::uint64_t hash() const { return m_hash; }
    [[nodiscard]] const std::uint64_t *words() const { return m_words; }
    [[nodiscard]] std::size_t wordCount() const { return m_count; }

private:
    std::uint64_t m_small[16];
    std::vector<std::uint64_t> m_large;
    std::uint64_t *m_words = m_small;
    std::size_t m_length;
    std::size_t m_count = 0;
    std::uint64_t m_hash = 0;
};

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
        const NameKey name(line.substr(DefName.size()));
        // Only the first entry of a name can be found; later ones are counted, not stored.
        if (!find(name)) {
            Slot slot;
            slot.hash = name.hash();
            slot.length = static_cast<std::uint32_t>(name.length() + 1);
            for (std::size_t k = 0; k < 2 && k < name.wordCount(); ++k)
                slot.head[k] = name.words()[k];
            slot.rest = static_cast<std::uint32_t>(m_words.size());
            if (name.wordCount() > 2)
                m_words.insert(m_words.end(), name.words() + 2, name.words() + name.wordCount());
            slot.id = m_openSlot;
            ++m_names;
            if (m_names * 2 > m_slots.size()) {
                // Keep the table at most half full, so that probes stay short.
                std::vector<Slot> old(std::max<std::size_t>(64, m_slots.size() * 2));
                old.swap(m_slots);
                for (const Slot &s : old) {
                    if (s.length)
                        place(s);
                }
            }
            place(slot);
        }
        ++m_committed;
        // The slot's ID stays only until the next ITEMDEF line, and a second DEFNAME under the
        // same ITEMDEF line gets none.
        m_openSlot = Id{};
    }
}

void ItemNameCatalog::place(const Slot &slot) {
    const std::size_t mask = m_slots.size() - 1;
    auto at = static_cast<std::size_t>(slot.hash) & mask;
    while (m_slots[at].length != 0)
        at = (at + 1) & mask;
    m_slots[at] = slot;
}

const ItemNameCatalog::Slot *ItemNameCatalog::find(const NameKey &name) const {
    if (m_slots.empty())
        return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    const auto length = static_cast<std::uint32_t>(name.length() + 1);
    const std::uint64_t *words = name.words();
    const std::uint64_t head1 = name.wordCount() > 1 ? words[1] : 0;
    for (auto at = static_cast<std::size_t>(name.hash()) & mask; m_slots[at].length != 0;
         at = (at + 1) & mask) {
        const Slot &slot = m_slots[at];
        if (slot.hash != name.hash() || slot.length != length ||
            slot.head[0] != (name.wordCount() ? words[0] : 0) || slot.head[1] != head1)
            continue;
        std::size_t k = 2;
        while (k < name.wordCount() && m_words[slot.rest + k - 2] == words[k])
            ++k;
        if (k >= name.wordCount())
            return &slot;
    }
    return nullptr;
}

std::optional<ItemNameCatalog::Id> ItemNameCatalog::lookup(std::string_view name) const {
    const Slot *slot = find(NameKey(name));
    if (!slot)
        return std::nullopt;
    return slot->id;
}

std::string ItemNameCatalog::lookupText(std::string_view name) const {
    const auto id = lookup(name);
    if (!id)
        return "#NOT FOUND";
    return id->form == IdForm::Empty ? std::string() : upperIdText(id->value);
}

} // namespace tessaplex::world
