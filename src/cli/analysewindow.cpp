// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analysewindow.h"

#include "app/session.h"
#include "app/startdirectory.h"
#include "cli/terminalgauge.h"

#include <CLI/CLI.hpp>

namespace tessaplex::cli {

void AnalyseWindow::addTo(CLI::App *command) {
    command
        ->add_option("--start", start,
                     "First line of the window, counted from 0 (the \"Startline\" field)")
        ->capture_default_str();
    command->add_option("--lines", lines,
                        "Number of lines of the window (the \"Lines\" field); default: every "
                        "line of the world file");
}

world::AnalyseOutcome AnalyseWindow::analyse(app::Session &session) const {
    std::string count = lines;
    if (count.empty()) {
        const std::string worldFile =
            session.settings().readText(app::SettingsSection, app::keys::WorldFileRead);
        std::size_t total = 0;
        if (app::fileExists(worldFile)) {
            world::LineList list;
            list.readFile(app::nativePath(worldFile));
            total = list.size();
        }
        count = std::to_string(total);
    }
    TerminalGauge gauge;
    return session.analyse(start, count, gauge);
}

} // namespace tessaplex::cli
