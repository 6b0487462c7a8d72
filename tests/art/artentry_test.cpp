// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing art entries from art files written by the tests, through the same call the program uses.
#include "app/artpreview.h"
#include "app/session.h"
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "base/error.h"
#include "support/artfixture.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "art/artdrawingtesting.h"

namespace tessaplex::test {
namespace {

// ---- entries without art ----

TEST(ArtEntry, EntriesWithoutArtLeaveTheCanvasAsItWas) {
    ArtFilesBuilder builder;
    builder.add(0x4001, rawArtRecord(BluePixel));
    builder.setIndex(0x4002, 0xFFFFFFFF, 2024);
    struct Case {
        std::uint32_t entry;
        DrawOutcome outcome;
    };
    const Case cases[] = {
        {0x4000, DrawOutcome::Empty},         // not given: an empty record
        {0x4002, DrawOutcome::Empty},         // lookup 0xFFFFFFFF with a length
        {0x4003, DrawOutcome::NoIndexRecord}, // the index ends before it
        {0xFFFFFFFF, DrawOutcome::NoIndexRecord},
    };
    ArtFiles files(builder);
    for (const Case &c : cases) {
        RgbCanvas canvas(131, 201, Red);
        ASSERT_EQ(files.draw(0x4001, canvas), DrawOutcome::Drawn);
        EXPECT_EQ(files.draw(c.entry, canvas), c.outcome) << std::hex << c.entry;
        EXPECT_FALSE(art::changedCanvas(c.outcome));
        // Still the previous entry's picture: not cleared.
        EXPECT_EQ(canvas.pixel(44, 0), Blue);
        EXPECT_EQ(canvas.pixel(0, 0), White);
    }
}

TEST(ArtEntry, ItemIdSelectsItsIndexRecord) {
    // Item 0x0EED is entry 0x4EED, whose index record starts at byte 242460; its neighbours hold
    // other colours, so a record read from the wrong place shows.
    ArtFilesBuilder builder;
    builder.add(0x4EEC, runArtRecord({{ArtRun{0, {RedPixel}}}}));
    builder.add(0x4EED, runArtRecord({{ArtRun{0, {BluePixel}}}}));
    builder.add(0x4EEE, runArtRecord({{ArtRun{0, {GreenPixel}}}}));
    const std::string index = builder.indexBytes();
    ASSERT_EQ(index.substr(242460, 4), u32le(builder.lookupOf(0x4EED)));
    ArtFiles files(builder);
    RgbCanvas canvas(131, 201);
    ASSERT_EQ(files.draw(art::ItemArtBase + 0x0EED, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), Blue);
}

TEST(ArtEntry, AnIndexRecordCutInsideItsUnusedFieldIsStillRead) {
    ArtFilesBuilder builder;
    builder.add(0, runArtRecord({{ArtRun{0, {BluePixel}}}}));
    for (const std::size_t indexLength : {std::size_t{8}, std::size_t{11}}) {
        ArtFiles files(builder.dataBytes(), builder.indexBytes().substr(0, indexLength));
        RgbCanvas canvas(131, 201, Red);
        EXPECT_EQ(files.draw(0, canvas), DrawOutcome::Drawn) << indexLength;
        EXPECT_EQ(canvas.pixel(0, 0), Blue);
    }
    ArtFiles cut(builder.dataBytes(), builder.indexBytes().substr(0, 7));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(cut.draw(0, canvas), DrawOutcome::NoIndexRecord);
    EXPECT_TRUE(isUniform(canvas, Red));
}

// ---- damaged files ----

TEST(ArtDamage, ReadingEndsAtTheEndOfTheFileAndKeepsWhatWasDrawn) {
    const std::string raw = rawArtRecord(indexedPixel);
    // Two rows of 3 pixels: offsets table at 8, row data at 12.
    const std::string run = runArtRecord({{ArtRun{0, {BluePixel, BluePixel, BluePixel}}},
                                          {ArtRun{0, {RedPixel, RedPixel, RedPixel}}}});
    const ScreenColour r = art::screenColourFromPixel(RedPixel);
    struct Case {
        const char *what;
        std::string data;
        std::uint32_t lookup;
        // Pixels expected to be painted (x, y, colour) and the count of non-white pixels.
        std::vector<std::tuple<int, int, ScreenColour>> painted;
        int nonWhite;
    };
    const std::vector<Case> cases = {
        {"lookup past the end", raw, 5000, {}, 0},
        {"lookup at the end", raw, 2024, {}, 0},
        {"lookup far past the end", raw, 0xFFFFFFF0u, {}, 0},
        {"flag cut", raw.substr(0, 3), 0, {}, 0},
        {"raw record cut after 500 pixels",
         raw.substr(0, 1001),
         0,
         {{42, 0, art::screenColourFromPixel(indexedPixel(0))},
          {74, 42, art::screenColourFromPixel(indexedPixel(499))}},
         500 * 4},
        {"run header cut", run.substr(0, 6), 0, {}, 0},
        // The row data lies behind the table, so nothing of the record can be drawn.
        {"row offset table cut", run.substr(0, 10), 0, {}, 0},
        {"run cut in its header", run.substr(0, 12 + 4 + 6 + 4 + 2), 0, {{2, 0, Blue}}, 3},
        {"run cut in its pixels", run.substr(0, 12 + 14 + 4 + 2), 0, {{2, 0, Blue}, {0, 1, r}}, 4},
        {"row end missing", run.substr(0, 12 + 10), 0, {{2, 0, Blue}}, 3},
    };
    for (const Case &c : cases) {
        ArtFilesBuilder builder;
        builder.setIndex(Entry, c.lookup, 2024);
        ArtFiles files(c.data, builder.indexBytes());
        RgbCanvas canvas(131, 201, Red);
        EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Damaged) << c.what;
        for (const auto &[x, y, colour] : c.painted)
            EXPECT_EQ(canvas.pixel(x, y), colour) << c.what << " at " << x << "," << y;
        EXPECT_EQ(countOtherThan(canvas, White), c.nonWhite) << c.what;
    }
}

TEST(ArtDamage, RowOffsetBeyondTheFile) {
    std::string record = runArtRecord(
        {{ArtRun{0, {BluePixel}}}, {ArtRun{0, {RedPixel}}}, {ArtRun{0, {GreenPixel}}}});
    record.replace(8 + 2 * 1, 2, u16le(0xFFFF)); // row 1 starts 128 KiB on
    ArtFiles files(ArtFilesBuilder().add(Entry, record));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Damaged);
    EXPECT_EQ(canvas.pixel(0, 0), Blue);
    EXPECT_EQ(canvas.pixel(0, 1), White);
    EXPECT_EQ(canvas.pixel(0, 2), White);
}

TEST(ArtDamage, CountLargerThanTheFileHolds) {
    // A run that claims 2000 pixels in a record that holds 2 of them.
    const ArtRow row = {ArtRun{0, {BluePixel, BluePixel}, 2000}};
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord({row}).substr(0, 18)));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Damaged);
    EXPECT_EQ(countOtherThan(canvas, White), 2);
}

// ---- the files ----

TEST(ArtFilesOpening, AFileThatCannotBeOpenedStopsTheDrawing) {
    const std::string good = runArtRecord({{ArtRun{0, {BluePixel}}}});
    ArtFiles files(ArtFilesBuilder().add(Entry, good));
    const std::string art = files.dir().file("art.mul");
    const std::string index = files.dir().file("artidx.mul");
    const std::string missing = files.dir().file("missing.mul");
    struct Case {
        std::string artPath, indexPath, message;
    };
    const std::vector<Case> cases = {
        {"", index, "Cannot open file "},
        {art, "", "Cannot open file "},
        {missing, index, "Cannot open file " + missing},
        {art, missing, "Cannot open file " + missing},
        // The data file is opened first, so it is the one named.
        {"", "", "Cannot open file "},
        {missing, "", "Cannot open file " + missing},
        // A folder is no data file.
        {files.dir().path(), index, "Cannot open file " + files.dir().path()},
    };
    for (const Case &c : cases) {
        files.setPaths(c.artPath, c.indexPath);
        RgbCanvas canvas(131, 201, Red);
        try {
            (void)files.draw(Entry, canvas);
            ADD_FAILURE() << "no error for " << c.artPath << " / " << c.indexPath;
        } catch (const Error &e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_TRUE(isUniform(canvas, Red));
    }
}

TEST(ArtFilesOpening, PathsWithBackslashesAreFound) {
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord({{ArtRun{0, {BluePixel}}}})));
    const std::string backslashed = files.dir().path() + "art\\art.mul";
    std::filesystem::create_directory(files.dir().file("art"));
    writeFile(files.dir().file("art/art.mul"), readFile(files.dir().file("art.mul")));
    files.setPaths(backslashed, files.dir().file("artidx.mul"));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), Blue);
}

TEST(ArtFilesOpening, EveryDrawingReadsTheFilesAnew) {
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord({{ArtRun{0, {BluePixel}}}})));
    RgbCanvas canvas(131, 201, Red);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), Blue);
    writeFile(files.dir().file("art.mul"), runArtRecord({{ArtRun{0, {GreenPixel}}}}));
    writeFile(files.dir().file("other.mul"), runArtRecord({{ArtRun{0, {RedPixel}}}}));
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), art::screenColourFromPixel(GreenPixel));
    files.setPaths(files.dir().file("other.mul"), files.dir().file("artidx.mul"));
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), art::screenColourFromPixel(RedPixel));
}

TEST(ArtSwatch, ColourNumberIsTakenAsAScreenColour) {
    struct Case {
        const char *cell;
        ScreenColour colour;
    };
    const Case cases[] = {
        {"1153", 0x000481}, // red 129, green 4, blue 0
        {"0", 0},           {"", 0},       {"abc", 0}, {"12abc", 0}, {"16777215", 0xFFFFFF},
        {"16777216", 0},    {"$FF", 0xFF},
    };
    for (const Case &c : cases)
        EXPECT_EQ(app::swatchColour(c.cell), c.colour) << c.cell;
}

} // namespace
} // namespace tessaplex::test
