// SPDX-License-Identifier: GPL-3.0-or-later
// The sample shard's UOP art, hues and tiledata: the UOP file must show every entry exactly as
// art.mul does, and the generator must name the files so that names and hues show at once.
#include "app/clientfiles.h"
#include "app/session.h"
#include "art/rgbcanvas.h"
#include "extraclientfiles.h"
#include "support/runcli.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace tessaplex;
using namespace tessaplex::test;

TEST(SampleClientFiles, UopArtHuesAndTiledataAsThePreviewReadsThem) {
    TempDir dir;
    const ProcessResult made =
        runProgram(TESSAPLEX_GENSHARD,
                   {"--out", dir.path(), "--items", "5", "--art", "--uop", "--hues", "--tiledata"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_NE(made.out.find("huecount=3000\n"), std::string::npos) << made.out;
    const app::Settings uop(dir.file("qelm.ini"));
    EXPECT_EQ(uop.readText(app::SettingsSection, app::keys::Art), dir.file("artLegacyMUL.uop"));
    EXPECT_EQ(uop.readText(app::SettingsSection, app::keys::Hues), dir.file("hues.mul"));
    EXPECT_EQ(uop.readText(app::SettingsSection, app::keys::Tiledata), dir.file("tiledata.mul"));
    writeFile(dir.file("mul.ini"),
              "[Custom]\nArt=" + dir.file("art.mul") + "\nArtIdx=" + dir.file("artidx.mul") + "\n");
    const app::Settings mul(dir.file("mul.ini"));
    writeFile(dir.file("full.ini"), "[Custom]\nArt=" + dir.file("artLegacyMUL.uop") +
                                        "\nHues=" + dir.file("hues.mul") + "\n");
    const app::Settings full(dir.file("full.ini"));

    app::ClientFiles files;
    // Land and item entries, stored and zlib, every graphic.
    for (const std::uint32_t entry : {0u, 9u, 0x3FFFu, 0x4000u, 0x4005u, 0x400Au, 0x7FFFu}) {
        art::RgbCanvas fromUop(131, 201), fromMul(131, 201);
        EXPECT_EQ(files.drawArt(uop, entry, std::nullopt, fromUop), art::DrawOutcome::Drawn);
        (void)files.drawArt(mul, entry, std::nullopt, fromMul);
        EXPECT_EQ(fromUop.rgb(), fromMul.rgb()) << entry;
        // A hue changes the picture; the lamp post's tiledata asks for a partial hue, which
        // leaves its coloured pixels as they are.
        art::RgbCanvas hued(131, 201), fullyHued(131, 201);
        (void)files.drawArt(uop, entry, 1153, hued);
        (void)files.drawArt(full, entry, 1153, fullyHued);
        EXPECT_NE(hued.rgb(), fromUop.rgb()) << entry;
        EXPECT_EQ(hued.rgb() == fullyHued.rgb(), entry != 0x4005) << entry;
    }
    EXPECT_TRUE(bench::ExtraClientFiles::zlibEntry(9));
    EXPECT_FALSE(bench::ExtraClientFiles::zlibEntry(0x4005));

    const auto barrel = files.tileData(uop, 0x3FFC);
    ASSERT_TRUE(barrel);
    EXPECT_EQ(barrel->name, "barrel");
    EXPECT_EQ(barrel->flagWords, (std::vector<std::string>{"Impassable", "Container"}));
    EXPECT_EQ(files.tileData(uop, 0x0005)->name, "lamp post");
    EXPECT_EQ(files.tileData(uop, 0x4000)->name, "");
    EXPECT_EQ(bench::ExtraClientFiles::hueColour(1, 0), 0);
    EXPECT_NE(bench::ExtraClientFiles::hueColour(1, 31), 0);
}
