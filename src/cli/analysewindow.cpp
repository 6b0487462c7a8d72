// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/analysewindow.h"

#include "app/session.h"
#include "cli/mapoption.h"
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
    addMapOption(command);
}

world::AnalyseOutcome AnalyseWindow::analyse(app::Session &session) const {
    TerminalGauge gauge;
    const world::AnalyseOutcome outcome = lines.empty() ? session.analyseAllLines(start, gauge)
                                                        : session.analyse(start, lines, gauge);
    reportItemsWithMapNumber(session);
    return outcome;
}

} // namespace tessaplex::cli
