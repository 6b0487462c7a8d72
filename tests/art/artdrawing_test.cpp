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

// ---- raw records ----

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

} // namespace
} // namespace tessaplex::test
