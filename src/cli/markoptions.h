// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace tessaplex::app {
class Session;
}

namespace tessaplex::cli {

// The mark options of "info" and "patch", applied after Analyse in command-line order:
// --all, --none, --id/--no-id TEXT, --block/--no-block TEXT, --row/--unrow N, --filter.
class MarkOptions {
public:
    void addTo(CLI::App *command);
    // Applies the marks in the order they stood on the command line.
    void apply(app::Session &session, const CLI::App &command) const;

private:
    std::vector<std::string> m_ids, m_noIds, m_blocks, m_noBlocks;
    std::vector<int> m_rows, m_unrows;
    CLI::Option *m_all = nullptr;
    CLI::Option *m_none = nullptr;
    CLI::Option *m_filter = nullptr;
};

} // namespace tessaplex::cli
