// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/worldrewrite.h"

#include "base/progressgauge.h"
#include "io/bufferedwriter.h"
#include "world/linelist.h"

#include <algorithm>
#include <limits>

namespace tessaplex::patch {

namespace {

// Calls keep(j) for every line j outside the ranges, in order; one pass over lines and ranges.
template <typename Keep>
bool forEachKeptLine(const world::LineList &lines, const LineRanges &ranges, Keep &&keep) {
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

// Where line j's terminator ends, that is, where the next line begins.
const char *endOfLine(const world::LineList &lines, std::size_t j) {
    if (j + 1 < lines.size())
        return lines.line(j + 1).data();
    const std::string_view line = lines.line(j);
    const std::string_view bytes = lines.bytes();
    const char *p = line.data() + line.size();
    const char *end = bytes.data() + bytes.size();
    if (p < end && *p == '\r')
        ++p;
    if (p < end && *p == '\n')
        ++p;
    return p;
}

} // namespace

bool rewriteWorld(const world::LineList &lines, const LineRanges &ranges, std::string_view lineEnd,
                  io::BufferedWriter &out, ProgressGauge &gauge) {
    const std::size_t count = lines.size();
    const auto maximum = static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
    gauge.setMinimum(0);
    gauge.setMaximum(maximum);
    gauge.setProgress(0);

    // A line that already ends with the chosen line end is part of the file's bytes as they are
    // to be written, so runs of such lines go out in one piece instead of line by line.
    const bool lf = lineEnd == "\n";
    const char *runStart = nullptr;
    const char *runEnd = nullptr;
    const auto flushRun = [&] {
        const bool ok = runStart == runEnd || out.write(runStart, std::size_t(runEnd - runStart));
        runStart = runEnd = nullptr;
        return ok;
    };
    // The gauge counts every line, those of the removed sections too; it moves on once per kept
    // line by the lines passed since the last one.
    std::size_t counted = 0;
    const bool ok = forEachKeptLine(lines, ranges, [&](std::size_t j) {
        gauge.advance(static_cast<std::int32_t>(j + 1 - counted));
        counted = j + 1;
        const std::string_view line = lines.line(j);
        const char *textEnd = line.data() + line.size();
        const char *next = endOfLine(lines, j);
        const bool asIs = next - textEnd == static_cast<std::ptrdiff_t>(lineEnd.size()) &&
                          (!lf || *textEnd == '\n');
        if (asIs && runEnd == line.data()) {
            runEnd = next;
            return true;
        }
        if (!flushRun())
            return false;
        if (asIs) {
            runStart = line.data();
            runEnd = next;
            return true;
        }
        return out.write(line.data(), line.size()) && out.write(lineEnd.data(), lineEnd.size());
    });
    if (!ok || !flushRun())
        return false;
    if (counted != count)
        gauge.advance(static_cast<std::int32_t>(count - counted));
    return true;
}

std::uint64_t rewrittenWorldSize(const world::LineList &lines, const LineRanges &ranges,
                                 std::string_view lineEnd) {
    std::uint64_t size = 0;
    (void)forEachKeptLine(lines, ranges, [&](std::size_t j) {
        size += lines.line(j).size() + lineEnd.size();
        return true;
    });
    return size;
}

} // namespace tessaplex::patch
