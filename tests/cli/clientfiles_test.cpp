// SPDX-License-Identifier: GPL-3.0-or-later
// The CLI with the client's other files: art from a UOP file, drawn in a hue, and item names.
#include "app/clientfiles.h"
#include "app/session.h"
#include "art/imageencoding.h"
#include "art/rgbcanvas.h"
#include "formats/uopfile.h"
#include "support/artfixture.h"
#include "support/runcli.h"
#include "support/testsupport.h"
#include "support/uopfixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tessaplex::test {
namespace {

constexpr std::uint32_t Entry = 0x4EED;

std::uint16_t hueColour(std::size_t hue, std::size_t k) {
    return static_cast<std::uint16_t>((hue & 0x1F) << 10 | k);
}

class HueShard {
public:
    HueShard() {
        const std::string record =
            runArtRecord({{{2, {0x4210, 0x001F, 0x7FFF}}}, {{0, {0x0421, 0x7C00}}}});
        ArtFilesBuilder mul;
        mul.add(Entry, record);
        writeFile(dir.file("art.mul"), mul.dataBytes());
        writeFile(dir.file("artidx.mul"), mul.indexBytes());
        writeFile(dir.file("art.uop"), uopFile({{formats::artUopName(Entry), record, 1}}));
        writeFile(dir.file("hues.mul"), hueFile(8, hueColour));
    }
    void setArt(const std::string &art, const std::string &hues) {
        writeFile(dir.file("qelm.ini"), "[Custom]\nArt=" + dir.file(art) + "\nArtIdx=" +
                                            dir.file("artidx.mul") + "\nHues=" + hues + "\n");
    }
    [[nodiscard]] ProcessResult art(std::vector<std::string> args) const {
        args.insert(args.begin(), {"-C", dir.path(), "art"});
        return runCli(args);
    }
    // The picture the session's client files draw of Entry in color.
    [[nodiscard]] std::string expected(std::optional<std::uint32_t> color) const {
        art::RgbCanvas canvas(131, 201);
        app::ClientFiles files;
        (void)files.drawArt(app::Settings(dir.file("qelm.ini")), Entry, color, canvas);
        return art::encodePpm(canvas);
    }
    TempDir dir;
};

TEST(CliArtHue, DrawsFromEitherArtFileInTheHueOfAColorValue) {
    HueShard shard;
    shard.setArt("art.mul", shard.dir.file("hues.mul"));
    const std::string plain = shard.expected(std::nullopt);
    const std::string hued = shard.expected(3);
    const std::string partial = shard.expected(0x8003);
    ASSERT_NE(plain, hued);
    ASSERT_NE(hued, partial);
    for (const char *art : {"art.mul", "art.uop"}) {
        shard.setArt(art, shard.dir.file("hues.mul"));
        const struct {
            std::vector<std::string> hue;
            const std::string &picture;
        } cases[] = {{{}, plain}, {{"--hue", "3"}, hued}, {{"--hue", "0x8003"}, partial}};
        for (const auto &c : cases) {
            std::vector<std::string> args = {"0x4eed", "--out", shard.dir.file("a.ppm")};
            args.insert(args.end(), c.hue.begin(), c.hue.end());
            const ProcessResult run = shard.art(args);
            EXPECT_EQ(run.exitCode, 0) << art << run.err;
            EXPECT_EQ(readFile(shard.dir.file("a.ppm")), c.picture) << art;
        }
    }
    const ProcessResult bad = shard.art({"0x4eed", "--hue", "0xq", "--out", "b.ppm"});
    EXPECT_EQ(bad.err, "'0xq' is not a valid COLOR value.\n");
    shard.setArt("art.uop", "");
    const ProcessResult noHues = shard.art({"0x4eed", "--hue", "3", "--out", "b.ppm"});
    EXPECT_EQ(noHues.exitCode, 1);
    EXPECT_EQ(noHues.err, "--hue needs the hue file: name it in \"Hues\" of the settings file.\n");
}

TEST(CliAnalyseNames, AddsTheTiledataNameOfEachRowsId) {
    TempDir dir;
    writeFile(dir.file("world.scp"), "[WORLDITEM 0f3c]\nP=1,2,3\n\n[WORLDITEM 0f3d]\nP=1,2,3\n\n"
                                     "[WORLDITEM 04000]\nP=1,2,3\n\n");
    // Old layout, items up to 0xF5F: 0xF3C is named (a TAB in it must not split the row).
    std::string tiledata(512 * 836 + (0xF3C / 32 + 1) * (4 + 32 * 37), '\0');
    tiledata.replace(512 * 836 + (0xF3C / 32) * (4 + 32 * 37) + 4 + (0xF3C % 32) * 37 + 17, 20,
                     std::string("a\tbag\0junk", 10) + std::string(10, 'x'));
    writeFile(dir.file("tiledata.mul"), tiledata);
    const std::string start =
        "[Custom]\nItemFiles=" + dir.path() + "\nWorldFile=" + dir.file("world.scp") + "\n";
    writeFile(dir.file("qelmfile.txt"), "");
    const std::string heading = "Startzeile\tEndZeile\tID\tX\tY\tZ\tCOLOR\tATTR\tBLOCK\tPATCH";
    const std::string rows[] = {"0\t2\t00f3c\t1\t2\t3\t0\t\t0\tNO",
                                "3\t5\t00f3d\t1\t2\t3\t0\t\t0\tNO",
                                "6\t8\t04000\t1\t2\t3\t0\t\t0\tNO"};
    for (const bool named : {true, false}) {
        writeFile(dir.file("qelm.ini"),
                  start + (named ? "Tiledata=" + dir.file("tiledata.mul") + "\n" : ""));
        const ProcessResult run = runCli({"-C", dir.path(), "analyse", "--names"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, heading + "\tNAME\n" + rows[0] + (named ? "\ta bag\n" : "\t\n") +
                               rows[1] + "\t\n" + rows[2] + "\t\n");
        EXPECT_EQ(run.err,
                  named ? "" : "\"Tiledata\" names no file: the column NAME stays empty\n");
    }
    const ProcessResult plain = runCli({"-C", dir.path(), "analyse"});
    EXPECT_EQ(plain.out, heading + "\n" + rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n");
}

} // namespace
} // namespace tessaplex::test
