// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessaplex::app {

// The text an error is shown with: a full stop is appended when the last character comes after
// "." in character-code order (a letter, a digit, "\" and the like). "Cannot open file " with an
// empty path thus stays as it is.
[[nodiscard]] std::string errorText(std::string message);

} // namespace tessaplex::app
