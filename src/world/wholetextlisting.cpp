// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/wholetextlisting.h"

#include "base/backgroundwork.h"
#include "base/parallelism.h"
#include "base/twoends.h"
#include "world/itemtable.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tessaplex::world {

namespace {

// Texts of at least this many bytes are listed by two threads; below it a thread costs more
// than it saves. They share the work in about this many stretches.
constexpr std::size_t ParallelFrom = std::size_t{8} << 20;
constexpr std::size_t Stretches = 16;

constexpr std::size_t None = static_cast<std::size_t>(-1);

// Where a stretch may begin after offset `from`: right after the first empty line whose line
// begins after it, where no section is open. None when there is none before the end.
std::size_t stretchStartAfter(std::string_view bytes, std::size_t from) {
    const TextLines text{bytes.data(), bytes.size()};
    // A line begins after every LF and after every CR that no LF follows.
    std::size_t p = text.nextStart(from);
    while (p < bytes.size()) {
        const char c = bytes[p];
        if (c == '\0')
            return None; // the text ends there
        const std::size_t next = text.nextStart(p);
        if (c == '\n' || c == '\r')
            return next < bytes.size() ? next : None;
        p = next;
    }
    return None;
}

} // namespace

LineCut listWholeText(std::string_view bytes, ItemTable &table, ProgressGauge &gauge,
                      const ListStretch &listStretch) {
    const std::size_t size = bytes.size();
    std::vector<std::size_t> bounds{0};
    if (twoThreadsFor(size, ParallelFrom)) {
        for (std::size_t k = 1; k < Stretches; ++k) {
            const std::size_t start =
                stretchStartAfter(bytes, std::max(bounds.back(), size / Stretches * k));
            if (start == None)
                break;
            bounds.push_back(start);
        }
    }
    bounds.push_back(size);
    const std::size_t pieces = bounds.size() - 1;
    std::vector<MarkRun> marks(pieces);
    std::vector<PieceEnd> ends(pieces);

    // This thread lists the stretches from the front straight into the table, where it knows
    // their first line; the other lists stretches from the back into tables of their own,
    // numbering their lines from 0, and they follow once their first line is known.
    TwoEnds work(static_cast<int>(pieces));
    std::vector<ItemTable> parts(pieces);
    std::optional<BackgroundWork> worker;
    if (pieces > 1) {
        worker.emplace([&] {
            for (int p; (p = work.takeBack()) >= 0;) {
                const auto i = static_cast<std::size_t>(p);
                parts[i].startAnalysis();
                parts[i].reserve((bounds[i + 1] - bounds[i]) / SmallestSection + 1);
                ends[i] = listStretch(bounds[i], bounds[i + 1], 0, parts[i], marks[i], nullptr);
            }
        });
        if (!worker->started())
            worker.reset();
    }
    LineCut cut;
    cut.textSize = size;
    std::size_t listed = 0; // stretches whose lines are in the table
    bool ended = false;     // a NUL byte ended the text
    for (int p; !ended && (p = work.takeFront()) >= 0; ++listed) {
        const auto i = static_cast<std::size_t>(p);
        ends[i] = listStretch(bounds[i], bounds[i + 1], cut.lineCount, table, marks[i], &gauge);
        marks[i].firstLine = cut.lineCount;
        cut.lineCount += ends[i].lines;
        ended = ends[i].textSize < bounds[i + 1];
    }
    if (worker)
        worker->finish();
    for (; !ended && listed < pieces; ++listed) {
        table.appendRowsOf(parts[listed], cut.lineCount);
        marks[listed].firstLine = cut.lineCount;
        cut.lineCount += ends[listed].lines;
        ended = ends[listed].textSize < bounds[listed + 1];
    }
    if (ended)
        cut.textSize = ends[listed - 1].textSize;
    marks.resize(listed);
    cut.marks = std::move(marks);
    return cut;
}

} // namespace tessaplex::world
