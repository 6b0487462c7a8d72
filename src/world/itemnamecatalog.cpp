// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemnamecatalog.h"

#include "world/linelist.h"
#include "world/numberrules.h"

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

} // namespace

void ItemNameCatalog::scan(const LineList &lines) {
    (void)lines.forEachLine(0, lines.size(), [this](std::size_t, std::string_view line) {
        scanLine(line);
        return true;
    });
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
        // Only the first entry of a name can be found; later ones are counted, not stored.
        m_index.add(line.substr(DefName.size()), m_openSlot);
        ++m_committed;
        // The slot's ID stays only until the next ITEMDEF line, and a second DEFNAME under the
        // same ITEMDEF line gets none.
        m_openSlot = Id{};
    }
}

std::optional<ItemNameCatalog::Id> ItemNameCatalog::lookup(std::string_view name) const {
    const Id *id = m_index.find(name);
    if (!id)
        return std::nullopt;
    return *id;
}

std::string ItemNameCatalog::lookupText(std::string_view name) const {
    const auto id = lookup(name);
    if (!id)
        return "#NOT FOUND";
    return id->form == IdForm::Empty ? std::string() : upperIdText(id->value);
}

} // namespace tessaplex::world
