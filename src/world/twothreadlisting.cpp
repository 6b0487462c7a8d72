// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/twothreadlisting.h"

#include "base/backgroundwork.h"
#include "base/parallelism.h"
#include "base/progressgauge.h"
#include "base/twoends.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tessaplex::world {

namespace {

// Windows of at least this many lines are listed by two threads; below it a thread costs more
// than it saves. They share the work in about this many pieces.
constexpr std::size_t ParallelFrom = 200000;
constexpr std::size_t Pieces = 16;

constexpr std::size_t None = static_cast<std::size_t>(-1);

// The first empty line in [from, to), or None.
std::size_t emptyLineFrom(const LineList &lines, std::size_t from, std::size_t to) {
    std::size_t found = None;
    (void)lines.forEachLine(from, to, [&](std::size_t j, std::string_view line) {
        if (!line.empty())
            return true;
        found = j;
        return false;
    });
    return found;
}

} // namespace

bool listOnTwoThreads(const LineList &lines, std::size_t start, std::size_t end, ItemTable &table,
                      ProgressGauge &gauge, const ListRange &listRange) {
    if (!twoThreadsFor(end - start, ParallelFrom))
        return false;
    // After an empty line no section is open, whatever came before, so each piece lists on its
    // own exactly the rows the whole pass would list there.
    std::vector<std::size_t> bounds{start};
    for (std::size_t k = 1; k < Pieces; ++k) {
        const std::size_t from = std::max(bounds.back(), start + (end - start) / Pieces * k);
        const std::size_t empty = emptyLineFrom(lines, from, end);
        if (empty == None || empty + 1 >= end)
            break;
        bounds.push_back(empty + 1);
    }
    bounds.push_back(end);
    const int pieces = static_cast<int>(bounds.size()) - 1;
    if (pieces < 2)
        return false;

    // This thread lists the pieces from the front straight into the table; the other lists
    // pieces from the back into tables of their own, whose rows follow.
    TwoEnds work(pieces);
    std::vector<ItemTable> parts(static_cast<std::size_t>(pieces));
    BackgroundWork worker([&] {
        for (int p; (p = work.takeBack()) >= 0;) {
            const auto from = bounds[static_cast<std::size_t>(p)];
            const auto to = bounds[static_cast<std::size_t>(p) + 1];
            ItemTable &part = parts[static_cast<std::size_t>(p)];
            part.startAnalysis();
            part.reserve((to - from) / 2 + 1);
            listRange(from, to, part, nullptr);
        }
    });
    if (!worker.started())
        return false;
    int listedHere = 0;
    for (int p; (p = work.takeFront()) >= 0; listedHere = p + 1)
        listRange(bounds[static_cast<std::size_t>(p)], bounds[static_cast<std::size_t>(p) + 1],
                  table, &gauge);
    worker.finish();
    for (int p = listedHere; p < pieces; ++p) {
        table.appendRowsOf(parts[static_cast<std::size_t>(p)]);
        // The gauge moves on over the piece's lines as the single pass would have moved it.
        for (std::size_t left =
                 bounds[static_cast<std::size_t>(p) + 1] - bounds[static_cast<std::size_t>(p)];
             left > 0;) {
            const auto steps = std::min<std::size_t>(
                left,
                static_cast<std::size_t>(std::max<std::int64_t>(1, gauge.stepsBeforeChange())));
            gauge.advance(static_cast<std::int32_t>(steps));
            left -= steps;
        }
    }
    return true;
}

} // namespace tessaplex::world
