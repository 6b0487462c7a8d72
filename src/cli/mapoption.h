// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace CLI {
class App;
}

namespace tessaplex::app {
class Session;
}

namespace tessaplex::cli {

// --map N (0 to 5) or --map as-written: the map whose items a command lists and patches, for
// this run only, in place of the "Map" setting. Anything else is a usage error.
void addMapOption(CLI::App *command);
// Hands a --map given to command to the session; without one the setting stays in force.
void applyMapOption(const CLI::App &command, app::Session &session);

// After an analysis made as written: tells the operator on standard error how many listed items
// carry a map number, since PATCH cannot place them until a map is chosen. Silent for none.
void reportItemsWithMapNumber(const app::Session &session);

// 1234567 as "1,234,567".
[[nodiscard]] std::string withThousandsSeparators(std::size_t number);

} // namespace tessaplex::cli
