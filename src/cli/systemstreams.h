// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tessaplex::cli {

// Standard output and error pass every byte as it is written, so that the TSV and the messages
// are the same bytes on every system (Windows would turn each "\n" into "\r\n").
void useBinaryStandardStreams();

// The arguments after the program's name as UTF-8 text, whatever the system's code page, so
// that a folder of any name can be given; in CLI11's order, the last one first.
[[nodiscard]] std::vector<std::string> argumentsOf(int argc, char **argv);

} // namespace tessaplex::cli
