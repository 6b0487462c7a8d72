// SPDX-License-Identifier: GPL-3.0-or-later
// tessaplex-cli: the commands of the desktop program without a window.
#include "app/errortext.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "cli/terminalgauge.h"
#include "world/error.h"
#include "world/itemtable.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

using namespace tessaplex;

namespace {

// The item table as TSV: the heading row and one line per item, cells separated by TAB.
void printTable(const world::ItemTable &table)
{
    std::string out;
    out.reserve(1 << 20);
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < world::ColumnCount; ++column) {
            if (column)
                out.push_back('\t');
            table.appendCellText(out, static_cast<world::Column>(column), row);
        }
        out.push_back('\n');
        if (out.size() >= (1 << 20) - 256) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

struct WindowOptions {
    std::string start = "0";
    std::string lines; // empty: the whole file
};

void addWindowOptions(CLI::App *command, WindowOptions &window)
{
    command->add_option("--start", window.start,
                        "First line of the window, counted from 0 (the \"Startline\" field)")
        ->capture_default_str();
    command->add_option("--lines", window.lines,
                        "Number of lines of the window (the \"Lines\" field); default: every "
                        "line of the world file");
}

// Runs Analyse as the window would with these fields. Without --lines, the window covers the
// whole world file, counted as the information dialog counts it.
world::AnalyseOutcome runAnalyse(app::Session &session, const WindowOptions &window)
{
    std::string lines = window.lines;
    if (lines.empty()) {
        const std::string worldFile =
            session.settings().readText(app::SettingsSection, app::keys::WorldFileRead);
        std::size_t count = 0;
        if (app::fileExists(worldFile)) {
            world::LineList list;
            list.readFile(app::nativePath(worldFile));
            count = list.size();
        }
        lines = std::to_string(count);
    }
    cli::TerminalGauge gauge;
    return session.analyse(window.start, lines, gauge);
}

} // namespace

int main(int argc, char **argv)
{
    CLI::App cli{"Tessaplex: turns the placed items of a Sphere world save into client statics.\n"
                 "Works in the current directory (or DIR with -C), which holds qelm.ini, "
                 "qelmfile.txt and qelmitem.txt, as the desktop program does.",
                 "tessaplex-cli"};
    cli.require_subcommand(1);
    std::string directory;
    cli.add_option("-C", directory, "Change into DIR before anything else")->type_name("DIR");

    WindowOptions analyseWindow;
    CLI::App *analyse = cli.add_subcommand(
        "analyse", "List the items of the line window as TSV: the heading row, then one row per "
                   "item, 10 TAB-separated cells");
    addWindowOptions(analyse, analyseWindow);

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return cli.exit(e);
    }

    try {
        if (!directory.empty())
            std::filesystem::current_path(app::nativePath(directory));
        app::Session session(app::currentStartDirectory());

        if (analyse->parsed()) {
            if (runAnalyse(session, analyseWindow) == world::AnalyseOutcome::Listed)
                printTable(session.table());
        }
        return 0;
    } catch (const Error &e) {
        std::cerr << app::errorText(e.what()) << '\n';
    } catch (const std::filesystem::filesystem_error &e) {
        std::cerr << app::errorText("Cannot change into " + directory) << '\n';
    } catch (const std::exception &e) {
        std::cerr << app::errorText(e.what()) << '\n';
    }
    return 1;
}
