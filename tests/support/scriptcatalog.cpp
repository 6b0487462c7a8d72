// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptcatalog.h"

#include "world/linelist.h"

namespace tessaplex::test {

world::ItemNameCatalog catalogOf(const std::vector<std::string> &scriptTexts) {
    world::ItemNameCatalog catalog;
    for (const std::string &text : scriptTexts) {
        world::LineList lines;
        lines.setBytes(text);
        catalog.scan(lines);
    }
    return catalog;
}

} // namespace tessaplex::test
