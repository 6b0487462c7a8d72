// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tessaplex::test {

// What a program run left behind: its exit code and everything it wrote.
struct ProcessResult {
    // The exit status; 128 + the signal number when a signal ended it, -1 when it could not be
    // started or was stopped for running longer than the time limit.
    int exitCode = -1;
    std::string out; // standard output, byte for byte
    std::string err; // standard error, byte for byte
};

// Runs program with args in workdir (the current folder when empty), with standard input at the
// null device, and waits for it. A run longer than timeoutSeconds is killed so that a hanging
// program fails its test instead of stalling the suite; err then says so.
[[nodiscard]] ProcessResult runProgram(const std::string &program,
                                       const std::vector<std::string> &args,
                                       const std::string &workdir = {}, int timeoutSeconds = 120);

#ifdef TESSAPLEX_CLI
// Runs the tessaplex-cli under test, for instance runCli({"-C", dir.path(), "analyse"}).
[[nodiscard]] inline ProcessResult runCli(const std::vector<std::string> &args,
                                          const std::string &workdir = {},
                                          int timeoutSeconds = 120) {
    return runProgram(TESSAPLEX_CLI, args, workdir, timeoutSeconds);
}
#endif

} // namespace tessaplex::test
