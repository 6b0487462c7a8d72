// SPDX-License-Identifier: GPL-3.0-or-later
// The line list cuts its text in blocks of many bytes at once; these cases put line ends, CR LF
// pairs and NUL bytes on and around the block edges, where such a splitter goes wrong.
#include "support/referencelines.h"
#include "support/testsupport.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tessaplex::world;

using tessaplex::test::linesOf;
using tessaplex::test::referenceLines;

namespace {

bool sameLines(const LineList &a, const LineList &b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a.line(i) != b.line(i))
            return false;
    }
    return true;
}

void expectPlainCut(const std::string &bytes, const std::string &label) {
    LineList list;
    list.setBytes(bytes);
    ASSERT_EQ(linesOf(list), referenceLines(bytes)) << label;
    ASSERT_EQ(list.hasNulByte(), bytes.find('\0') != std::string::npos) << label;
    ASSERT_EQ(list.bytes(), bytes) << label;
}

} // namespace

TEST(LineListBlocks, LineEndsAroundBlockEdges) {
    // A marker (CR LF, lone CR, lone LF, CR CR, NUL, CR NUL) placed so that it starts at every
    // position from 60 to 68 and from 124 to 132, in texts that end at, before and after it.
    const std::string markers[] = {
        "\r\n", "\r", "\n", "\r\r", std::string(1, '\0'), std::string("\r\0", 2), "\n\r"};
    for (const std::string &marker : markers) {
        for (std::size_t at : {0u, 1u, 60u, 61u, 62u, 63u, 64u, 65u, 66u, 124u, 126u, 127u, 128u,
                               129u, 191u, 192u}) {
            for (std::size_t after : {0u, 1u, 2u, 70u}) {
                std::string bytes(at, 'x');
                for (std::size_t i = 9; i < at; i += 10)
                    bytes[i] = '\n';
                bytes += marker;
                bytes += std::string(after, 'y');
                expectPlainCut(bytes, "marker " + std::to_string(marker.size()) + " at " +
                                          std::to_string(at) + " + " + std::to_string(after));
            }
        }
    }
}

TEST(LineListBlocks, RandomTextsOfManyBlocks) {
    std::mt19937 random(77);
    const char alphabet[] = {'a', '\r', '\n', 'b', '\r', '\n', ' ', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 400, ' ');
        // Most rounds without NUL, so that the text reaches the later blocks.
        const unsigned letters = round % 4 ? 7 : 8;
        for (char &c : bytes)
            c = alphabet[random() % letters];
        expectPlainCut(bytes, "round " + std::to_string(round));
    }
}

TEST(LineListBlocks, ManyEmptyLinesGrowTheOffsets) {
    // One line per byte is far more than the first guess of line starts holds.
    for (const char *end : {"\n", "\r", "\r\n"}) {
        std::string bytes;
        for (int i = 0; i < 100000; ++i)
            bytes += end;
        LineList list;
        list.setBytes(bytes);
        ASSERT_EQ(list.size(), 100000u) << end;
        EXPECT_EQ(list.line(99999), "");
    }
}

// Files are read and cut in pieces of half a MiB; a CR LF, a lone CR or a NUL byte right at the
// seam of two pieces must come out as in a text cut at once.
TEST(LineListBlocks, FilesReadInPiecesCutAsAWhole) {
    constexpr std::size_t Piece = std::size_t{512} << 10;
    tessaplex::test::TempDir dir;
    const std::string markers[] = {
        "\r\n", "\r", "\n", "\r\r\n", std::string(1, '\0'), std::string("\r\0", 2)};
    for (const std::string &marker : markers) {
        for (std::size_t seam : {Piece, 2 * Piece}) {
            for (std::size_t at : {seam - 2, seam - 1, seam, seam + 1}) {
                std::string bytes(at, 'x');
                for (std::size_t i = 12; i < at; i += 13)
                    bytes[i] = i % 2 ? '\n' : '\r';
                bytes += marker;
                bytes += "tail\r\nend";
                // The file also ends at the seam, right after the marker, in some cases.
                for (const bool cut : {false, true}) {
                    const std::string text = cut ? bytes.substr(0, at + marker.size()) : bytes;
                    const std::string path = dir.file("world.scp");
                    tessaplex::test::writeFile(path, text);
                    LineList list;
                    list.readFile(path);
                    const std::string label = "marker of " + std::to_string(marker.size()) +
                                              " at " + std::to_string(at) +
                                              (cut ? ", file ends there" : "");
                    // Cut at once from memory, which the tests above hold to the rules.
                    LineList whole;
                    whole.setBytes(text);
                    ASSERT_TRUE(sameLines(list, whole)) << label;
                    ASSERT_EQ(list.bytes(), text) << label;
                    ASSERT_EQ(list.hasNulByte(), text.find('\0') != std::string::npos) << label;
                }
            }
        }
    }
}

// A file of many MiB is cut on a second thread while it is read; every kind of line end, also
// at the seams of the pieces, and a NUL byte late in the file must cut as the text at once.
TEST(LineListBlocks, LargeFilesCutWhileReadAsAWhole) {
    std::mt19937 random(5);
    const char *const ends[] = {"\n", "\r\n", "\r", "\r\r\n", "\n\r"};
    std::string text;
    while (text.size() < (12u << 20)) {
        text.append(random() % 40, 'x');
        text += ends[random() % 5];
    }
    // Line ends right at a few seams of half a MiB.
    for (std::size_t seam : {std::size_t{1} << 20, std::size_t{5} << 20, std::size_t{9} << 20}) {
        text[seam - 1] = '\r';
        text[seam] = '\n';
    }
    tessaplex::test::TempDir dir;
    for (const bool nul : {false, true}) {
        std::string bytes = text;
        if (nul)
            bytes[(11u << 20) + 3] = '\0';
        const std::string path = dir.file("large.scp");
        tessaplex::test::writeFile(path, bytes);
        LineList read;
        read.readFile(path);
        LineList whole;
        whole.setBytes(bytes);
        ASSERT_EQ(read.size(), whole.size()) << (nul ? "with NUL" : "");
        ASSERT_TRUE(sameLines(read, whole)) << (nul ? "with NUL" : "");
        EXPECT_EQ(read.hasNulByte(), nul);
        EXPECT_TRUE(read.bytes() == whole.bytes());
    }
}
