// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/error.h"
#include "io/filemapping.h"
#include "patch/failingfilesystem.h"
#include "patch/patchshard.h"
#include "selection/marks.h"
#include "world/itemtable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

using namespace tessaplex;
using namespace tessaplex::test;
using formats::IndexRecord;
using Outcome = app::Session::PatchOutcome;

namespace {

constexpr std::uint32_t TwoColumns = 1024;

// Old data file: block 600 (14 bytes) first, then block 1 (3 records), block 3 (10 bytes, no
// whole record), 5 bytes no index record covers, block 700 (7 bytes), 3 more loose bytes.
const std::string block600 = staticBytes(0x600, 1, 1, 0, 0) + staticBytes(0x601, 2, 2, 0, 0);
const std::string block1 = staticBytes(0x100, 0, 0, 0, 1) + staticBytes(0x101, 1, 0, 0, 2) +
                           staticBytes(0x102, 2, 0, 0, 3);
const std::string block3 = "TENBYTES!!";
const std::string block700 = staticBytes(0x700, 7, 7, 10, 0);
const std::string oldData = block600 + block1 + block3 + "gap.." + block700 + "end";

const std::string oldIndex = indexBytes(
    TwoColumns, {{600, {0, 14, 0x600}},
                 {1, {14, 21, 0x11111111}},
                 {2, {formats::IndexRecord::None, formats::IndexRecord::None, 0xDEADBEEF}},
                 {3, {35, 10, 3}},
                 {5, {31, 0, 99}},
                 {700, {50, 7, 0x700}}});

const std::string lead = "[WORLDCHAR c_man]\r\nSERIAL=01\r\nP=1,1,0\r\n\r\n";
const std::string items[] = {
    worldItem("0eed", "0,8,5", "0481"),     // row 1: block 1
    worldItem("0eee", "3,20,-1"),           // row 2: block 2, no colour
    worldItem("0eef", "4,23,0"),            // row 3: block 2
    worldItem("0abc", "1,25,0"),            // row 4: block 3, left unmarked
    worldItem("04001", "9,1,127", "01170"), // row 5: block 512
    worldItem("0def", "2,10"),              // row 6: block 1, no Z
};
const std::string tail = "[EOF]\r\n";

std::string worldOf(std::initializer_list<int> rows) {
    std::string text = lead;
    for (int row : rows)
        text += items[row - 1];
    return text + tail;
}

std::string expectedError(const std::function<void()> &f) {
    try {
        f();
    } catch (const Error &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(SessionPatch, MergesTheMarkedItemsIntoTheirBlocksByteForByte) {
    PatchShard shard;
    shard.writeFiles(worldOf({1, 2, 3, 4, 5, 6}), oldIndex, oldData);
    ASSERT_EQ(shard.analyse(), 6);
    shard.mark({1, 2, 3, 5, 6});
    ASSERT_EQ(shard.patch(), Outcome::Finished);

    const std::string newBlock1 =
        block1 + staticBytes(0x0eed, 0, 0, 5, 0x481) + staticBytes(0x0def, 2, 2, 0, 0);
    const std::string newBlock2 =
        staticBytes(0x0eee, 3, 4, 0xFF, 0) + staticBytes(0x0eef, 4, 7, 0, 0);
    const std::string newBlock512 = staticBytes(0x4001, 1, 1, 127, 4464);
    EXPECT_EQ(readFile(shard.statics),
              newBlock1 + newBlock2 + block3 + newBlock512 + block600 + block700);
    EXPECT_EQ(readFile(shard.staidx), indexBytes(TwoColumns, {{1, {0, 35, 0x11111111}},
                                                              {2, {35, 14, 0xDEADBEEF}},
                                                              {3, {49, 10, 3}},
                                                              {5, formats::IndexRecord::empty(99)},
                                                              {512, {59, 7, 0}},
                                                              {600, {66, 14, 0x600}},
                                                              {700, {80, 7, 0x700}}}));
    EXPECT_EQ(readFile(shard.world), worldOf({4}));
    // Only the three files and the settings remain: no temporary file, no old copy.
    EXPECT_EQ(shard.snapshot().size(), 4u);
    // The gauge ran over the index records, then over the world file's lines.
    EXPECT_EQ(shard.gauge.maxima, (std::vector<std::int32_t>{TwoColumns, 31}));
}

TEST(SessionPatch, WritesLfLineEndsWithTheUnixSetting) {
    PatchShard shard;
    shard.setSetting(app::keys::Unix, "1");
    shard.writeFiles(worldOf({1, 4}), oldIndex, oldData);
    ASSERT_EQ(shard.analyse(), 2);
    shard.mark({1});
    ASSERT_EQ(shard.patch(), Outcome::Finished);
    std::string expected = worldOf({4});
    for (std::size_t at; (at = expected.find("\r\n")) != std::string::npos;)
        expected.erase(at, 1);
    EXPECT_EQ(readFile(shard.world), expected);
}

// The map of later clients is 7,168 positions wide: its index keeps all 458,752 records.
TEST(SessionPatch, KeepsTheRecordCountOfAClassicOrAWideIndex) {
    for (std::uint32_t records : {393216u, 458752u}) {
        PatchShard shard;
        const std::string position = records == 393216u ? "6143,4095,0" : "7167,4095,0";
        shard.writeFiles(worldItem("0eed", position), indexBytes(records, {{0, {0, 7, 5}}}),
                         staticBytes(1, 0, 0, 0, 0));
        ASSERT_EQ(shard.analyse(), 1);
        shard.mark({1});
        ASSERT_EQ(shard.patch(), Outcome::Finished);
        const std::string index = readFile(shard.staidx);
        ASSERT_EQ(index.size(), std::size_t{records} * 12);
        EXPECT_EQ(indexRecordAt(index, 0), (formats::IndexRecord{0, 7, 5}));
        EXPECT_EQ(indexRecordAt(index, records - 1), (formats::IndexRecord{7, 7, 0}));
        EXPECT_EQ(readFile(shard.statics),
                  staticBytes(1, 0, 0, 0, 0) + staticBytes(0x0eed, 7, 7, 0, 0));
        EXPECT_EQ(shard.gauge.maxima.front(), static_cast<std::int32_t>(records));
    }
}

TEST(SessionPatch, WithNoMarkedRowTouchesNoFile) {
    PatchShard shard;
    shard.writeFiles(worldOf({1, 2}), oldIndex, oldData);
    ASSERT_EQ(shard.analyse(), 2);
    // Not even the settings of the static files are looked at.
    shard.setSetting(app::keys::Statics, "");
    const auto before = shard.snapshot();
    FailingFileSystem files;
    EXPECT_EQ(shard.patch(files), Outcome::Finished);
    EXPECT_EQ(files.operations(), 0);
    EXPECT_EQ(differences(before, shard.snapshot()), "");
}

TEST(SessionPatch, RefusesMoreThanHalfAMillionMarksAndPatchesThatMany) {
    PatchShard shard;
    std::string world;
    world.reserve(500001 * 40);
    for (int i = 0; i < 500001; ++i)
        world += "[WORLDITEM 0eed]\nP=" + std::to_string(i % 6144) + "," +
                 std::to_string(i % 4096) + ",0\n\n";
    shard.writeFiles(world, indexBytes(393216), "");
    ASSERT_EQ(shard.analyse(), 500001);
    for (int row = 1; row <= 500001; ++row)
        shard.session.table().setMark(row, world::Mark::Yes);
    FailingFileSystem files;
    EXPECT_EQ(shard.patch(files), Outcome::TooManyMarks);
    EXPECT_EQ(files.operations(), 0);

    shard.session.table().setMark(500001, world::Mark::No);
    ASSERT_EQ(shard.patch(), Outcome::Finished);
    EXPECT_EQ(std::filesystem::file_size(shard.statics), 500000u * 7);
    EXPECT_EQ(readFile(shard.world), "[WORLDITEM 0eed]\r\nP=" + std::to_string(500000 % 6144) +
                                         "," + std::to_string(500000 % 4096) + ",0\r\n\r\n");
}

// A cell that is no integer stops PATCH before any file is touched, and the first bad cell in
// the order BLOCK, COLOR, Z, Y, X is the one named; that error comes before a missing folder.
TEST(SessionPatch, RefusesACellThatIsNoIntegerNamingTheFirstBadCell) {
    const struct {
        std::string section;
        const char *message;
    } cases[] = {
        {worldItem("0eed", ""), "'' is not a valid integer value"},
        {worldItem("0eed", "10,abc,zz"), "'zz' is not a valid integer value"},
        {worldItem("0eed", "10,abc,5"), "'abc' is not a valid integer value"},
        {worldItem("0eed", "1 0,8,5"), "'1 0' is not a valid integer value"},
        {worldItem("0eed", "10"), "'' is not a valid integer value"},
        {worldItem("0eed", "10,8,5", "ffffffff"), "'4294967295' is not a valid integer value"},
        {worldItem("0eed", "-8,0,0"), "'4294966784' is not a valid integer value"},
    };
    for (const auto &c : cases) {
        PatchShard shard;
        shard.writeFiles(c.section, oldIndex, oldData);
        ASSERT_EQ(shard.analyse(), 1) << c.section;
        shard.mark({1});
        shard.setSetting(app::keys::Statics, "statics0.mul");
        const auto before = shard.snapshot();
        FailingFileSystem files;
        EXPECT_EQ(expectedError([&] { (void)shard.patch(files); }), c.message) << c.section;
        EXPECT_EQ(files.operations(), 0);
        EXPECT_EQ(differences(before, shard.snapshot()), "");
    }
}

TEST(SessionPatch, RefusesAStaticsPathWithoutAFolderPart) {
    for (const auto key : {app::keys::Statics, app::keys::Staidx}) {
        for (const std::string value : {"", "staidx0.mul"}) {
            PatchShard shard;
            shard.writeFiles(worldOf({1}), oldIndex, oldData);
            ASSERT_EQ(shard.analyse(), 1);
            shard.mark({1});
            shard.setSetting(key, value);
            const auto before = shard.snapshot();
            FailingFileSystem files;
            EXPECT_EQ(expectedError([&] { (void)shard.patch(files); }), "Range check error");
            EXPECT_EQ(files.operations(), 0);
            EXPECT_EQ(differences(before, shard.snapshot()), "");
        }
    }
}

// Each refusal names what is wrong and comes before any file is created, renamed or written.
TEST(SessionPatch, RefusesWhatWouldLoseDataBeforeTouchingAnything) {
    const auto craftedRows = [](std::vector<std::pair<std::int32_t, std::int32_t>> sections) {
        return [sections](PatchShard &s) {
            auto &table = s.session.table();
            const world::LineList &lines = s.session.lines();
            const auto offset = [&](std::int32_t line) {
                return static_cast<std::uint32_t>(lines.startOf(static_cast<std::size_t>(line)));
            };
            table.startAnalysis();
            for (const auto &[start, end] : sections)
                table.appendItem({start,
                                  end,
                                  0xeed,
                                  world::IdForm::Lower,
                                  true,
                                  "0",
                                  "8",
                                  "5",
                                  0,
                                  {},
                                  false,
                                  0,
                                  offset(start),
                                  offset(end)});
            selection::markAll(table);
        };
    };
    const struct {
        const char *name;
        std::string world;
        std::function<void(PatchShard &)> arrange;
        std::vector<std::string> inMessage;
    } cases[] = {
        {"an X beyond the columns of the index",
         worldItem("0eed", "8,0,0"),
         [](PatchShard &s) { writeFile(s.staidx, indexBytes(512)); },
         {"Row 1: position 8,0 lies outside the map", "X 0 to 7 and Y 0 to 4095"}},
        {"a Y below the map",
         worldItem("0eed", "0,-8,0"),
         [](PatchShard &) {},
         {"Row 1: position 0,-8 lies outside the map"}},
        {"a Y beyond the map, whose block is one of the next column",
         worldItem("0eed", "1334,5000,0"),
         [](PatchShard &s) { writeFile(s.staidx, indexBytes(393216)); },
         {"Row 1: position 1334,5000 lies outside the map", "X 0 to 6143 and Y 0 to 4095"}},
        {"a Z beyond a signed byte",
         worldItem("0eed", "1,1,300"),
         [](PatchShard &) {},
         {"Row 1: Z 300 does not fit a static record, which holds heights -128 to 127"}},
        {"an ID beyond 16 bits",
         worldItem("010000", "1,1,0"),
         [](PatchShard &) {},
         {"Row 1: ID 10000 does not fit a static record"}},
        {"a COLOR beyond 16 bits",
         worldItem("0eed", "1,1,0", "010000"),
         [](PatchShard &) {},
         {"Row 1: COLOR 65536 does not fit a static record, which holds colours 0 to 65535"}},
        {"an index of no whole column",
         worldOf({1, 2}),
         [](PatchShard &s) { writeFile(s.staidx, indexBytes(393215)); },
         {"staidx0.mul has 4718580 bytes", "512-block columns"}},
        {"an empty index",
         worldOf({1, 2}),
         [](PatchShard &s) { writeFile(s.staidx, ""); },
         {"staidx0.mul has 0 bytes"}},
        {"an index record beyond the data file",
         worldOf({1, 2}),
         [](PatchShard &s) { writeFile(s.statics, oldData.substr(0, 56)); },
         {"Block 700 of the static index file", "lookup 50, length 7, file size 56"}},
        {"a missing static data file",
         worldOf({1, 2}),
         [](PatchShard &s) { std::filesystem::remove(s.statics); },
         {"Cannot open file ", "statics0.mul"}},
        {"a data backup name already taken",
         worldOf({1, 2}),
         [](PatchShard &s) { writeFile(s.dir.file("map/statics0.xxx"), "old"); },
         {"statics0.xxx already exists"}},
        {"an index backup name already taken",
         worldOf({1, 2}),
         [](PatchShard &s) { writeFile(s.dir.file("map/staidx0.xxx"), "old"); },
         {"staidx0.xxx already exists"}},
        {"one file named twice",
         worldOf({1, 2}),
         [](PatchShard &s) { s.setSetting(app::keys::Staidx, s.statics); },
         {"named twice"}},
        {"a NUL byte in the world file",
         worldOf({1, 2}) + std::string("\0[WORLDITEM", 11),
         [](PatchShard &) {},
         {"holds a NUL byte at offset " + std::to_string(worldOf({1, 2}).size())}},
        {"a world file changed on disk",
         worldOf({1, 2}),
         [](PatchShard &s) {
             writeFile(s.world, worldOf({1, 2}) + "\r\n");
         },
         {"changed on disk since it was read"}},
        {"a world file changed on disk, same size",
         worldOf({1, 2}),
         [](PatchShard &s) {
             std::string text = worldOf({1, 2});
             text[text.size() - 3] = 'X';
             writeFile(s.world, text);
         },
         {"changed on disk since it was read"}},
        {"a world file emptied in place",
         worldOf({1, 2}),
         [](PatchShard &s) { std::filesystem::resize_file(s.world, 0); },
         {"changed on disk since it was read"}},
        {"another world file named since the analysis",
         worldOf({1, 2}),
         [](PatchShard &s) {
             writeFile(s.dir.file("save/other.scp"), worldOf({1, 2}));
             s.setSetting(app::keys::WorldFileWritten, s.dir.file("save/other.scp"));
         },
         {"analysed from", "other.scp"}},
        {"another map chosen since the analysis",
         worldOf({1, 2}),
         [](PatchShard &s) { s.setSetting(app::keys::Map, "3"); },
         {"The items were listed for the map as written, but the \"Map\" setting now names map "
          "3; analyse again"}},
        {"a map setting that names no map",
         worldOf({1, 2}),
         [](PatchShard &s) { s.setSetting(app::keys::Map, "7"); },
         {"The \"Map\" setting is \"7\"; it must be empty (as written) or a map number from 0 to "
          "5"}},
        {"a change counted by the information dialog",
         worldOf({1, 2}),
         [](PatchShard &s) {
             writeFile(s.world, worldOf({1, 2}) + "[EOF]\r\n");
             ASSERT_TRUE(s.session.worldFileInfo());
         },
         {"changed on disk since it was read"}},
        {"an analysis that listed nothing from changed lines",
         worldOf({1, 2}),
         [](PatchShard &s) {
             writeFile(s.world, worldOf({1, 2}) + "[EOF]\r\n");
             ProgressGauge quiet;
             ASSERT_EQ(s.session.analyse("900", "1", quiet), world::AnalyseOutcome::NothingToList);
         },
         {"was read again and has changed since the analysis"}},
        {"a section start that is no header",
         worldOf({1, 2}),
         craftedRows({{5, 8}}),
         {"Row 1: line 5 of the world file is not a \"[WORLDITEM\" line"}},
        {"a section end that is not empty",
         worldOf({1, 2}),
         craftedRows({{4, 6}}),
         {"Row 1: line 6 of the world file is not an empty line"}},
        {"overlapping sections",
         worldOf({1, 2}),
         craftedRows({{4, 8}, {4, 8}}),
         {"Row 2: lines 4 to 8 overlap"}},
        {"sections out of order",
         worldOf({1, 2}),
         craftedRows({{9, 12}, {4, 8}}),
         {"Row 2: lines 4 to 8 overlap"}},
        {"a section beyond the last line",
         worldOf({1, 2}),
         craftedRows({{4, 80}}),
         {"Row 1: lines 4 to 80 are no section of the world file's 14 lines"}},
    };
    // Every refusal holds for lines copied into memory and for lines read through the cache,
    // whose bytes change with the file.
    for (const auto &c : cases) {
        for (const io::Mapping mapping : {io::Mapping::Never, io::Mapping::Always}) {
            const io::MappingScope scope(mapping);
            PatchShard shard;
            shard.writeFiles(c.world, oldIndex, oldData);
            // An old file, as the automatic choice maps only those: a change made in the same tick
            // of the clock as the writing above would not move the change time.
            std::filesystem::last_write_time(shard.world,
                                             std::filesystem::file_time_type::clock::now() -
                                                 std::chrono::seconds(10));
            ASSERT_GT(shard.analyse(), 0) << c.name;
            selection::markAll(shard.session.table());
            c.arrange(shard);
            const auto before = shard.snapshot();
            FailingFileSystem files;
            const std::string message = expectedError([&] { (void)shard.patch(files); });
            for (const std::string &part : c.inMessage)
                EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
            EXPECT_EQ(differences(before, shard.snapshot()), "") << c.name;
            for (const char *operation : {" create ", " rename ", " remove ", " write "})
                EXPECT_EQ(files.logText().find(operation), std::string::npos)
                    << c.name << ": " << operation;
        }
    }
}
