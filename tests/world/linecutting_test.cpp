// SPDX-License-Identifier: GPL-3.0-or-later
// Lines are cut with 32-byte comparisons where the processor has them and with plain ones
// otherwise. Both must find the same line starts, above all where a line end, a CR LF or a NUL
// byte sits on the edge of a half or a whole block of 64; and a list cut either way, read on one
// thread or on two, must hold the lines of the plain rules.
#include "base/parallelism.h"
#include "support/referencelines.h"
#include "support/testsupport.h"
#include "world/linecutting.h"
#include "world/linelist.h"
#include "world/linewalker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using namespace std::string_literals;

namespace {

struct Case {
    std::string name;
    std::string bytes;
};

std::vector<Case> edgeCases() {
    std::vector<Case> cases = {
        {"empty", ""}, {"one byte", "x"}, {"LF", "\n"}, {"CR", "\r"}, {"NUL", "\0"s},
    };
    for (const std::size_t size : {31u, 32u, 33u, 63u, 64u, 65u, 127u, 128u, 129u}) {
        const std::string n = std::to_string(size);
        cases.push_back({n + " bytes and LF", std::string(size, 'x') + "\n"});
        cases.push_back({n + " bytes, no line end", std::string(size, 'x')});
        cases.push_back({n + " LF", std::string(size, '\n')});
        cases.push_back({n + " CR", std::string(size, '\r')});
        std::string pairs;
        while (pairs.size() < size)
            pairs += "\r\n";
        cases.push_back({n + " bytes of CR LF", pairs.substr(0, size)});
    }
    const std::pair<const char *, std::string> markers[] = {
        {"LF", "\n"},   {"CR", "\r"},        {"CR LF", "\r\n"},      {"LF CR", "\n\r"},
        {"NUL", "\0"s}, {"CR NUL", "\r\0"s}, {"CR CR LF", "\r\r\n"},
    };
    for (const auto &[label, marker] : markers) {
        for (const std::size_t at :
             {0u, 1u, 30u, 31u, 32u, 33u, 62u, 63u, 64u, 65u, 95u, 96u, 127u, 128u, 191u}) {
            std::string bytes(200, 'x');
            bytes.replace(at, marker.size(), marker);
            cases.push_back({std::string(label) + " at " + std::to_string(at), bytes});
        }
    }
    return cases;
}

struct Cut {
    std::size_t blocks = 0;
    std::vector<std::uint32_t> starts;
    bool operator==(const Cut &other) const {
        return blocks == other.blocks && starts == other.starts;
    }
};

// Cuts the whole blocks of bytes from pos on that have a byte after them.
Cut cutBlocks(const std::string &bytes, std::size_t pos, bool plain) {
    const std::size_t blocks = bytes.size() > pos + 64 ? (bytes.size() - pos - 1) / 64 : 0;
    std::vector<std::uint32_t> starts(64 * (blocks + 1));
    std::size_t count = 0;
    Cut cut;
    cut.blocks = plain ? cutWholeBlocksPlain(bytes.data(), pos, blocks, starts.data(), count)
                       : cutWholeBlocks(bytes.data(), pos, blocks, starts.data(), count);
    starts.resize(count);
    cut.starts = starts;
    return cut;
}

} // namespace

TEST(LineCutting, FastKernelFindsThePlainLineStarts) {
    const FastPathScope scope(Parallelism::Automatic, Kernels::Automatic);
    for (const Case &c : edgeCases()) {
        for (const std::size_t pos : {0u, 64u}) {
            SCOPED_TRACE(c.name + " from " + std::to_string(pos));
            EXPECT_TRUE(cutBlocks(c.bytes, pos, false) == cutBlocks(c.bytes, pos, true));
        }
    }
}

TEST(LineCutting, ListsCutEveryWayHoldThePlainLines) {
    test::TempDir dir;
    const std::string path = dir.file("world.scp");
    for (const Case &c : edgeCases()) {
        const std::vector<std::string> expected = test::referenceLines(c.bytes);
        test::writeFile(path, c.bytes);
        for (const Kernels kernels : {Kernels::Automatic, Kernels::Plain}) {
            for (const Parallelism mode : {Parallelism::OneThread, Parallelism::AlwaysTwoThreads}) {
                const FastPathScope scope(mode, kernels);
                SCOPED_TRACE(c.name + (kernels == Kernels::Plain ? ", plain" : ", fast") +
                             (mode == Parallelism::OneThread ? ", one thread" : ", two threads"));
                LineList fromBytes;
                fromBytes.setBytes(c.bytes);
                EXPECT_EQ(test::linesOf(fromBytes), expected);
                LineList fromFile;
                fromFile.readFile(path);
                EXPECT_EQ(test::linesOf(fromFile), expected);
                EXPECT_EQ(fromFile.hasNulByte(), c.bytes.find('\0') != std::string::npos);
            }
        }
    }
}

// A line is read eight bytes at a time, also over the bytes after the end of the text, which may
// hold anything.
TEST(LineCutting, ReadsTheLineAtAnyOffset) {
    for (const Case &c : edgeCases()) {
        for (const char after : {'x', '\n'}) {
            const std::string padded = c.bytes + std::string(8, after);
            const TextLines text{padded.data(), c.bytes.size()};
            for (std::size_t offset = 0; offset <= c.bytes.size(); ++offset) {
                const std::size_t end =
                    std::min(c.bytes.find_first_of("\r\n", offset), c.bytes.size());
                ASSERT_EQ(text.lineAt(offset),
                          std::string_view(c.bytes).substr(offset, end - offset))
                    << c.name << " at " << offset;
            }
        }
    }
}

// A text may be copied as it stands only when every line end is the chosen one; a CR or LF on
// either side of a 64-byte block edge must count like any other.
TEST(LineCutting, TellsWhetherEveryLineEndIsTheChosenOne) {
    const std::string filler(61, 'x');
    const struct {
        std::string text;
        bool lf, crlf;
    } cases[] = {
        {"", true, true},
        {"a", true, true},
        {"a\nb\n", true, false},
        {"a\r\nb\r\n", false, true},
        {"a\r\nb", false, true},
        {"a\r\nb\n", false, false},
        {"a\rb\r\n", false, false},
        {"a\r", false, false},
        {"\n\r", false, false},
        {filler + "\r\n\r\n", false, true},
        {filler + "xx\r\nb", false, true},
        {filler + "xx\r", false, false},
        {filler + "xxx\n", true, false},
        {filler + "xx\rx\n", false, false},
        {std::string(200, 'y') + "\r\n", false, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(everyLineEndIs(c.text, "\n"), c.lf) << c.text.size() << " bytes";
        EXPECT_EQ(everyLineEndIs(c.text, "\r\n"), c.crlf) << c.text.size() << " bytes";
    }
}
