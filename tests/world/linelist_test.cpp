// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/error.h"
#include "io/filemapping.h"
#include "io/realfilesystem.h"
#include "support/referencelines.h"
#include "support/testsupport.h"
#include "world/linelist.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using namespace std::string_literals;

using tessaplex::test::linesOf;
using tessaplex::test::referenceLines;

namespace {

TEST(LineList, CutsAtEveryKindOfLineEnd) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"\r\r", {"", ""}},
        {"\n\r", {"", ""}},
        {"a\n\n", {"a", ""}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"  \n\t\n", {"  ", "\t"}},
        {"a\0b\nc"s, {"a"}},
        {"\0abc\n"s, {}},
        {"a\nb\0\nc"s, {"a", "b"}},
        {"a\r\0\nb"s, {"a"}},
        {"\xff\x80\x01\n\x7f"s, {"\xff\x80\x01", "\x7f"}},
    };
    for (const auto &c : cases) {
        LineList list;
        list.setBytes(c.bytes);
        EXPECT_EQ(linesOf(list), c.lines) << '"' << c.bytes << '"';
        EXPECT_EQ(list.hasNulByte(), c.bytes.find('\0') != std::string::npos);
        EXPECT_EQ(list.bytes(), c.bytes);
    }
}

// Random texts of line-end characters, NUL bytes and letters must cut as the plain rules say.
TEST(LineList, AgreesWithThePlainRulesOnRandomTexts) {
    std::mt19937 random(20240607);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', ' ', '\0'};
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(random() % 40, ' ');
        for (char &c : bytes)
            c = alphabet[random() % (round % 2 ? 7 : 8)];
        LineList list;
        list.setBytes(bytes);
        ASSERT_EQ(linesOf(list), referenceLines(bytes)) << "round " << round;
    }
}

TEST(LineList, HandlesLongLinesAndManyShortOnes) {
    // One line of 8 MiB without a line end.
    const std::string longLine(8u << 20, 'x');
    LineList list;
    list.setBytes(longLine);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.line(0).size(), longLine.size());

    // Lines cut by CR alone, with a single LF at the very end: each line must be found without
    // searching the rest of the file for an LF again.
    constexpr std::size_t Count = 300000;
    std::string crOnly;
    for (std::size_t i = 0; i < Count; ++i)
        crOnly += std::to_string(i) + "\r";
    crOnly += "last\n";
    list.setBytes(crOnly);
    ASSERT_EQ(list.size(), Count + 1);
    EXPECT_EQ(list.line(0), "0");
    EXPECT_EQ(list.line(123456), "123456");
    EXPECT_EQ(list.line(Count), "last");

    // Lone CRs inside lines of LF text.
    std::string mixed;
    for (std::size_t i = 0; i < Count; ++i)
        mixed += i % 2 ? "a\rb\n" : "c\r\n";
    list.setBytes(mixed);
    EXPECT_EQ(list.size(), Count / 2 * 3);
    EXPECT_EQ(list.line(0), "c");
    EXPECT_EQ(list.line(1), "a");
    EXPECT_EQ(list.line(2), "b");
}

TEST(LineList, ReadsFilesAsTheyAre) {
    test::TempDir dir;
    const std::string lf = dir.file("lf.scp");
    const std::string crlf = dir.file("crlf.scp");
    test::writeFile(lf, "[WORLDITEM 0f3c]\nP=1,2,3\n\n[EOF]");
    test::writeFile(crlf, "[WORLDITEM 0f3c]\r\nP=1,2,3\r\n\r\n[EOF]\r\n");
    LineList a, b;
    a.readFile(lf);
    b.readFile(crlf);
    EXPECT_EQ(linesOf(a), linesOf(b));
    EXPECT_EQ(a.size(), 4u);
    EXPECT_EQ(a.sourcePath(), lf);

    // A file that cannot be read leaves the list as it was.
    const std::string missing = dir.file("missing.scp");
    try {
        a.readFile(missing);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    EXPECT_EQ(linesOf(a), linesOf(b));
    EXPECT_EQ(a.sourcePath(), lf);

    const std::string empty = dir.file("empty.scp");
    test::writeFile(empty, "");
    a.readFile(empty);
    EXPECT_TRUE(a.empty());
}

// A file read through the cache must give exactly the lines of a copy, also where it ends on a
// page boundary and the zero bytes after it come from the reservation.
TEST(LineList, MappedFilesReadAsCopiedOnes) {
    const std::string page(4096, 'p');
    const std::string texts[] = {
        "[WORLDITEM 0f3c]\r\nP=1,2,3\r\n\r\n[EOF]\r\n",
        "a\nb\0c\n"s,
        page.substr(0, 4095) + "\n",
        page,
        page + page.substr(0, 4095) + "\r",
        "",
    };
    test::TempDir dir;
    const std::string path = dir.file("world.scp");
    for (const std::string &text : texts) {
        test::writeFile(path, text);
        LineList copied, mapped;
        {
            const io::MappingScope never(io::Mapping::Never);
            copied.readFile(path);
        }
        {
            const io::MappingScope always(io::Mapping::Always);
            mapped.readFile(path);
        }
        const std::string name = std::to_string(text.size()) + " bytes";
        EXPECT_EQ(linesOf(mapped), linesOf(copied)) << name;
        EXPECT_EQ(mapped.bytes(), text) << name;
        EXPECT_EQ(mapped.hasNulByte(), copied.hasNulByte()) << name;
        if (!mapped.empty()) {
            const std::size_t last = mapped.size() - 1;
            EXPECT_EQ(mapped.leadingBytes(last), copied.leadingBytes(last)) << name;
        }
        EXPECT_FALSE(copied.mappedStatus()) << name;
        // An empty file has no pages to map; Windows maps none, as a mapped file could not be
        // replaced there.
#ifdef _WIN32
        constexpr bool systemMaps = false;
#else
        constexpr bool systemMaps = true;
#endif
        EXPECT_EQ(mapped.mappedStatus(),
                  text.empty() || !systemMaps ? std::nullopt : io::RealFileSystem().status(path))
            << name;
    }
    // A file written a moment ago may change again without moving its times: it is copied.
    test::writeFile(path, texts[0]);
    LineList automatic;
    automatic.readFile(path);
    EXPECT_FALSE(automatic.mappedStatus());
}

} // namespace
