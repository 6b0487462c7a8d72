// SPDX-License-Identifier: GPL-3.0-or-later
// The client's files as the session reads them: art from art.mul or a UOP file, hues, tiledata.
#include "app/clientfiles.h"
#include "app/session.h"
#include "art/rgbcanvas.h"
#include "base/error.h"
#include "formats/uopfile.h"
#include "support/artfixture.h"
#include "support/testsupport.h"
#include "support/uopfixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tessaplex::test {
namespace {

using art::DrawOutcome;
using art::RgbCanvas;

constexpr std::uint32_t RawEntry = 0x4001;
constexpr std::uint32_t RunEntry = 0x4ABC;
constexpr std::uint16_t Grey = 0x4210; // red = green = blue = 16
constexpr std::uint16_t Blue = 0x001F;

std::uint16_t indexedPixel(int i) {
    return static_cast<std::uint16_t>(i * 37 + 1);
}

std::string runRecord() {
    return runArtRecord({{{3, {Grey, Blue, 0x7FFF}}, {2, {0x1234}}}, {}, {{0, {Blue, Grey}}}});
}

std::vector<UopFixtureEntry> artEntries(std::uint16_t compression) {
    return {{formats::artUopName(RawEntry), rawArtRecord(indexedPixel), compression},
            {formats::artUopName(RunEntry), runRecord(), compression}};
}

// Hue h (from 0) turns colour number k into the pixel with blue k and red h.
std::uint16_t hueColour(std::size_t hue, std::size_t k) {
    return static_cast<std::uint16_t>((hue & 0x1F) << 10 | k);
}

class ClientFilesTest : public ::testing::Test {
protected:
    void set(std::string_view key, const std::string &path) {
        settings.writeText(app::SettingsSection, key, path);
    }
    std::string write(const char *name, const std::string &bytes) {
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }
    RgbCanvas draw(std::uint32_t entry, std::optional<std::uint32_t> color = std::nullopt) {
        RgbCanvas canvas(131, 201, 0x123456);
        outcome = files.drawArt(settings, entry, color, canvas);
        return canvas;
    }
    std::string errorOf(std::uint32_t entry, std::optional<std::uint32_t> color = std::nullopt) {
        try {
            draw(entry, color);
        } catch (const Error &e) {
            return e.what();
        }
        return "no error";
    }

    TempDir dir;
    app::Settings settings{dir.file("qelm.ini")};
    app::ClientFiles files;
    DrawOutcome outcome = DrawOutcome::Empty;
};

TEST_F(ClientFilesTest, AUopEntryDrawsAsTheSameRecordOfArtMul) {
    ArtFilesBuilder mul;
    mul.add(RawEntry, rawArtRecord(indexedPixel)).add(RunEntry, runRecord());
    set(app::keys::Art, write("art.mul", mul.dataBytes()));
    set(app::keys::ArtIdx, write("artidx.mul", mul.indexBytes()));
    const std::vector<std::uint8_t> raw = draw(RawEntry).rgb();
    const std::vector<std::uint8_t> run = draw(RunEntry).rgb();

    for (const std::uint16_t compression : {0, 1}) {
        // Named like art.mul and without an index: the first bytes tell what it is.
        set(app::keys::Art,
            write(compression ? "z.mul" : "s.mul", uopFile(artEntries(compression))));
        set(app::keys::ArtIdx, "");
        EXPECT_EQ(draw(RawEntry).rgb(), raw) << compression;
        EXPECT_EQ(outcome, DrawOutcome::Drawn);
        EXPECT_EQ(draw(RunEntry).rgb(), run) << compression;
        EXPECT_EQ(draw(RunEntry + 1).rgb(), RgbCanvas(131, 201, 0x123456).rgb());
        EXPECT_EQ(outcome, DrawOutcome::Empty);
    }
}

TEST_F(ClientFilesTest, DamagedUopFilesAreToldByName) {
    std::string loop = uopFile(artEntries(0));
    loop.replace(64 + 4, 8, u64le(64)); // the first block names itself as the next
    const std::string looping = write("loop.uop", loop);
    set(app::keys::Art, looping);
    EXPECT_EQ(errorOf(RawEntry),
              "The art file " + looping + " is damaged: its table blocks form a loop");

    const std::string odd = write("odd.uop", uopFile({{formats::artUopName(RawEntry), "x", 7}}));
    set(app::keys::Art, odd);
    EXPECT_EQ(errorOf(RawEntry), "The art file " + odd +
                                     " is damaged at art entry 0x4001: the "
                                     "entry is stored with the unknown "
                                     "compression 7");
    set(app::keys::Art, dir.file("none.uop"));
    EXPECT_EQ(errorOf(RawEntry), "Cannot open file " + dir.file("none.uop"));
}

TEST_F(ClientFilesTest, AColorValueDrawsTheItemInItsHue) {
    set(app::keys::Art, write("art.uop", uopFile(artEntries(1))));
    const RgbCanvas plain = draw(RunEntry);
    // Without "Hues", hue 0 or a hue beyond the file, the art is drawn as it is.
    EXPECT_EQ(draw(RunEntry, 3).rgb(), plain.rgb());
    const std::string hues = write("hues.mul", hueFile(20, hueColour));
    set(app::keys::Hues, hues);
    EXPECT_EQ(draw(RunEntry, 0).rgb(), plain.rgb());
    EXPECT_EQ(draw(RunEntry, 21).rgb(), plain.rgb());

    const auto huedAt = [](const RgbCanvas &canvas, int x, std::size_t hue, std::uint16_t pixel) {
        return canvas.pixel(x, 0) == art::screenColourFromPixel(hueColour(hue, pixel >> 10 & 0x1F));
    };
    const RgbCanvas full = draw(RunEntry, 3); // hue 3 is hue 2 of the file
    EXPECT_TRUE(huedAt(full, 3, 2, Grey));
    EXPECT_TRUE(huedAt(full, 4, 2, Blue));
    // Partial: asked by the COLOR value, or by the item's PartialHue flag; only grey changes.
    std::string tiledata(512 * 836 + (0xABC / 32 + 1) * (4 + 32 * 37), '\0');
    const std::string flags = u32le(0x40000);
    tiledata.replace(512 * 836 + (0xABC / 32) * (4 + 32 * 37) + 4 + (0xABC % 32) * 37, 4, flags);
    for (const bool byFlag : {false, true}) {
        set(app::keys::Tiledata, byFlag ? write("tiledata.mul", tiledata) : "");
        const RgbCanvas partial = draw(RunEntry, byFlag ? 3 : 0x8003);
        EXPECT_TRUE(huedAt(partial, 3, 2, Grey)) << byFlag;
        EXPECT_EQ(partial.pixel(4, 0), plain.pixel(4, 0)) << byFlag;
    }
    set(app::keys::Hues, dir.file("nohues.mul"));
    EXPECT_EQ(errorOf(RunEntry, 3), "Cannot open file " + dir.file("nohues.mul"));
}

TEST_F(ClientFilesTest, AReplacedFileIsReadAnewAtTheNextDrawing) {
    const std::string art = write("art.uop", uopFile(artEntries(0)));
    const std::string hues = write("hues.mul", hueFile(8, hueColour));
    set(app::keys::Art, art);
    set(app::keys::Hues, hues);
    const RgbCanvas before = draw(RunEntry, 1);
    std::vector<UopFixtureEntry> other = artEntries(0);
    other[1].bytes = runArtRecord({{{0, {Grey}}}});
    write("art.uop", uopFile(other));
    EXPECT_EQ(draw(RunEntry, 1).pixel(3, 0), art::White);
    write("hues.mul", hueFile(16, hueColour));
    EXPECT_EQ(draw(RunEntry, 9).pixel(0, 0), art::screenColourFromPixel(hueColour(8, 16)));
    EXPECT_NE(before.rgb(), draw(RunEntry, 1).rgb());
}

TEST_F(ClientFilesTest, TileDataGivesTheItemsNameAndFlagWords) {
    EXPECT_FALSE(files.tileData(settings, 0x0EED));
    std::string tiledata(512 * 836 + 2 * (4 + 32 * 37), '\0');
    const std::string record = u32le(0x20040251) + std::string(13, '\0') + "lamp post";
    tiledata.replace(512 * 836 + (4 + 32 * 37) + 4 + 5 * 37, record.size(), record);
    set(app::keys::Tiledata, write("tiledata.mul", tiledata));
    const std::optional<app::ItemTileData> item = files.tileData(settings, 37);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, "lamp post");
    EXPECT_EQ(item->flagWords, (std::vector<std::string>{"Background", "Wall", "Impassable",
                                                         "Surface", "PartialHue", "Door"}));
    EXPECT_FALSE(files.tileData(settings, 64));
    set(app::keys::Tiledata, dir.file("missing.mul"));
    EXPECT_THROW((void)files.tileData(settings, 37), Error);
}

} // namespace
} // namespace tessaplex::test
