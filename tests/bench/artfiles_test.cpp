// SPDX-License-Identifier: GPL-3.0-or-later
// The sample art a generated shard brings: every item must show one of the graphics whole, as
// the preview draws it, and the generator must name the files in qelm.ini.
#include "app/artpreview.h"
#include "app/settings.h"
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "artfiles.h"
#include "base/littleendian.h"
#include "support/runcli.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

using namespace tessaplex;
using namespace tessaplex::test;

namespace {

const unsigned char *bytesAt(const std::string &bytes, std::size_t at) {
    return reinterpret_cast<const unsigned char *>(bytes.data() + at);
}

int countNonWhite(const art::RgbCanvas &canvas) {
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.pixel(x, y) != art::White;
    }
    return n;
}

} // namespace

TEST(SampleArt, EveryGraphicIsDrawnWholeOnThePreview) {
    TempDir dir;
    bench::ArtFiles::write(dir.file("artidx.mul"), dir.file("art.mul"));
    writeFile(dir.file("qelm.ini"),
              "[Custom]\nArt=" + dir.file("art.mul") + "\nArtIdx=" + dir.file("artidx.mul") + "\n");
    const app::Settings settings(dir.file("qelm.ini"));
    const auto records = bench::ArtFiles::records();
    ASSERT_EQ(records.size(), std::size_t{bench::ArtFiles::Count});

    std::set<std::size_t> seen;
    for (std::uint32_t id = 1; id <= 8; ++id) {
        const std::uint32_t entry = art::ItemArtBase + id;
        const auto graphic = bench::ArtFiles::graphicOf(entry);
        seen.insert(graphic);
        const std::string &record = records[graphic];
        const bool tile = graphic < bench::ArtFiles::Barrel;
        ASSERT_EQ(art::recordKind(readU32le(bytesAt(record, 0))),
                  tile ? art::ArtRecordKind::Raw : art::ArtRecordKind::Run)
            << graphic;
        if (tile) {
            EXPECT_EQ(record.size(), art::RawRecordSize);
        } else {
            // Within the smaller preview image, so that nothing of an object is cut off.
            EXPECT_LE(readU16le(bytesAt(record, 4)), 131) << graphic;
            EXPECT_LE(readU16le(bytesAt(record, 6)), 201) << graphic;
        }
        art::RgbCanvas canvas(131, 201);
        ASSERT_EQ(app::previewArt(settings, entry, canvas), art::DrawOutcome::Drawn) << graphic;
        // A tile covers its whole doubled diamond; an object a good part of its box.
        EXPECT_GT(countNonWhite(canvas), tile ? 1012 * 4 - 1 : 400) << graphic;
    }
    EXPECT_EQ(seen.size(), std::size_t{bench::ArtFiles::Count});
}

TEST(SampleArt, NoEntryIsEmptyOrPointsOutsideTheDataFile) {
    TempDir dir;
    bench::ArtFiles::write(dir.file("artidx.mul"), dir.file("art.mul"));
    const std::string index = readFile(dir.file("artidx.mul"));
    const std::string data = readFile(dir.file("art.mul"));
    ASSERT_EQ(index.size(), std::size_t{bench::ArtFiles::EntryCount} * 12);
    for (std::size_t at = 0; at < index.size(); at += 12) {
        const std::uint32_t lookup = readU32le(bytesAt(index, at));
        const std::uint32_t length = readU32le(bytesAt(index, at + 4));
        ASSERT_LT(lookup, data.size()) << "entry " << at / 12;
        ASSERT_LE(std::uint64_t{lookup} + length, data.size()) << "entry " << at / 12;
    }
}

TEST(SampleArt, GeneratorNamesTheFilesAndTheCliDrawsThem) {
    TempDir dir;
    const ProcessResult made =
        runProgram(TESSAPLEX_GENSHARD, {"--out", dir.path(), "--items", "5", "--art"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const app::Settings settings(dir.file("qelm.ini"));
    EXPECT_EQ(settings.readText(app::SettingsSection, "Art"), dir.file("art.mul"));
    EXPECT_EQ(settings.readText(app::SettingsSection, "ArtIdx"), dir.file("artidx.mul"));
    const ProcessResult drawn =
        runCli({"-C", dir.path(), "art", "--id", "3fff", "--out", dir.file("tree.png")});
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_TRUE(exists(dir.file("tree.png")));
}
