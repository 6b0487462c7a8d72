// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tessaplex::world {

// TSV text is handed on in pieces of at most this size.
inline constexpr std::size_t TsvPieceSize = std::size_t{1} << 20;

// The two ways a table formats its TSV rows, for writeTsvOnTwoThreads.
struct TsvRowWriters {
    // Formats the rows [first, last) and hands them on in pieces, in order: the one-thread way.
    std::function<void(int first, int last)> writeHere;
    // The bytes formatAt may write for the rows [first, last), at most.
    std::function<std::size_t(int first, int last)> roomFor;
    // Formats the rows [first, last) at out, which has roomFor(first, last) bytes; returns the
    // end of their text. Runs on the second thread, and must write nothing else.
    std::function<char *(int first, int last, char *out)> formatAt;
};

// Hands the TSV of the rows [0, rows) to write in order, formatted by two threads when the
// parallelism switch calls for it at that many rows: the rows go in chunks, and this thread
// formats every other one through writeHere, row 0 (the heading row) always among them, while a
// second thread formats the others into memory of its own, handed to write in pieces in turn.
//
// Returns false, having written nothing, when the rows are to be written by one thread instead:
// too few rows, or no second thread to be had.
[[nodiscard]] bool writeTsvOnTwoThreads(int rows, const TsvRowWriters &writers,
                                        const std::function<void(std::string_view)> &write);

} // namespace tessaplex::world
