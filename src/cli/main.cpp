// SPDX-License-Identifier: GPL-3.0-or-later
// tessaplex-cli: the commands of the desktop program without a window.
#include "app/errortext.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "cli/command.h"
#include "cli/mapoption.h"
#include "cli/systemstreams.h"
#include "io/systempath.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace tessaplex;

int main(int argc, char **argv) {
    cli::useBinaryStandardStreams();
    CLI::App program{"Tessaplex: turns the placed items of a Sphere world save into client "
                     "statics.\nWorks in the current directory (or DIR with -C), which holds "
                     "qelm.ini, qelmfile.txt and qelmitem.txt, as the desktop program does.",
                     "tessaplex-cli"};
    program.require_subcommand(1);
    std::string directory;
    program.add_option("-C", directory, "Change into DIR before anything else")->type_name("DIR");

    std::vector<std::unique_ptr<cli::Command>> commands;
    commands.push_back(cli::makeAnalyseCommand());
    commands.push_back(cli::makeInfoCommand());
    commands.push_back(cli::makePatchCommand());
    commands.push_back(cli::makeFindCommand());
    commands.push_back(cli::makeArtCommand());

    std::vector<std::pair<CLI::App *, cli::Command *>> subcommands;
    for (auto &command : commands)
        subcommands.emplace_back(command->setUp(program), command.get());

    try {
        std::vector<std::string> arguments = cli::argumentsOf(argc, argv);
        program.parse(arguments);
    } catch (const CLI::ParseError &e) {
        return program.exit(e);
    }

    try {
        if (!directory.empty())
            std::filesystem::current_path(io::systemPath(app::nativePath(directory)));
        app::Session session(app::currentStartDirectory());
        // Standard output carries a command's results; what the session did of its own
        // accord goes to the operator beside them.
        session.setNoticeReceiver([](const std::string &text) { std::cerr << text << '\n'; });
        const auto given = std::find_if(subcommands.begin(), subcommands.end(),
                                        [](const auto &entry) { return entry.first->parsed(); });
        if (given != subcommands.end())
            cli::applyMapOption(*given->first, session);
        session.settleInterruptedPatch();
        return given != subcommands.end() ? given->second->run(session) : 0;
    } catch (const Error &e) {
        std::cerr << app::errorText(e.what()) << '\n';
    } catch (const std::filesystem::filesystem_error &) {
        std::cerr << app::errorText("Cannot change into " + directory) << '\n';
    } catch (const std::exception &e) {
        std::cerr << app::errorText(e.what()) << '\n';
    }
    return 1;
}
