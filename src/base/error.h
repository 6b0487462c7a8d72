// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace tessaplex {

// The one exception a command ends with. what() is the exact text the operator reads,
// before the shell's full-stop rule (see app/errortext.h) is applied.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string &message)
        : std::runtime_error(message) {}
};

} // namespace tessaplex
