// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "patch/linerange.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {
class LineList;
}

namespace tessaplex::io {
class BufferedWriter;
}

namespace tessaplex::patch {

// The line end of the rewritten world file: LF alone with the "Unix" setting, else CR LF.
[[nodiscard]] constexpr std::string_view lineEndFor(bool unix) {
    return unix ? std::string_view("\n") : std::string_view("\r\n");
}

// Writes every line of lines that lies in none of the removed sections to out, in file order,
// each followed by lineEnd (the last one too). The sections must ascend without overlapping, each
// start at or before its end and every end below lines.size(), and their bytes be those of their
// lines. The gauge runs from 0 to the number of lines. False when a write failed.
[[nodiscard]] bool rewriteWorld(const world::LineList &lines, const RemovedSections &removed,
                                std::string_view lineEnd, io::BufferedWriter &out,
                                ProgressGauge &gauge);

// The size in bytes of what rewriteWorld writes.
[[nodiscard]] std::uint64_t rewrittenWorldSize(const world::LineList &lines,
                                               const RemovedSections &removed,
                                               std::string_view lineEnd);

} // namespace tessaplex::patch
