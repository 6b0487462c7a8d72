// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace CLI {
class App;
}

namespace tessaplex::app {
class Session;
}

namespace tessaplex::cli {

// One subcommand of tessaplex-cli. main() sets every command up, parses the command line and runs
// the one that was given. A command that cannot go on throws tessaplex::Error.
class Command {
public:
    virtual ~Command() = default;
    // Adds the subcommand with its options to the program and returns it.
    virtual CLI::App *setUp(CLI::App &program) = 0;
    // Runs after parsing, in the start directory; returns the exit code.
    virtual int run(app::Session &session) = 0;
};

std::unique_ptr<Command> makeAnalyseCommand();
std::unique_ptr<Command> makeInfoCommand();
std::unique_ptr<Command> makePatchCommand();
std::unique_ptr<Command> makeFindCommand();
std::unique_ptr<Command> makeArtCommand();

} // namespace tessaplex::cli
