// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bufferedwriter.h"
#include "patch/patchshard.h"
#include "patch/worldrewrite.h"
#include "support/memoryfile.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using namespace tessaplex::patch;

namespace {

// "line0" to "line<count - 1>", each ended by lineEnd, with the given lines left empty.
std::string numberedLines(int count, std::string_view lineEnd, std::vector<int> empty = {}) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (std::find(empty.begin(), empty.end(), i) == empty.end())
            text += "line" + std::to_string(i);
        text += lineEnd;
    }
    return text;
}

// The kept lines, each followed by lineEnd.
std::string expectedLines(const std::string &source, std::vector<int> kept,
                          std::string_view lineEnd) {
    world::LineList lines;
    lines.setBytes(source);
    std::string text;
    for (int i : kept)
        text += std::string(lines.line(static_cast<std::size_t>(i))) + std::string(lineEnd);
    return text;
}

// The sections of the line ranges as the analysis notes them, with their bytes.
RemovedSections sectionsOf(const world::LineList &lines, const LineRanges &ranges) {
    RemovedSections sections;
    for (const LineRange &range : ranges)
        sections.push_back({range, static_cast<std::uint32_t>(lines.startOf(range.start)),
                            static_cast<std::uint32_t>(lines.startOf(range.end + 1))});
    return sections;
}

std::vector<int> span(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

std::vector<int> join(std::vector<int> a, const std::vector<int> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(WorldRewrite, LeavesOutEveryLineOfThePatchedSections) {
    const struct {
        const char *name;
        std::string source;
        LineRanges ranges;
        bool unix;
        std::vector<int> kept;
    } cases[] = {
        {"one section in the middle",
         numberedLines(20, "\r\n", {14}),
         {{10, 14}},
         false,
         join(span(0, 9), span(15, 19))},
        {"LF with Unix, from CR LF",
         numberedLines(20, "\r\n", {14}),
         {{10, 14}},
         true,
         join(span(0, 9), span(15, 19))},
        {"CR LF without Unix, from LF",
         numberedLines(20, "\n", {14}),
         {{10, 14}},
         false,
         join(span(0, 9), span(15, 19))},
        {"the first section", numberedLines(12, "\r\n", {4}), {{0, 4}}, false, span(5, 11)},
        {"the last section", numberedLines(10, "\r\n", {9}), {{6, 9}}, false, span(0, 5)},
        {"adjacent sections",
         numberedLines(16, "\r\n", {7, 12}),
         {{3, 7}, {8, 12}},
         false,
         join(span(0, 2), span(13, 15))},
        {"no final line end", "a\r\nb\r\nc\r\n\r\nz", {{2, 3}}, false, {0, 1, 4}},
        {"no final line end, Unix", "a\nb\nc\n\nz", {{2, 3}}, true, {0, 1, 4}},
        {"every line removed", numberedLines(5, "\n", {4}), {{0, 4}}, false, {}},
        {"every line removed, Unix", numberedLines(5, "\n", {4}), {{0, 4}}, true, {}},
        {"LF with Unix, from LF",
         numberedLines(12, "\n", {4, 9}),
         {{5, 9}},
         true,
         join(span(0, 4), span(10, 11))},
        {"mixed and lone CR line ends", "a\rb\r\nc\n\n\rx\r\n", {{1, 3}}, false, {0, 4, 5}},
        {"blank lines and untouched sections kept",
         "h\r\n\r\n[s]\r\nk\r\n\r\n\r\n",
         {{2, 4}},
         false,
         {0, 1, 5}},
    };
    for (const auto &c : cases) {
        world::LineList lines;
        lines.setBytes(c.source);
        test::MemoryFile file;
        io::BufferedWriter out(file, 8);
        test::RecordingGauge gauge;
        const RemovedSections sections = sectionsOf(lines, c.ranges);
        ASSERT_TRUE(rewriteWorld(lines, sections, lineEndFor(c.unix), out, gauge)) << c.name;
        ASSERT_TRUE(out.flush());
        const std::string expected = expectedLines(c.source, c.kept, lineEndFor(c.unix));
        EXPECT_EQ(file.bytes, expected) << c.name;
        EXPECT_EQ(rewrittenWorldSize(lines, sections, lineEndFor(c.unix)), expected.size())
            << c.name;
        EXPECT_EQ(gauge.maximum(), static_cast<std::int32_t>(lines.size())) << c.name;
        EXPECT_EQ(gauge.progress(), gauge.maximum()) << c.name;
    }
}

TEST(WorldRewrite, TheFifteenLinesOfTheTwentyLineExample) {
    world::LineList lines;
    lines.setBytes(numberedLines(20, "\n", {14}));
    test::MemoryFile file;
    io::BufferedWriter out(file);
    test::RecordingGauge gauge;
    ASSERT_TRUE(rewriteWorld(lines, sectionsOf(lines, {{10, 14}}), lineEndFor(false), out, gauge));
    ASSERT_TRUE(out.flush());
    EXPECT_EQ(file.bytes, "line0\r\nline1\r\nline2\r\nline3\r\nline4\r\nline5\r\nline6\r\nline7\r\n"
                          "line8\r\nline9\r\nline15\r\nline16\r\nline17\r\nline18\r\nline19\r\n");
}

TEST(WorldRewrite, ReportsAFailedWrite) {
    world::LineList lines;
    lines.setBytes(numberedLines(100, "\n"));
    test::MemoryFile file;
    file.failWrites = true;
    io::BufferedWriter out(file, 16);
    test::RecordingGauge gauge;
    EXPECT_FALSE(rewriteWorld(lines, {}, lineEndFor(true), out, gauge));
}
