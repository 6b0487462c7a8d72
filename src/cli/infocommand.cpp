// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "cli/analysewindow.h"
#include "cli/command.h"
#include "cli/markoptions.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace tessaplex::cli {

namespace {

class InfoCommand : public Command {
public:
    CLI::App *setUp(CLI::App &program) override {
        m_command = program.add_subcommand(
            "info", "Analyse, apply the marks in the order given, then print what the world file "
                    "information dialog shows: \"Lines: N\", \"Selected Items: N\", \"Listed "
                    "Items: N\" and \"Lines to Remove: N\" (<FILE NOT FOUND> for each when "
                    "\"Worldfile\" names no file)");
        m_window.addTo(m_command);
        m_marks.addTo(m_command);
        return m_command;
    }

    int run(app::Session &session) override {
        m_window.analyse(session);
        // The mark buttons work only on a table that an analysis has filled.
        if (session.table().isAnalysed())
            m_marks.apply(session, *m_command);
        const auto info = session.worldFileInfo();
        if (!info) {
            std::printf("Lines: <FILE NOT FOUND>\nSelected Items: <FILE NOT FOUND>\n"
                        "Listed Items: <FILE NOT FOUND>\nLines to Remove: <FILE NOT FOUND>\n");
            return 0;
        }
        std::printf("Lines: %llu\nSelected Items: %lu\nListed Items: %d\nLines to Remove: %lu\n",
                    static_cast<unsigned long long>(info->lines),
                    static_cast<unsigned long>(info->selected), info->listed,
                    static_cast<unsigned long>(info->linesToRemove));
        return 0;
    }

private:
    CLI::App *m_command = nullptr;
    AnalyseWindow m_window;
    MarkOptions m_marks;
};

} // namespace

std::unique_ptr<Command> makeInfoCommand() {
    return std::make_unique<InfoCommand>();
}

} // namespace tessaplex::cli
