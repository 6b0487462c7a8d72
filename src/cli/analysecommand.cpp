// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "base/error.h"
#include "cli/analysewindow.h"
#include "cli/command.h"
#include "world/itemtable.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>

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

// A tiledata name as one TSV cell: control characters, which would split the cell or the row,
// become spaces.
std::string cellOfName(std::string name) {
    for (char &c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return name;
}

// The item table as TSV with an 11th column "NAME": the tiledata name of the row's ID.
void printTableWithNames(app::Session &session) {
    const world::ItemTable &table = session.table();
    std::unordered_map<std::uint32_t, std::string> names; // by ID: few IDs, many rows
    std::string out;
    for (int row = 0; row < table.rowCount(); ++row) {
        table.appendTsvRow(out, row);
        out.back() = '\t';
        if (row == 0) {
            out += "NAME";
        } else {
            const std::uint32_t id = table.idValue(row);
            auto found = names.find(id);
            if (found == names.end()) {
                const auto tile = session.clientFiles().tileData(session.settings(), id);
                found = names.emplace(id, tile ? cellOfName(tile->name) : std::string()).first;
            }
            out += found->second;
        }
        out += '\n';
        if (out.size() >= (1u << 20)) {
            writeOut(out);
            out.clear();
        }
    }
    writeOut(out);
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
        command->add_flag("--names", m_names,
                          "Add an 11th column \"NAME\": the name the tiledata file named by "
                          "\"Tiledata\" gives the row's ID (empty when it gives none)");
        return command;
    }

    int run(app::Session &session) override {
        if (m_names &&
            session.settings().readText(app::SettingsSection, app::keys::Tiledata).empty()) {
            std::fprintf(stderr, "\"Tiledata\" names no file: the column NAME stays empty\n");
        }
        if (m_window.analyse(session) != world::AnalyseOutcome::Listed)
            return 0;
        if (m_names)
            printTableWithNames(session);
        else
            printTable(session.table());
        return 0;
    }

private:
    AnalyseWindow m_window;
    bool m_names = false;
};

} // namespace

std::unique_ptr<Command> makeAnalyseCommand() {
    return std::make_unique<AnalyseCommand>();
}

} // namespace tessaplex::cli
