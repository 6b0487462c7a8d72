// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "base/error.h"
#include "cli/analysewindow.h"
#include "cli/command.h"
#include "cli/markoptions.h"
#include "cli/terminalgauge.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace tessaplex::cli {

namespace {

constexpr const char *TooManyMarks = "You can only select 500.000 items";

void printPlan(const patch::PatchPlan &plan) {
    std::printf("Items: %zu\nBlocks touched: %lu\nLines removed: %llu\n", plan.items,
                static_cast<unsigned long>(plan.blocksTouched),
                static_cast<unsigned long long>(plan.linesRemoved));
    if (plan.items == 0) {
        std::printf("No file is written\n");
        return;
    }
    std::printf("Staidx: %s (%llu bytes, %lu records)\nStatics: %s (%llu bytes)\n"
                "Worldfile: %s (%llu bytes)\n",
                plan.staidx.c_str(), static_cast<unsigned long long>(plan.indexBytes),
                static_cast<unsigned long>(plan.indexRecords), plan.statics.c_str(),
                static_cast<unsigned long long>(plan.dataBytes), plan.world.c_str(),
                static_cast<unsigned long long>(plan.worldBytes));
}

class PatchCommand : public Command {
public:
    CLI::App *setUp(CLI::App &program) override {
        m_command = program.add_subcommand(
            "patch", "Analyse, apply the marks in the order given, then PATCH: merge the marked "
                     "items into new static map files and rewrite the world file without them. "
                     "Prints \"Process finished\"; with more than 500,000 marked items it prints "
                     "\"You can only select 500.000 items\", changes nothing and exits with 1");
        m_window.addTo(m_command);
        m_marks.addTo(m_command);
        m_command->add_flag("--dry-run", m_dryRun,
                            "Check everything PATCH checks and print what it would write (items, "
                            "blocks touched, lines removed, the files and their new sizes), "
                            "writing nothing");
        return m_command;
    }

    int run(app::Session &session) override {
        m_window.analyse(session);
        // PATCH is enabled only once an analysis has listed the window.
        if (!session.table().isAnalysed())
            throw Error("Nothing was listed: PATCH needs an analysis of the world file first");
        m_marks.apply(session, *m_command);

        if (m_dryRun) {
            const auto plan = session.planPatch();
            if (!plan) {
                std::printf("%s\n", TooManyMarks);
                return 1;
            }
            printPlan(*plan);
            return 0;
        }
        TerminalGauge gauge;
        if (session.patch(gauge) == app::Session::PatchOutcome::TooManyMarks) {
            std::printf("%s\n", TooManyMarks);
            return 1;
        }
        std::printf("Process finished\n");
        return 0;
    }

private:
    CLI::App *m_command = nullptr;
    AnalyseWindow m_window;
    MarkOptions m_marks;
    bool m_dryRun = false;
};

} // namespace

std::unique_ptr<Command> makePatchCommand() {
    return std::make_unique<PatchCommand>();
}

} // namespace tessaplex::cli
