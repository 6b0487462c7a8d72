// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/bytewindow.h"
#include "io/inputfile.h"
#include "io/memorybytesource.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaplex::test {
namespace {

std::string text(io::ByteWindow::Span span) {
    return std::string(reinterpret_cast<const char *>(span.data), span.size);
}

// A source that counts its reads, to see that the window saves them.
class CountingSource : public io::MemoryByteSource {
public:
    using io::MemoryByteSource::MemoryByteSource;
    std::size_t readAt(std::uint64_t offset, unsigned char *out, std::size_t count) override {
        ++reads;
        return io::MemoryByteSource::readAt(offset, out, count);
    }
    int reads = 0;
};

TEST(ByteWindow, RequestsAcrossRefillsAndTheEnd) {
    // One window with a 4-byte chunk, asked in this order: each request must give exactly the
    // source's bytes, cut at its end, whatever the window held before.
    struct Step {
        std::uint64_t offset;
        std::size_t count;
        const char *expected;
    };
    const Step steps[] = {
        {0, 2, "01"},
        {2, 2, "23"},
        {3, 2, "34"},
        {1, 3, "123"},
        {8, 5, "89"},
        {9, 1, "9"},
        {10, 1, ""},
        {0, 10, "0123456789"},
        {4, 0, ""},
        {5, 3, "567"},
        {0xFFFFFFFFFFFFFFFFull, 4, ""},
        {7, 100, "789"},
        {6, 1, "6"},
    };
    CountingSource source("0123456789");
    io::ByteWindow window(source, 4);
    for (const Step &step : steps)
        EXPECT_EQ(text(window.bytes(step.offset, step.count)), step.expected)
            << step.offset << "+" << step.count;
}

TEST(ByteWindow, ReadsAheadInChunks) {
    const std::string bytes(100000, 'x');
    CountingSource source(bytes);
    io::ByteWindow window(source, 1000);
    for (std::uint64_t at = 0; at < 10000; at += 4)
        ASSERT_EQ(window.bytes(at, 4).size, 4u);
    EXPECT_EQ(source.reads, 10);
}

TEST(InputFile, ReadsAtOffsetsAndStopsAtTheEnd) {
    TempDir dir;
    writeFile(dir.file("data"), "abcdef");
    std::optional<io::InputFile> file = io::InputFile::open(dir.file("data"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), 6u);
    struct Case {
        std::uint64_t offset;
        std::size_t count;
        const char *expected;
    };
    for (const Case &c : {Case{0, 6, "abcdef"}, Case{4, 10, "ef"}, Case{6, 1, ""},
                          Case{0xFFFFFFFFFFull, 2, ""}, Case{2, 0, ""}}) {
        char out[16] = {};
        const std::size_t n =
            file->readAt(c.offset, reinterpret_cast<unsigned char *>(out), c.count);
        EXPECT_EQ(std::string(out, n), c.expected) << c.offset;
    }
    // Bytes appended after the opening are not read: offsets were judged by the size then.
    writeFile(dir.file("data"), "abcdefghi");
    char out[16] = {};
    EXPECT_EQ(file->readAt(4, reinterpret_cast<unsigned char *>(out), 10), 2u);
}

TEST(InputFile, RefusesWhatIsNoReadableFile) {
    TempDir dir;
    for (const std::string &path : {std::string(), dir.path(), dir.file("missing")})
        EXPECT_FALSE(io::InputFile::open(path)) << path;
}

} // namespace
} // namespace tessaplex::test
