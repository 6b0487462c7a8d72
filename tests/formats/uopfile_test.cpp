// SPDX-License-Identifier: GPL-3.0-or-later
// The UOP container, the hue table and the tiledata file read from bytes the tests write.
#include "formats/huefile.h"
#include "formats/tiledatafile.h"
#include "formats/uopfile.h"
#include "io/memorybytesource.h"
#include "support/littleendian.h"
#include "support/uopfixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaplex::test {
namespace {

using formats::UopTable;

TEST(UopNameHash, GivesTheValuesTheClientFilesUse) {
    EXPECT_EQ(formats::uopNameHash("build/multicollection/housing.bin"), 0x126D1E99DDEDEE0Au);
    EXPECT_EQ(formats::uopNameHash("build/gumpartlegacymul/0009834.tga"), 0x906142EFE9FDB38Au);
    EXPECT_EQ(formats::artUopName(0x4001), "build/artlegacymul/00016385.tga");
}

TEST(UopTable, FindsStoredAndZlibEntriesAcrossBlocksAndSkipsUnusedSlots) {
    std::vector<UopFixtureEntry> entries;
    for (int i = 0; i < 5; ++i)
        entries.push_back({"file" + std::to_string(i), std::string(100 + i, char('a' + i)),
                           static_cast<std::uint16_t>(i % 2)});
    const std::string bytes = uopFile(entries, 3); // two blocks, the second with an unused slot
    io::MemoryByteSource file(bytes);
    const UopTable table = UopTable::read(file);
    ASSERT_EQ(table.problem(), "");
    EXPECT_EQ(table.size(), 5u);
    for (const UopFixtureEntry &e : entries) {
        const std::optional<formats::UopEntry> found =
            table.find(file, formats::uopNameHash(e.name));
        ASSERT_TRUE(found) << e.name;
        const formats::UopEntryBytes read = formats::readUopEntry(file, *found);
        EXPECT_EQ(read.problem, "");
        EXPECT_EQ(read.bytes, e.bytes);
    }
    EXPECT_FALSE(table.find(file, formats::uopNameHash("file5")));
    // The unused slot's hash (0) finds nothing.
    EXPECT_FALSE(table.find(file, 0));
}

// The header of a container whose first table block lies at firstBlock.
std::string header(std::uint64_t firstBlock) {
    return u32le(formats::UopMagic) + u32le(5) + u32le(0) + u64le(firstBlock) + u32le(100) +
           u32le(0);
}

std::string block(std::uint32_t count, std::uint64_t next) {
    return u32le(count) + u64le(next);
}

TEST(UopTable, DamagedTablesAreToldAndNeverReadPastTheFile) {
    const std::string entry =
        u64le(40) + u32le(0) + u32le(4) + u32le(4) + u64le(1) + u32le(0) + u16le(0);
    const struct {
        const char *what;
        std::string bytes;
        const char *problem;
    } cases[] = {
        {"short header", header(28).substr(0, 20), "it ends inside its header"},
        {"no magic", "XXXX" + header(0).substr(4), "it does not start as a UOP file does"},
        {"no blocks at all", header(0), ""},
        {"block past the end", header(1000),
         "its table block at byte 1000 lies beyond the end "
         "of the file"},
        {"block header cut", header(28) + "12345",
         "its table block at byte 28 lies beyond the "
         "end of the file"},
        {"entries past the end", header(28) + block(2, 0) + entry,
         "its table block at byte 28 ends beyond the end of the file"},
        {"absurd count", header(28) + block(0xFFFFFFFF, 0) + entry,
         "its table block at byte 28 ends beyond the end of the file"},
        {"block loops to itself", header(28) + block(0, 28), "its table blocks form a loop"},
        {"two blocks loop", header(28) + block(0, 40) + block(1, 28) + entry,
         "its table blocks form a loop"},
    };
    for (const auto &c : cases) {
        io::MemoryByteSource file(c.bytes);
        const UopTable table = UopTable::read(file);
        EXPECT_EQ(table.problem(), c.problem) << c.what;
        EXPECT_EQ(table.size(), 0u) << c.what;
    }
}

TEST(UopEntry, DamagedEntriesAreTold) {
    const std::string bytes = std::string(16, 'x') + "record";
    io::MemoryByteSource file(bytes);
    const struct {
        formats::UopEntry entry;
        const char *problem;
    } cases[] = {
        {{16, 6, 6, 0}, ""},
        {{16, 6, 6, 2}, "the entry is stored with the unknown compression 2"},
        {{16, 7, 7, 0}, "the entry at byte 16 lies beyond the end of the file"},
        {{~std::uint64_t{0}, 1, 1, 0},
         "the entry at byte 18446744073709551615 lies beyond the "
         "end of the file"},
        {{0, 6, 0x7FFFFFFF, 1}, "the entry states a length of 2147483647 bytes"},
        {{16, 6, 100, 1}, "the entry at byte 16 holds damaged zlib data"},
    };
    for (const auto &c : cases) {
        const formats::UopEntryBytes read = formats::readUopEntry(file, c.entry);
        EXPECT_EQ(read.problem, c.problem);
        EXPECT_EQ(read.bytes, *c.problem ? "" : "record");
    }
}

std::uint16_t hueColour(std::size_t hue, std::size_t k) {
    return static_cast<std::uint16_t>(hue * 32 + k);
}

TEST(HueFile, NumbersHuesFromOneAndMasksTheColorValue) {
    // 10 hues: a whole group and two hues of the next, then a third cut short.
    const std::string bytes = hueFile(11, hueColour);
    io::MemoryByteSource file(std::string_view(bytes).substr(0, bytes.size() - 1));
    EXPECT_FALSE(formats::readHue(file, 0));
    EXPECT_FALSE(formats::readHue(file, 11));
    EXPECT_EQ(formats::readHue(file, 1)->colours[5], 5);
    EXPECT_EQ(formats::readHue(file, 10)->colours[31], 9 * 32 + 31);
    EXPECT_EQ(formats::readHue(file, 0x8000 | 0x4000 | 2)->colours[0], 32); // the low 14 bits
}

// A tiledata file of the given layout whose item record id holds flags and name (20 bytes).
std::string tiledata(bool newLayout, std::uint32_t id, std::uint64_t flags, std::string name) {
    const std::size_t land = newLayout ? 30 : 26;
    const std::size_t item = newLayout ? 41 : 37;
    std::string file(512 * (4 + 32 * land), '\0');
    file.resize(file.size() + (id / 32 + 1) * (4 + 32 * item), '\0');
    std::string record = u32le(static_cast<std::uint32_t>(flags));
    if (newLayout)
        record += u32le(static_cast<std::uint32_t>(flags >> 32));
    record += std::string(item - 20 - record.size(), '\x7F') + name;
    record.resize(item, '\0');
    file.replace(512 * (4 + 32 * land) + (id / 32) * (4 + 32 * item) + 4 + (id % 32) * item, item,
                 record);
    if (newLayout)
        file.resize(std::max<std::size_t>(file.size(), formats::TileDataNewLayoutSize), '\0');
    return file;
}

std::optional<formats::ItemTileRecord> itemOf(const std::string &bytes, std::uint32_t id) {
    io::MemoryByteSource file(bytes);
    return formats::readItemTileRecord(file, id);
}

TEST(TileDataFile, ReadsNameAndFlagsInBothLayouts) {
    for (const bool newLayout : {false, true}) {
        const std::uint64_t flags = 0x40040ull | (newLayout ? 0x100000000ull : 0);
        const std::string file = tiledata(newLayout, 0x0EED, flags, "barrel");
        const auto record = itemOf(file, 0x0EED);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->name, "barrel");
        EXPECT_EQ(record->flags, flags);
        EXPECT_EQ(itemOf(file, 0x0EEC)->name, "");
        // A name that fills its field has no NUL.
        EXPECT_EQ(itemOf(tiledata(newLayout, 3, 0, std::string(20, 'n')), 3)->name,
                  std::string(20, 'n'));
    }
    EXPECT_FALSE(itemOf(tiledata(false, 31, 0, "x"), 32));
}

} // namespace
} // namespace tessaplex::test
