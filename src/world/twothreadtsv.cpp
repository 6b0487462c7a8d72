// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/twothreadtsv.h"

#include "base/backgroundwork.h"
#include "base/largememory.h"
#include "base/parallelism.h"

#include <algorithm>

namespace tessaplex::world {

namespace {

// Below this many rows a thread costs more than it saves. (Finer pieces than two halves, each in
// memory of its own, cost more than they save too.)
constexpr int ParallelFrom = 50000;

} // namespace

bool writeTsvOnTwoThreads(int rows, const TsvRowWriters &writers,
                          const std::function<void(std::string_view)> &write) {
    if (!twoThreadsFor(static_cast<std::size_t>(rows), ParallelFrom))
        return false;
    const int middle = std::max(1, rows / 2);
    LargeArray<char> second(writers.roomFor(middle, rows));
    std::size_t secondSize = 0;
    // The worker reads nothing that this thread writes while it runs: the bounds are its own
    // copies, since a variable on this stack may share a cache line with what this thread
    // writes.
    BackgroundWork worker(
        [&formatAt = writers.formatAt, middle, rows, out = second.data(), &secondSize] {
            secondSize = static_cast<std::size_t>(formatAt(middle, rows, out) - out);
        });
    if (!worker.started())
        return false;
    writers.writeHere(0, middle);
    worker.finish();
    for (std::size_t at = 0; at < secondSize; at += TsvPieceSize)
        write({second.data() + at, std::min(TsvPieceSize, secondSize - at)});
    return true;
}

} // namespace tessaplex::world
