// SPDX-License-Identifier: GPL-3.0-or-later
#include "statics/worldrewrite.h"

#include "statics/bufferedwriter.h"
#include "world/linelist.h"
#include "world/progressgauge.h"

#include <limits>

namespace tessaplex::statics {

namespace {

// Calls keep(j) for every line j outside the ranges, in order; one pass over lines and ranges.
template <typename Keep>
bool forEachKeptLine(const world::LineList &lines, const std::vector<LineRange> &ranges,
                     Keep &&keep) {
    const std::size_t count = lines.size();
    std::size_t next = 0;
    std::size_t j = 0;
    while (j < count) {
        const std::size_t stop = next < ranges.size() ? ranges[next].start : count;
        for (; j < stop; ++j) {
            if (!keep(j))
                return false;
        }
        if (next < ranges.size()) {
            j = std::size_t{ranges[next].end} + 1;
            ++next;
        }
    }
    return true;
}

} // namespace

bool rewriteWorld(const world::LineList &lines, const std::vector<LineRange> &ranges,
                  std::string_view lineEnd, BufferedWriter &out, ProgressGauge &gauge) {
    const std::size_t count = lines.size();
    const auto maximum = static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
    gauge.setMinimum(0);
    gauge.setMaximum(maximum);
    gauge.setProgress(0);
    // The gauge counts every line, those of the removed sections too; it moves on once per kept
    // line by the lines passed since the last one.
    std::size_t counted = 0;
    const bool ok = forEachKeptLine(lines, ranges, [&](std::size_t j) {
        gauge.advance(static_cast<std::int32_t>(j + 1 - counted));
        counted = j + 1;
        const std::string_view line = lines.line(j);
        return out.write(line.data(), line.size()) && out.write(lineEnd.data(), lineEnd.size());
    });
    if (ok && counted != count)
        gauge.advance(static_cast<std::int32_t>(count - counted));
    return ok;
}

std::uint64_t rewrittenWorldSize(const world::LineList &lines, const std::vector<LineRange> &ranges,
                                 std::string_view lineEnd) {
    std::uint64_t size = 0;
    (void)forEachKeptLine(lines, ranges, [&](std::size_t j) {
        size += lines.line(j).size() + lineEnd.size();
        return true;
    });
    return size;
}

} // namespace tessaplex::statics
