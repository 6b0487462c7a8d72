// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/worldrewrite.h"

#include "base/progressgauge.h"
#include "io/bufferedwriter.h"
#include "world/linecutting.h"
#include "world/linelist.h"

#include <algorithm>
#include <limits>

namespace tessaplex::patch {

namespace {

// Calls keep(j, walker, k) for every line j outside the removed sections, in order, where line j
// is line k of the walker's batch; one pass over lines and sections.
template <typename Keep>
bool forEachKeptLine(const world::LineList &lines, const RemovedSections &removed, Keep &&keep) {
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t next = 0;
    std::size_t rangeStart = removed.empty() ? None : removed[0].lines.start;
    std::size_t j = 0;
    world::LineWalker walker(lines, 0);
    while (walker.next()) {
        const std::size_t first = walker.first();
        const std::size_t end = first + walker.count();
        while (j < end) {
            if (j == rangeStart) {
                j = std::size_t{removed[next].lines.end} + 1;
                ++next;
                rangeStart = next < removed.size() ? removed[next].lines.start : None;
                continue;
            }
            if (!keep(j, walker, j - first))
                return false;
            ++j;
        }
    }
    return true;
}

// Whether the text's last line needs a line end: it has none and the rewrite keeps it.
bool lastLineWantsEnd(std::string_view text, const RemovedSections &removed) {
    const std::size_t keptFrom = removed.empty() ? 0 : removed.back().end;
    return keptFrom < text.size() && text.back() != '\n' && text.back() != '\r';
}

// Where every line already ends with the chosen line end, the file's bytes outside the removed
// sections are the new file, and they go out in a few large pieces instead of line by line.
bool copyKeptBytes(const world::LineList &lines, const RemovedSections &removed,
                   std::string_view lineEnd, io::BufferedWriter &out, ProgressGauge &gauge) {
    const std::string_view text = lines.text();
    std::size_t at = 0;
    std::size_t counted = 0;
    for (const RemovedSection &section : removed) {
        if (!out.write(text.data() + at, section.begin - at))
            return false;
        at = section.end;
        gauge.advance(static_cast<std::int32_t>(section.lines.end + 1 - counted));
        counted = section.lines.end + 1;
    }
    if (!out.write(text.data() + at, text.size() - at))
        return false;
    if (lastLineWantsEnd(text, removed) && !out.write(lineEnd.data(), lineEnd.size()))
        return false;
    gauge.advance(static_cast<std::int32_t>(lines.size() - counted));
    return true;
}

} // namespace

bool rewriteWorld(const world::LineList &lines, const RemovedSections &removed,
                  std::string_view lineEnd, io::BufferedWriter &out, ProgressGauge &gauge) {
    const std::size_t count = lines.size();
    const auto maximum = static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
    gauge.setMinimum(0);
    gauge.setMaximum(maximum);
    gauge.setProgress(0);
    if (world::everyLineEndIs(lines.text(), lineEnd))
        return copyKeptBytes(lines, removed, lineEnd, out, gauge);

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
    const char *text = lines.text().data();
    const bool ok = forEachKeptLine(
        lines, removed, [&](std::size_t j, const world::LineWalker &walker, std::size_t k) {
            gauge.advance(static_cast<std::int32_t>(j + 1 - counted));
            counted = j + 1;
            const std::string_view line = walker.line(k);
            const char *textEnd = line.data() + line.size();
            const char *next = text + walker.start(k + 1);
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

std::uint64_t rewrittenWorldSize(const world::LineList &lines, const RemovedSections &removed,
                                 std::string_view lineEnd) {
    const std::string_view text = lines.text();
    if (world::everyLineEndIs(text, lineEnd)) {
        std::uint64_t size = text.size();
        for (const RemovedSection &section : removed)
            size -= section.end - section.begin;
        return size + (lastLineWantsEnd(text, removed) ? lineEnd.size() : 0);
    }
    std::uint64_t size = 0;
    (void)forEachKeptLine(lines, removed,
                          [&](std::size_t, const world::LineWalker &walker, std::size_t k) {
                              size += walker.line(k).size() + lineEnd.size();
                              return true;
                          });
    return size;
}

} // namespace tessaplex::patch
