// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/error.h"
#include "base/littleendian.h"
#include "formats/indexrecord.h"
#include "formats/mapgeometry.h"
#include "formats/staticrecord.h"
#include "patch/patchfiles.h"
#include "patch/patchshard.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using namespace tessaplex::patch;

TEST(LittleEndian, ReadsAndWritesLowestByteFirst) {
    const struct {
        unsigned char bytes[4];
        std::uint32_t value;
    } cases[] = {
        {{0x2A, 0, 0, 0}, 42},
        {{0xFF, 0, 0, 0}, 255},
        {{0x80, 0, 0, 0}, 128},
        {{0x00, 0x01, 0, 0}, 256},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678u},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFu},
        {{0, 0, 0, 0x80}, 0x80000000u},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(readU32le(c.bytes), c.value);
        unsigned char written[4];
        writeU32le(written, c.value);
        EXPECT_EQ(std::string(written, written + 4), std::string(c.bytes, c.bytes + 4)) << c.value;
        EXPECT_EQ(readU16le(c.bytes), c.value & 0xFFFFu);
    }
    unsigned char two[2];
    writeU16le(two, 0xBEEF);
    EXPECT_EQ(two[0], 0xEF);
    EXPECT_EQ(two[1], 0xBE);
}

TEST(IndexRecord, DecodesTheThreeFieldsAndEncodesThemBack) {
    const unsigned char bytes[12] = {0x0E, 0, 0, 0, 0x15, 0, 0, 0, 0x01, 0x02, 0x03, 0x04};
    const formats::IndexRecord record = formats::IndexRecord::decode(bytes);
    EXPECT_EQ(record.lookup, 14u);
    EXPECT_EQ(record.length, 21u);
    EXPECT_EQ(record.extra, 0x04030201u);
    unsigned char again[12];
    record.encode(again);
    EXPECT_EQ(std::string(again, again + 12), std::string(bytes, bytes + 12));

    unsigned char empty[12];
    formats::IndexRecord::empty(7).encode(empty);
    EXPECT_EQ(std::string(empty, empty + 12),
              std::string(8, '\xFF') + std::string("\x07\0\0\0", 4));
}

TEST(IndexRecord, HasExistingRecordsOnlyWithAValidLookupAndLength) {
    const struct {
        std::uint32_t lookup, length;
        bool existing;
    } cases[] = {
        {0, 7, true},
        {1000, 10, true},
        {0xFFFFFFFEu, 1, true},
        {0xFFFFFFFFu, 7, false},
        {0, 0, false},
        {500, 0, false},
        {500, 0xFFFFFFFFu, false},
        {0xFFFFFFFFu, 0xFFFFFFFFu, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ((formats::IndexRecord{c.lookup, c.length, 0}.hasExistingRecords()), c.existing)
            << c.lookup << " " << c.length;
}

TEST(StaticRecord, KeepsTheLowBitsOfEveryField) {
    const struct {
        std::int32_t id, x, y, z, color;
        std::string bytes;
    } cases[] = {
        {0x0EED, 1500, 1000, 5, 0x481, test::staticBytes(0x0EED, 4, 0, 5, 0x481)},
        {0x14001, 6143, 4095, 0, 0, test::staticBytes(0x4001, 7, 7, 0, 0)},
        {1, 8, 15, -1, 70000, test::staticBytes(1, 0, 7, 0xFF, 4464)},
        {0xFFFF, 0, 0, -128, 0xFFFF, test::staticBytes(0xFFFF, 0, 0, 0x80, 0xFFFF)},
        {2, 0, 0, 127, 0, test::staticBytes(2, 0, 0, 0x7F, 0)},
        {3, 0, 0, 300, 0, test::staticBytes(3, 0, 0, 44, 0)},
        // Off the map: the remainder keeps the coordinate's sign, -3 mod 8 is -3.
        {4, -3, -9, 0, 0, test::staticBytes(4, 0xFD, 0xFF, 0, 0)},
    };
    for (const auto &c : cases) {
        unsigned char out[7];
        formats::encodeStaticRecord(out, c.id, c.x, c.y, c.z, c.color);
        EXPECT_EQ(std::string(out, out + 7), c.bytes) << c.id << " " << c.x << " " << c.y;
    }
}

TEST(MapGeometry, NumbersBlocksColumnByColumn) {
    const struct {
        std::int32_t x, y;
        std::uint32_t block;
        std::int32_t dx, dy;
    } cases[] = {
        {0, 0, 0, 0, 0},
        {6143, 4095, 393215, 7, 7},
        {8, 0, 512, 0, 0},
        {0, 8, 1, 0, 0},
        {1500, 1000, 95869, 4, 0},
        {7, 7, 0, 7, 7},
        {7167, 4095, 458751, 7, 7},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(formats::blockOf(c.x, c.y), c.block) << c.x << "," << c.y;
        EXPECT_EQ(formats::offsetInBlock(c.x), c.dx);
        EXPECT_EQ(formats::offsetInBlock(c.y), c.dy);
    }
}

TEST(PatchFiles, TakesTheFolderUpToTheLastSeparatorOrColon) {
    const struct {
        const char *path;
        const char *folder; // nullptr: no folder part
    } cases[] = {
        {"C:\\UO\\statics0.mul", "C:\\UO\\"},
        {"/srv/uo/statics0.mul", "/srv/uo/"},
        {"C:\\UO/mixed\\statics0.mul", "C:\\UO/mixed\\"},
        {"C:statics0.mul", "C:\\"},
        {"\\statics0.mul", "\\"},
        {"statics0.mul", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        const auto folder = folderPart(c.path);
        if (c.folder) {
            ASSERT_TRUE(folder) << c.path;
            EXPECT_EQ(*folder, c.folder);
        } else {
            EXPECT_FALSE(folder) << c.path;
        }
    }
}

TEST(PatchFiles, PutsEachBackupInItsOwnFilesFolder) {
    const PatchFiles files =
        PatchFiles::fromSettings("D:\\data\\statics0.mul", "E:\\index\\staidx0.mul", "w.scp");
    EXPECT_EQ(files.staticsBackup, "D:\\data\\statics0.xxx");
    EXPECT_EQ(files.staidxBackup, "E:\\index\\staidx0.xxx");
    EXPECT_EQ(files.world, "w.scp");

    for (const auto &[statics, staidx] :
         {std::pair{"", "/a/staidx0.mul"}, std::pair{"/a/statics0.mul", ""},
          std::pair{"statics0.mul", "/a/staidx0.mul"},
          std::pair{"/a/statics0.mul", "staidx0.mul"}}) {
        try {
            (void)PatchFiles::fromSettings(statics, staidx, "/w.scp");
            ADD_FAILURE() << "no error for " << statics << " / " << staidx;
        } catch (const Error &e) {
            EXPECT_STREQ(e.what(), "Range check error");
        }
    }
}
