// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "base/error.h"
#include "cli/analysewindow.h"
#include "cli/command.h"
#include "world/itemtable.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace tessaplex::cli {

namespace {

// Writes bytes to standard output; a refused write (a full disk behind a redirection) ends the
// command, so that a cut-off table is never reported as success.
void writeOut(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        throw Error("Cannot write to standard output");
}

// The item table as TSV: the heading row and one line per item, cells separated by TAB.
void printTable(const world::ItemTable &table) {
    table.writeTsv([](std::string_view bytes) { writeOut(bytes); });
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw Error("Cannot write to standard output");
}

class AnalyseCommand : public Command {
public:
    CLI::App *setUp(CLI::App &program) override {
        CLI::App *command = program.add_subcommand(
            "analyse", "List the items of the line window as TSV: the heading row, then one row "
                       "per item with its 10 cells separated by TAB. Prints nothing when nothing "
                       "is to be listed");
        m_window.addTo(command);
        return command;
    }

    int run(app::Session &session) override {
        if (m_window.analyse(session) == world::AnalyseOutcome::Listed)
            printTable(session.table());
        return 0;
    }

private:
    AnalyseWindow m_window;
};

} // namespace

std::unique_ptr<Command> makeAnalyseCommand() {
    return std::make_unique<AnalyseCommand>();
}

} // namespace tessaplex::cli
