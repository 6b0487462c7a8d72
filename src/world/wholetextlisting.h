// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "world/linelist.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::world {

class ItemTable;

// The bytes one step of the gauge stands for while a whole text is listed: how many lines it
// has is not known before.
inline constexpr std::size_t WholeTextUnit = std::size_t{1} << 16;

// A section takes at least this many bytes: a header of 12 characters and two line ends.
inline constexpr std::size_t SmallestSection = 14;

// Where a listed stretch of text ended: the lines in it, and where the text ends (the end of the
// stretch, or a NUL byte in it).
struct PieceEnd {
    std::size_t lines = 0;
    std::size_t textSize = 0;
};

// Lists the stretch [from, to) of the text into table, numbering its lines from firstLine on;
// adds to marks where every MarkStep-th of its lines begins, counting from its first; advances
// gauge, when there is one, over its bytes in steps of WholeTextUnit.
using ListStretch = std::function<PieceEnd(std::size_t from, std::size_t to, std::size_t firstLine,
                                           ItemTable &table, MarkRun &marks, ProgressGauge *gauge)>;

// Lists every line of bytes into table, whose analysis has started, and returns how the text
// cuts into lines. Where the parallelism switch calls for it, the work goes to two threads:
// listStretch runs on stretches that begin right after empty lines, where no section is open,
// and the table and the gauge end up as one pass over all the bytes leaves them.
[[nodiscard]] LineCut listWholeText(std::string_view bytes, ItemTable &table, ProgressGauge &gauge,
                                    const ListStretch &listStretch);

} // namespace tessaplex::world
