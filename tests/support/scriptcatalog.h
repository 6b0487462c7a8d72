// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/itemnamecatalog.h"

#include <string>
#include <vector>

namespace tessaplex::test {

// The catalog of item script texts, each scanned as one script file, in the order given.
[[nodiscard]] world::ItemNameCatalog catalogOf(const std::vector<std::string> &scriptTexts);

} // namespace tessaplex::test
