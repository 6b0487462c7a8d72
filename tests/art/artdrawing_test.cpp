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

namespace tessaplex::test {
namespace {

using art::DrawOutcome;
using art::RgbCanvas;
using art::ScreenColour;
using art::White;

constexpr ScreenColour Red = 0x0000FF;
constexpr ScreenColour Blue = 0xFF0000;
constexpr std::uint16_t BluePixel = 0x001F;
constexpr std::uint16_t RedPixel = 0x7C00;
constexpr std::uint16_t GreenPixel = 0x03E0;

// Writes the art files and a settings file naming them, then draws through previewArt.
class ArtFiles {
public:
    explicit ArtFiles(const ArtFilesBuilder &builder)
        : ArtFiles(builder.dataBytes(), builder.indexBytes()) {}
    ArtFiles(const std::string &data, const std::string &index)
        : m_settings(m_dir.file("qelm.ini")) {
        writeFile(m_dir.file("art.mul"), data);
        writeFile(m_dir.file("artidx.mul"), index);
        setPaths(m_dir.file("art.mul"), m_dir.file("artidx.mul"));
    }

    // Names the art data and index files in the settings file.
    void setPaths(const std::string &art, const std::string &index) {
        writeFile(m_settings.path(), "[Custom]\nArtIdx=" + index + "\nArt=" + art + "\n");
    }

    DrawOutcome draw(std::uint32_t entry, art::PixelCanvas &canvas) const {
        return app::previewArt(m_settings, entry, canvas);
    }
    [[nodiscard]] const TempDir &dir() const { return m_dir; }

private:
    TempDir m_dir;
    app::Settings m_settings;
};

// The number of canvas pixels that are not colour.
int countOtherThan(const RgbCanvas &canvas, ScreenColour colour) {
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.pixel(x, y) != colour;
    }
    return n;
}

bool isUniform(const RgbCanvas &canvas, ScreenColour colour) {
    return countOtherThan(canvas, colour) == 0;
}

constexpr std::uint32_t Entry = 0x4000 + 0x0EED;

// ---- raw records ----

// Pixel i of the test diamond is the value i + 1: every pixel differs and none is black.
std::uint16_t indexedPixel(int i) {
    return static_cast<std::uint16_t>(i + 1);
}

TEST(ArtRawRecord, PixelsLandAsDoubledBlocksOfTheDiamond) {
    ArtFiles files(ArtFilesBuilder().add(Entry, rawArtRecord(indexedPixel)));
    RgbCanvas canvas(131, 201, Red);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);

    struct Case {
        int pixelIndex;
        int x, y; // top-left corner of its 2 x 2 block
    };
    // Row r of the upper half starts at 44 - 2(r + 1); the lower half starts at 2r, 44 + 2r down.
    const Case cases[] = {
        {0, 42, 0},     {1, 44, 0},     {2, 40, 2},     {5, 46, 2},   {462, 0, 42},
        {505, 86, 42},  {506, 0, 44},   {549, 86, 44},  {550, 2, 46}, {1006, 40, 84},
        {1009, 46, 84}, {1010, 42, 86}, {1011, 44, 86},
    };
    for (const Case &c : cases) {
        const ScreenColour expected = art::screenColourFromPixel(indexedPixel(c.pixelIndex));
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                EXPECT_EQ(canvas.pixel(c.x + dx, c.y + dy), expected)
                    << "pixel " << c.pixelIndex << " at " << c.x + dx << "," << c.y + dy;
            }
        }
    }
    // 1012 doubled pixels and nothing else: outside the diamond the canvas is white, not red.
    EXPECT_EQ(countOtherThan(canvas, White), 1012 * 4);
    for (const auto &[x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {41, 0}, {46, 0}, {87, 41}, {88, 44}, {44, 88}, {0, 87}, {130, 200}})
        EXPECT_EQ(canvas.pixel(x, y), White) << x << "," << y;
}

TEST(ArtRawRecord, FlagValuesThatMakeARawRecord) {
    // The first two pixels form the flag: 0 and anything above 0xFFFF read as raw.
    for (const std::uint32_t flag : {0u, 0x10000u, 0xFFFFFFFFu, 0x7FFF0000u}) {
        std::string record = rawArtRecord(GreenPixel);
        record.replace(0, 4, u32le(flag));
        ArtFiles files(ArtFilesBuilder().add(Entry, record));
        RgbCanvas canvas(131, 201, Red);
        ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn) << flag;
        EXPECT_EQ(canvas.pixel(44, 86), art::screenColourFromPixel(GreenPixel)) << flag;
        EXPECT_EQ(canvas.pixel(42, 0), art::screenColourFromPixel(flag & 0xFFFF)) << flag;
    }
}

TEST(ArtRawRecord, LengthFieldIsNotReliedOn) {
    ArtFilesBuilder builder;
    builder.add(Entry, rawArtRecord(BluePixel));
    builder.setIndex(Entry, builder.lookupOf(Entry), 7);
    ArtFiles files(builder);
    RgbCanvas canvas(131, 201);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(countOtherThan(canvas, White), 1012 * 4);
}

TEST(ArtRawRecord, ClippedOnASmallCanvas) {
    ArtFiles files(ArtFilesBuilder().add(Entry, rawArtRecord(indexedPixel)));
    RgbCanvas canvas(45, 3, Red);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(44, 0), art::screenColourFromPixel(indexedPixel(1)));
    EXPECT_EQ(canvas.pixel(40, 2), art::screenColourFromPixel(indexedPixel(2)));
    EXPECT_EQ(canvas.pixel(0, 0), White);
}

// ---- colours ----

TEST(ArtColours, PixelValuesGiveScreenColours) {
    struct Case {
        std::uint16_t pixel;
        ScreenColour screen;
    };
    const Case cases[] = {
        {0x7FFF, 0xFFFFFF}, // white
        {0x001F, 0xFF0000}, // pure blue, in the highest byte
        {0x03E0, 0x00FF00}, // pure green
        {0x7C00, 0x0000FF}, // pure red, in the lowest byte
        {0x8000, 0x000000}, // bit 15 alone is black
        {0xFFFF, 0xFFFFFF}, // bit 15 is ignored
        {0x0000, 0x000000}, // 0 is drawn black, not left out
        {0x4210, 0x838383}, // 16 gives 131 in each component
        {0x0421, 0x080808}, // 1 gives 8
        {0x0C41, 0x081018}, // red 3 -> 24, green 2 -> 16, blue 1 -> 8
    };
    for (const Case &c : cases) {
        ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord({{ArtRun{0, {c.pixel}}}})));
        RgbCanvas canvas(131, 201, Red);
        ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
        EXPECT_EQ(canvas.pixel(0, 0), c.screen) << std::hex << c.pixel;
        EXPECT_EQ(art::screenColourFromPixel(c.pixel), c.screen) << std::hex << c.pixel;
    }
}

// ---- run records ----

TEST(ArtRunRecord, DrawnUnscaledFromTheTopLeftOnWhite) {
    // 60 wide, 90 high: row y is one run of 60 - y pixels after a skip of y.
    std::vector<ArtRow> rows;
    for (int y = 0; y < 90; ++y) {
        const auto colour = static_cast<std::uint16_t>(y % 2 ? BluePixel : GreenPixel);
        rows.push_back(
            {ArtRun{static_cast<std::uint16_t>(y % 60),
                    std::vector<std::uint16_t>(static_cast<std::size_t>(60 - y % 60), colour)}});
    }
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord(rows, 60)));
    RgbCanvas canvas(131, 201, Red);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    int painted = 0;
    for (int y = 0; y < 90; ++y) {
        const ScreenColour colour = art::screenColourFromPixel(y % 2 ? BluePixel : GreenPixel);
        for (int x = 0; x < 131; ++x) {
            const bool inRun = x >= y % 60 && x < 60;
            EXPECT_EQ(canvas.pixel(x, y), inRun ? colour : White) << x << "," << y;
            painted += inRun;
        }
    }
    EXPECT_EQ(countOtherThan(canvas, White), painted);
}

TEST(ArtRunRecord, RunsOfARowFollowEachOther) {
    // Each run starts skip pixels after the end of the previous run of its row.
    const ArtRow row = {ArtRun{2, {RedPixel, RedPixel}}, ArtRun{3, {BluePixel}},
                        ArtRun{0, {GreenPixel}}, ArtRun{1, {}}, ArtRun{0, {RedPixel}}};
    const ArtRow second = {ArtRun{1, {BluePixel}}};
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord({row, second})));
    RgbCanvas canvas(131, 201);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    const ScreenColour r = art::screenColourFromPixel(RedPixel);
    const ScreenColour b = art::screenColourFromPixel(BluePixel);
    const ScreenColour g = art::screenColourFromPixel(GreenPixel);
    const ScreenColour expected[] = {White, White, r, r,     White, White,
                                     White, b,     g, White, r,     White};
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(canvas.pixel(x, 0), expected[x]) << x;
    // A new row starts again at the left edge.
    EXPECT_EQ(canvas.pixel(0, 1), White);
    EXPECT_EQ(canvas.pixel(1, 1), b);
    EXPECT_EQ(countOtherThan(canvas, White), 6);
}

TEST(ArtRunRecord, ClippedAtTheCanvasEdges) {
    struct Case {
        int canvasWidth, canvasHeight;
    };
    // 200 pixels wide and 250 rows high: wider and higher than either preview image.
    std::vector<ArtRow> rows(250, ArtRow{ArtRun{0, std::vector<std::uint16_t>(200, BluePixel)}});
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord(rows, 200)));
    for (const Case c : {Case{131, 201}, Case{131, 225}, Case{1, 1}, Case{200, 250}}) {
        RgbCanvas canvas(c.canvasWidth, c.canvasHeight, Red);
        ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
        EXPECT_TRUE(isUniform(canvas, Blue)) << c.canvasWidth << "x" << c.canvasHeight;
    }
    RgbCanvas wide(210, 260, Red);
    ASSERT_EQ(files.draw(Entry, wide), DrawOutcome::Drawn);
    EXPECT_EQ(wide.pixel(199, 249), Blue);
    EXPECT_EQ(wide.pixel(200, 0), White);
    EXPECT_EQ(wide.pixel(0, 250), White);
}

TEST(ArtRunRecord, SkipPlusCountOf2048EndsTheDrawing) {
    struct Case {
        std::uint16_t skip;
        int count;
        bool laterRowsDrawn;
    };
    const Case cases[] = {
        {2000, 47, true}, {2000, 48, false}, {0, 2047, true},
        {2047, 0, true},  {1, 2047, false},  {0xFFFF, 0xFFFF, false},
    };
    for (const Case &c : cases) {
        // Row 0: a visible pixel, then the run under test; row 1: one more visible pixel.
        const ArtRow first = {
            ArtRun{0, {RedPixel}},
            ArtRun{c.skip,
                   std::vector<std::uint16_t>(static_cast<std::size_t>(std::min(c.count, 2047)),
                                              GreenPixel),
                   c.count}};
        ArtFiles files(
            ArtFilesBuilder().add(Entry, runArtRecord({first, {ArtRun{0, {BluePixel}}}})));
        RgbCanvas canvas(131, 201, Red);
        ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn) << c.skip << "+" << c.count;
        // What was drawn before the limit stays.
        EXPECT_EQ(canvas.pixel(0, 0), art::screenColourFromPixel(RedPixel));
        EXPECT_EQ(canvas.pixel(0, 1), c.laterRowsDrawn ? Blue : White) << c.skip << "+" << c.count;
        if (c.skip == 0 && c.count == 2047) {
            EXPECT_EQ(canvas.pixel(130, 0), art::screenColourFromPixel(GreenPixel));
        }
    }
}

TEST(ArtRunRecord, AtMost400RowsAreDrawn) {
    // 500 rows of one pixel each; the offset table still spans all 500 rows.
    std::vector<ArtRow> rows(500, ArtRow{ArtRun{0, {BluePixel}}});
    ArtFiles files(ArtFilesBuilder().add(Entry, runArtRecord(rows, 1)));
    RgbCanvas canvas(2, 600, Red);
    ASSERT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 0), Blue);
    EXPECT_EQ(canvas.pixel(0, 399), Blue);
    EXPECT_EQ(canvas.pixel(0, 400), White);
    EXPECT_EQ(countOtherThan(canvas, White), 400);
}

TEST(ArtRunRecord, ARowThatNeverEndsStopsAtTheWidestRow) {
    // Runs of skip 2000 and nothing else carry x past any width a record can state.
    ArtRow endless(40, ArtRun{2000, {}});
    ArtFiles files(ArtFilesBuilder().add(
        Entry, runArtRecord({ArtRow{ArtRun{0, {RedPixel}}}, endless, {ArtRun{0, {BluePixel}}}})));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Damaged);
    EXPECT_EQ(canvas.pixel(0, 0), art::screenColourFromPixel(RedPixel));
    EXPECT_EQ(canvas.pixel(0, 2), White);
}

TEST(ArtRunRecord, ARowAsWideAsARecordCanStateIsDrawn) {
    // 32 runs of skip 2000 and one of 1535 end exactly at x = 65535.
    ArtRow wide(32, ArtRun{2000, {}});
    wide.push_back(ArtRun{1535, {}});
    ArtFiles files(
        ArtFilesBuilder().add(Entry, runArtRecord({wide, {ArtRun{0, {BluePixel}}}}, 0xFFFF)));
    RgbCanvas canvas(131, 201, Red);
    EXPECT_EQ(files.draw(Entry, canvas), DrawOutcome::Drawn);
    EXPECT_EQ(canvas.pixel(0, 1), Blue);
}

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
