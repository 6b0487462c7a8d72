// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/itemnamecatalog.h"

#include "world/linelist.h"
#include "world/numberrules.h"

namespace tessaplex::world {

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
    if (line.size() >= ItemDef.size() && toUpperAscii(line.substr(0, ItemDef.size())) == ItemDef) {
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
        m_first.try_emplace(toUpperAscii(line.substr(DefName.size())), m_openSlot);
        ++m_committed;
        // The slot's ID stays only until the next ITEMDEF line, and a second DEFNAME under the
        // same ITEMDEF line gets none.
        m_openSlot = Id{};
    }
}

std::optional<ItemNameCatalog::Id> ItemNameCatalog::lookup(std::string_view name) const {
    const auto it = m_first.find(toUpperAscii(name));
    if (it == m_first.end())
        return std::nullopt;
    return it->second;
}

std::string ItemNameCatalog::lookupText(std::string_view name) const {
    const auto id = lookup(name);
    if (!id)
        return "#NOT FOUND";
    return id->form == IdForm::Empty ? std::string() : upperIdText(id->value);
}

} // namespace tessaplex::world
