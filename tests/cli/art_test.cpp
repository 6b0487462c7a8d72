// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/artpreview.h"
#include "app/settings.h"
#include "art/imageencoding.h"
#include "art/rgbcanvas.h"
#include "support/artfixture.h"
#include "support/runcli.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaplex::test {
namespace {

constexpr std::uint32_t Entry = 0x4EED;

// A start folder whose qelm.ini names art files holding a run record at 0x4EED, an empty entry
// at 0x4EEE and a record that ends too early at 0x4EEF.
class ArtShard {
public:
    ArtShard() {
        ArtFilesBuilder builder;
        std::vector<ArtRow> rows;
        for (int y = 0; y < 30; ++y)
            rows.push_back(
                {ArtRun{static_cast<std::uint16_t>(y), std::vector<std::uint16_t>(20, 0x001F)}});
        builder.add(Entry, runArtRecord(rows, 50));
        builder.setIndex(Entry + 1, 0xFFFFFFFF, 0);
        builder.setIndex(Entry + 2, 0x7FFFFFFF, 2024);
        builder.add(Entry + 3, rawArtRecord(0x7C00));
        writeFile(m_dir.file("art.mul"), builder.dataBytes());
        writeFile(m_dir.file("artidx.mul"), builder.indexBytes());
        setPaths(m_dir.file("art.mul"), m_dir.file("artidx.mul"));
    }
    void setPaths(const std::string &art, const std::string &index) {
        writeFile(m_dir.file("qelm.ini"), "[Custom]\nArt=" + art + "\nArtIdx=" + index + "\n");
    }
    [[nodiscard]] ProcessResult run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"-C", m_dir.path(), "art"});
        return runCli(args);
    }
    // What the program's own preview shows of entry.
    [[nodiscard]] art::RgbCanvas preview(std::uint32_t entry) const {
        art::RgbCanvas canvas(131, 201);
        (void)app::previewArt(app::Settings(m_dir.file("qelm.ini")), entry, canvas);
        return canvas;
    }
    [[nodiscard]] const TempDir &dir() const { return m_dir; }

private:
    TempDir m_dir;
};

TEST(ArtCommand, WritesThePreviewAsPngOrPpm) {
    ArtShard shard;
    const std::string png = art::encodePng(shard.preview(Entry));
    const std::string ppm = art::encodePpm(shard.preview(Entry));
    ASSERT_EQ(ppm.substr(0, 15), "P6\n131 201\n255\n");
    ASSERT_NE(ppm.find(std::string("\xFF\xFF\xFF\0\0\xFF", 6)), std::string::npos);
    struct Case {
        std::vector<std::string> args;
        std::string file;
        const std::string &expected;
    };
    const std::vector<Case> cases = {
        {{"20205"}, "a.png", png},          {{"0x4eed"}, "b.png", png},
        {{"0X4EED"}, "c.PNG", png},         {{"--id", "0eed"}, "d.ppm", ppm},
        {{"--id", "0x0EED"}, "e.png", png}, {{"--id", "eed"}, "f.ppm", ppm},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--out", shard.dir().file(c.file)});
        const ProcessResult run = shard.run(args);
        EXPECT_EQ(run.exitCode, 0) << c.file << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readFile(shard.dir().file(c.file)), c.expected) << c.file;
    }
}

TEST(ArtCommand, RawRecordIsDrawnDoubled) {
    ArtShard shard;
    const ProcessResult run = shard.run({"0x4ef0", "--out", shard.dir().file("raw.ppm")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string ppm = readFile(shard.dir().file("raw.ppm"));
    const auto at = [&](int x, int y) {
        return ppm.substr(
            15 + 3 * (static_cast<std::size_t>(y) * 131 + static_cast<std::size_t>(x)), 3);
    };
    EXPECT_EQ(at(42, 0), std::string("\xFF\0\0", 3));
    EXPECT_EQ(at(87, 44), std::string("\xFF\0\0", 3));
    EXPECT_EQ(at(88, 44), "\xFF\xFF\xFF");
    EXPECT_EQ(at(0, 0), "\xFF\xFF\xFF");
}

TEST(ArtCommand, EntriesWithoutArtWriteNothing) {
    ArtShard shard;
    struct Case {
        std::vector<std::string> args;
        const char *message;
    };
    const std::vector<Case> cases = {
        {{"0x4eee"}, "Art entry 0x4eee (20206) is empty: it has no art\n"},
        {{"--id", "ffffbfff"},
         "Art entry 0xffffffff (4294967295) lies beyond the end of the art index file\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--out", shard.dir().file("none.png")});
        const ProcessResult run = shard.run(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message);
        EXPECT_FALSE(exists(shard.dir().file("none.png")));
    }
}

TEST(ArtCommand, DamagedEntryIsWrittenWithAWarning) {
    ArtShard shard;
    const ProcessResult run = shard.run({"0x4eef", "--out", shard.dir().file("damaged.ppm")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err,
              "Art entry 0x4eef (20207) is damaged: drawn as far as the art files could be read\n");
    EXPECT_EQ(readFile(shard.dir().file("damaged.ppm")), art::encodePpm(art::RgbCanvas(131, 201)));
}

TEST(ArtCommand, RefusesWhatItCannotUse) {
    ArtShard shard;
    const std::string out = shard.dir().file("x.png");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"abc", "--out", out}, "'abc' is not a valid art entry number.\n"},
        {{"0x", "--out", out}, "'0x' is not a valid art entry number.\n"},
        {{"-1", "--out", out}, "'-1' is not a valid art entry number.\n"},
        {{"12a", "--out", out}, "'12a' is not a valid art entry number.\n"},
        {{"4294967296", "--out", out}, "'4294967296' is not a valid art entry number.\n"},
        {{"0x100000000", "--out", out}, "'0x100000000' is not a valid art entry number.\n"},
        {{"--id", "xyz", "--out", out}, "'xyz' is not a valid item ID.\n"},
        {{"--id", "ffffc000", "--out", out}, "'ffffc000' is not a valid item ID.\n"},
        {{"--out", out}, "Give either ENTRY or --id.\n"},
        {{"20205", "--out", shard.dir().file("x.gif")},
         "Cannot tell the picture format of " + shard.dir().file("x.gif") +
             ": use .png or .ppm.\n"},
        {{"20205", "--out", shard.dir().file("missing/x.png")},
         "Unable to write to " + shard.dir().file("missing/x.png") + ".\n"},
    };
    for (const Case &c : cases) {
        const ProcessResult run = shard.run(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.args[0];
        EXPECT_EQ(run.err, c.message);
    }
    EXPECT_FALSE(exists(out));
    EXPECT_NE(shard.run({"20205", "--id", "eed", "--out", out}).exitCode, 0);
}

TEST(ArtCommand, ArtFilesThatCannotBeOpened) {
    ArtShard shard;
    const std::string out = shard.dir().file("x.png");
    const std::string missing = shard.dir().file("nowhere.mul");
    struct Case {
        std::string art, index, message;
    };
    const std::vector<Case> cases = {
        // An empty path gives the message without a full stop.
        {"", shard.dir().file("artidx.mul"), "Cannot open file \n"},
        {shard.dir().file("art.mul"), missing, "Cannot open file " + missing + ".\n"},
    };
    for (const Case &c : cases) {
        shard.setPaths(c.art, c.index);
        const ProcessResult run = shard.run({"20205", "--out", out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message);
        EXPECT_FALSE(exists(out));
    }
}

} // namespace
} // namespace tessaplex::test
