// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/analyse.h"

#include <string>

namespace CLI {
class App;
}

namespace tessaplex::app {
class Session;
}

namespace tessaplex::cli {

// The "Startline" and "Lines" fields as options, shared by every command that analyses first,
// with --map beside them (main() hands it to the session before anything else).
struct AnalyseWindow {
    std::string start = "0";
    std::string lines; // empty: every line of the world file

    void addTo(CLI::App *command);
    // Runs Analyse as the window's "Analyse" button would with these fields. Without --lines the
    // window covers the whole world file, counted as the information dialog counts it. Items
    // that carry a map number, listed as written, are reported on standard error.
    world::AnalyseOutcome analyse(app::Session &session) const;
};

} // namespace tessaplex::cli
