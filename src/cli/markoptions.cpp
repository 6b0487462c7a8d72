// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/markoptions.h"

#include "app/filtersettings.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "cli/terminalgauge.h"
#include "selection/filter.h"
#include "selection/marks.h"

#include <CLI/CLI.hpp>

#include <map>

namespace tessaplex::cli {

namespace {

// "&OK" with what the Filter dialog shows when it opens: the entries of the filter list file
// (none when it is missing, as the dialog's list is at the start of a run) and the stored area.
void applyStoredFilter(app::Session &session) {
    selection::FilterEntries entries;
    selection::reloadFilterList(session.ownFilePath(app::FilterListFileName), entries);
    TerminalGauge gauge;
    selection::applyFilter(session.table(), entries,
                           selection::storedFilterArea(session.settings()), gauge);
}

} // namespace

void MarkOptions::addTo(CLI::App *command) {
    auto takeAll = [](CLI::Option *option) {
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)->type_size(1)->expected(1);
        return option;
    };
    m_all = command->add_flag("--all", "Mark every item row (\"All\")")
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    m_none = command->add_flag("--none", "Unmark every item row (\"None\")")
                 ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    m_filter = command
                   ->add_flag("--filter",
                              "Apply the filter list qelmitem.txt and the stored filter area, as "
                              "the Filter dialog's \"OK\" does (the file is not rewritten)")
                   ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    takeAll(
        command->add_option("--id", m_ids, "Mark every row whose ID cell is TEXT (\"All of #\")")
            ->type_name("TEXT"));
    takeAll(command
                ->add_option("--no-id", m_noIds,
                             "Unmark every row whose ID cell is TEXT (\"None of #\")")
                ->type_name("TEXT"));
    takeAll(command
                ->add_option("--block", m_blocks,
                             "Mark every row whose BLOCK cell is TEXT (\"All of B#\")")
                ->type_name("TEXT"));
    takeAll(command
                ->add_option("--no-block", m_noBlocks,
                             "Unmark every row whose BLOCK cell is TEXT (\"None of B#\")")
                ->type_name("TEXT"));
    takeAll(command->add_option("--row", m_rows, "Mark item row N, counted from 1 (Insert)")
                ->type_name("N"));
    takeAll(command->add_option("--unrow", m_unrows, "Unmark item row N, counted from 1 (Delete)")
                ->type_name("N"));
}

void MarkOptions::apply(app::Session &session, const CLI::App &command) const {
    auto &table = session.table();
    // How many values of each option were used so far, to pair each occurrence with its value.
    std::map<std::string, std::size_t> used;
    for (const CLI::Option *option : command.parse_order()) {
        const std::string name = option->get_name();
        const std::size_t index = used[name]++;
        if (option == m_all) {
            selection::markAll(table);
        } else if (option == m_none) {
            selection::unmarkAll(table);
        } else if (option == m_filter) {
            applyStoredFilter(session);
        } else if (name == "--id") {
            selection::markAllOf(table, world::Column::Id, m_ids.at(index));
        } else if (name == "--no-id") {
            selection::unmarkAllOf(table, world::Column::Id, m_noIds.at(index));
        } else if (name == "--block") {
            selection::markAllOf(table, world::Column::Block, m_blocks.at(index));
        } else if (name == "--no-block") {
            selection::unmarkAllOf(table, world::Column::Block, m_noBlocks.at(index));
        } else if (name == "--row" || name == "--unrow") {
            const int row = (name == "--row" ? m_rows : m_unrows).at(index);
            if (row < 1 || row >= table.rowCount())
                throw Error("Row " + std::to_string(row) + " is not an item row (1 to " +
                            std::to_string(table.rowCount() - 1) + ")");
            if (name == "--row")
                selection::setMark(table, row);
            else
                selection::clearMark(table, row);
        }
    }
}

} // namespace tessaplex::cli
