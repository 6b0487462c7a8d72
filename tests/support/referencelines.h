// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::world {
class LineList;
}

namespace tessaplex::test {

// Every line of the list, copied.
[[nodiscard]] std::vector<std::string> linesOf(const world::LineList &list);

// The line cutting rules written out plainly, one character at a time, to compare the fast
// splitter with: CR LF, LF and CR end a line, a NUL byte ends the text, and a line end at the very
// end adds no empty line.
[[nodiscard]] std::vector<std::string> referenceLines(std::string_view bytes);

} // namespace tessaplex::test
