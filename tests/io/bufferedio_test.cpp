// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bufferedreader.h"
#include "io/bufferedwriter.h"
#include "support/memoryfile.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using tessaplex::test::MemoryFile;

namespace {

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes;
}

} // namespace

// Whatever order and size the ranges come in, each is copied exactly.
TEST(BufferedReader, CopiesEveryRangeExactlyInAnyOrder) {
    const std::string source = pattern(10000);
    const std::vector<std::vector<std::pair<std::uint64_t, std::uint64_t>>> sequences = {
        {{0, 10}, {10, 20}, {30, 7}, {37, 1000}, {1037, 8963}},  // front to back
        {{0, 7}, {5000, 14}, {7, 7}, {14, 7}, {9000, 1000}},     // isolated jumps
        {{0, 7}, {8000, 7}, {8007, 7}, {8014, 7}, {21, 7}},      // a run elsewhere
        {{9993, 7}, {0, 7}, {4000, 3000}, {100, 64}, {64, 100}}, // backwards and overlapping
        {{0, 10000}},                                            // larger than the buffer
        {{500, 0}, {0, 1}},                                      // empty range
        {{123, 4567}, {123, 4567}},                              // the same range twice
    };
    for (std::size_t capacity : {std::size_t{64}, std::size_t{1000}, std::size_t{1} << 20}) {
        for (const auto &ranges : sequences) {
            MemoryFile in(source), out;
            io::BufferedReader reader(in, source.size(), capacity);
            io::BufferedWriter writer(out, 100);
            std::string expected;
            for (const auto &[offset, size] : ranges) {
                ASSERT_TRUE(reader.copyRange(offset, size, writer)) << offset << "+" << size;
                expected += source.substr(offset, size);
            }
            ASSERT_TRUE(writer.flush());
            EXPECT_EQ(out.bytes, expected) << "capacity " << capacity;
        }
    }
}

TEST(BufferedReader, RefusesARangeBeyondTheFileOrAFileThatShrank) {
    MemoryFile in(pattern(100)), out;
    io::BufferedWriter writer(out);
    io::BufferedReader reader(in, 100, 32);
    EXPECT_FALSE(reader.copyRange(90, 11, writer));
    EXPECT_FALSE(reader.copyRange(101, 0, writer));
    EXPECT_FALSE(reader.copyRange(0xFFFFFFFFFFFFFFF0u, 0x20, writer));
    EXPECT_TRUE(reader.copyRange(90, 10, writer));

    MemoryFile shrunk(pattern(50));
    io::BufferedReader stale(shrunk, 100, 32);
    EXPECT_FALSE(stale.copyRange(40, 20, writer));
}

// A data file read front to back costs one read per buffer, not one per block.
TEST(BufferedReader, ReadsASequentialFileInBufferSizedPieces) {
    const std::string source = pattern(70000);
    MemoryFile in(source), out;
    io::BufferedReader reader(in, source.size(), 10000);
    io::BufferedWriter writer(out);
    for (std::uint64_t offset = 0; offset < source.size(); offset += 7)
        ASSERT_TRUE(reader.copyRange(offset, 7, writer));
    EXPECT_EQ(in.reads, 7);
    EXPECT_EQ(in.seeks, 0);
}

TEST(BufferedWriter, PassesEveryByteOnInOrderAndReportsFailure) {
    const std::string source = pattern(5000);
    MemoryFile out;
    io::BufferedWriter writer(out, 64);
    std::size_t at = 0;
    for (std::size_t size : {1, 12, 63, 64, 65, 0, 1000, 7, 3000}) {
        ASSERT_TRUE(writer.write(source.data() + at, size));
        at += size;
    }
    EXPECT_EQ(writer.written(), at);
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(out.bytes, source.substr(0, at));

    MemoryFile broken;
    broken.failWrites = true;
    io::BufferedWriter failing(broken, 16);
    EXPECT_TRUE(failing.write(source.data(), 10)); // still in the buffer
    EXPECT_FALSE(failing.write(source.data(), 10));
    EXPECT_FALSE(failing.write(source.data(), 1)); // stays failed
    EXPECT_FALSE(failing.flush());
}
