// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/defnameindex.h"

#include "base/parallelism.h"

#include <algorithm>
#include <cstring>

namespace tessaplex::world {

namespace {

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

void DefNameIndex::add(std::string_view name, DefNameId id) {
    // An empty index may take either way; once it holds names, it keeps the way they are in.
    if (m_names == 0 && m_plainNames.empty())
        m_plain = kernels() == Kernels::Plain;
    if (m_plain) {
        m_plainNames.try_emplace(toUpperAscii(name), id);
        return;
    }
    const NameKey key(name);
    if (findSlot(key))
        return;
    Slot slot;
    slot.hash = key.hash();
    slot.length = static_cast<std::uint32_t>(key.length() + 1);
    for (std::size_t k = 0; k < 2 && k < key.wordCount(); ++k)
        slot.head[k] = key.words()[k];
    slot.rest = static_cast<std::uint32_t>(m_words.size());
    if (key.wordCount() > 2)
        m_words.insert(m_words.end(), key.words() + 2, key.words() + key.wordCount());
    slot.id = id;
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

const DefNameId *DefNameIndex::find(std::string_view name) const {
    if (m_plain) {
        const auto found = m_plainNames.find(toUpperAscii(name));
        return found == m_plainNames.end() ? nullptr : &found->second;
    }
    const Slot *slot = findSlot(NameKey(name));
    return slot ? &slot->id : nullptr;
}

void DefNameIndex::place(const Slot &slot) {
    const std::size_t mask = m_slots.size() - 1;
    auto at = static_cast<std::size_t>(slot.hash) & mask;
    while (m_slots[at].length != 0)
        at = (at + 1) & mask;
    m_slots[at] = slot;
}

const DefNameIndex::Slot *DefNameIndex::findSlot(const NameKey &name) const {
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

} // namespace tessaplex::world
