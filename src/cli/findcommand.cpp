// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "cli/analysewindow.h"
#include "cli/command.h"
#include "selection/search.h"
#include "selection/searchquery.h"
#include "world/itemtable.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace tessaplex::cli {

namespace {

class FindCommand : public Command {
public:
    CLI::App *setUp(CLI::App &program) override {
        CLI::App *command = program.add_subcommand(
            "find", "Analyse, then print the number of the first item row that matches, as the "
                    "group \"Search\" finds it; print nothing and exit with 1 when none does");
        m_window.addTo(command);
        CLI::Option_group *query = command->add_option_group("query", "What to look for");
        m_idOption = query->add_option(
            "--id", m_id,
            "Search by item ID, read as the ID field is: with a lower-case x as second character "
            "the rest is hex (\"0x0eed\"), otherwise the decimal rule applies (\"$\", \"X\" "
            "and \"0X\" give hex too) and a value from 16384 up is an art entry number; fewer "
            "than two characters search nothing");
        m_idOption->type_name("TEXT");
        query
            ->add_option("--pos", m_position,
                         "Search by position: X,Y with either part left empty to look at the "
                         "other coordinate only (\"1000,\" or \",500\")")
            ->type_name("X,Y")
            ->check(
                [](const std::string &text) {
                    return text.find(',') == std::string::npos
                               ? std::string("--pos needs X,Y (either part may be empty)")
                               : std::string();
                },
                "");
        query->require_option(1);
        m_fromOption =
            command
                ->add_option("--from", m_from,
                             "Find Next: start after this selected row instead of at row 1; no "
                             "wrap-around")
                ->type_name("ROW")
                ->check(CLI::NonNegativeNumber);
        return command;
    }

    int run(app::Session &session) override {
        m_window.analyse(session);
        const world::ItemTable &table = session.table();
        // Without an analysed table the grid's rows are blank and name no item.
        if (!table.isAnalysed())
            return 1;
        const std::optional<int> row = m_fromOption->count() != 0
                                           ? selection::findNextRow(table, query(), m_from)
                                           : selection::findRow(table, query());
        if (!row)
            return 1;
        std::printf("%d\n", *row);
        return 0;
    }

private:
    [[nodiscard]] selection::SearchQuery query() const {
        if (m_idOption->count() != 0)
            return selection::SearchQuery::byId(m_id);
        const auto comma = m_position.find(',');
        return selection::SearchQuery::byPosition(std::string_view(m_position).substr(0, comma),
                                                  std::string_view(m_position).substr(comma + 1));
    }

    AnalyseWindow m_window;
    std::string m_id;
    std::string m_position;
    int m_from = 0;
    CLI::Option *m_idOption = nullptr;
    CLI::Option *m_fromOption = nullptr;
};

} // namespace

std::unique_ptr<Command> makeFindCommand() {
    return std::make_unique<FindCommand>();
}

} // namespace tessaplex::cli
