// SPDX-License-Identifier: GPL-3.0-or-later
// The shard generator's files are what every benchmark and several tests stand on: they must
// have the formats the program reads, come out the same for the same seed, and say truthfully
// how many items an analysis lists.
#include "random.h"
#include "staticsfiles.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::test;

namespace {

std::map<std::string, std::string> keyValues(const std::string &text) {
    std::map<std::string, std::string> values;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(pos, end - pos);
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
        pos = end + 1;
    }
    return values;
}

ProcessResult generate(const std::string &folder, std::vector<std::string> args) {
    args.insert(args.begin(), {"--out", folder});
    return runProgram(TESSAPLEX_GENSHARD, args);
}

std::uint32_t u32At(const std::string &bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::size_t countLines(const std::string &text) {
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

// FNV-1a, 64 bits: a fingerprint of a file's bytes.
std::uint64_t fingerprint(const std::string &bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// The numbers of a "P=" value, e.g. {865, 504, 125, 3}.
std::vector<long> numbersOf(const std::string &value) {
    std::vector<long> numbers;
    std::stringstream in(value);
    std::string part;
    while (std::getline(in, part, ','))
        numbers.push_back(std::stol(part));
    return numbers;
}

} // namespace

// The generator's own count of listable items is checked against what tessaplex-cli analyse
// lists on the files it wrote, for both line ends and for the smallest shards.
TEST(GenShard, AnalyseListsTheItemsTheGeneratorCounted) {
    struct Case {
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {{"--items", "0"}},
        {{"--items", "1", "--seed", "3"}},
        {{"--items", "3000", "--seed", "7"}},
        {{"--items", "3000", "--seed", "7", "--lf"}},
        {{"--items", "2000", "--defs", "0"}},
        {{"--items", "2000", "--defs", "25", "--map-width", "7168"}},
        {{"--items", "2000", "--maps", "0,3,5"}},
    };
    for (const Case &c : cases) {
        std::string label;
        for (const auto &a : c.args)
            label += a + " ";
        SCOPED_TRACE(label);
        TempDir dir;
        const ProcessResult gen = generate(dir.path(), c.args);
        ASSERT_EQ(gen.exitCode, 0) << gen.err;
        auto facts = keyValues(gen.out);

        const std::string world = readFile(facts["worldfile"]);
        EXPECT_EQ(std::to_string(world.size()), facts["bytes"]);
        EXPECT_EQ(std::to_string(countLines(world)), facts["lines"]);

        const ProcessResult analyse = runProgram(TESSAPLEX_CLI, {"-C", dir.path(), "analyse"});
        ASSERT_EQ(analyse.exitCode, 0) << analyse.err;
        // The heading row, then one row per listed item.
        const std::size_t rows = countLines(analyse.out);
        ASSERT_GE(rows, 1u);
        EXPECT_EQ(std::to_string(rows - 1), facts["listable"]);
        EXPECT_EQ(analyse.out.rfind("Startzeile\tEndZeile\tID\t", 0), 0u);
    }
}

TEST(GenShard, SameSeedSameBytesOtherSeedOtherBytes) {
    TempDir a, b, c;
    const std::vector<std::string> args = {"--items",         "500", "--seed", "11", "--statics",
                                           "--statics-bytes", "7000"};
    ASSERT_EQ(generate(a.path(), args).exitCode, 0);
    ASSERT_EQ(generate(b.path(), args).exitCode, 0);
    ASSERT_EQ(generate(c.path(),
                       {"--items", "500", "--seed", "12", "--statics", "--statics-bytes", "7000"})
                  .exitCode,
              0);
    for (const char *file : {"save/sphereworld.scp", "scripts/items/sphereitem_1.scp",
                             "qelmfile.txt", "staidx0.mul", "statics0.mul"}) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(readFile(a.file(file)) == readFile(b.file(file)));
    }
    EXPECT_FALSE(readFile(a.file("save/sphereworld.scp")) ==
                 readFile(c.file("save/sphereworld.scp")));
    EXPECT_FALSE(readFile(a.file("statics0.mul")) == readFile(c.file("statics0.mul")));
}

TEST(GenShard, LineEndsAreTheChosenOnes) {
    for (const bool lf : {false, true}) {
        SCOPED_TRACE(lf ? "LF" : "CR LF");
        TempDir dir;
        std::vector<std::string> args = {"--items", "200"};
        if (lf)
            args.push_back("--lf");
        ASSERT_EQ(generate(dir.path(), args).exitCode, 0);
        for (const char *file :
             {"save/sphereworld.scp", "scripts/items/sphereitem_1.scp", "qelmfile.txt"}) {
            const std::string text = readFile(dir.file(file));
            std::size_t crs = 0, lfs = 0, pairs = 0;
            for (std::size_t i = 0; i < text.size(); ++i) {
                crs += text[i] == '\r';
                lfs += text[i] == '\n';
                pairs += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            }
            EXPECT_GT(lfs, 0u) << file;
            EXPECT_EQ(crs, lf ? 0u : lfs) << file;
            EXPECT_EQ(pairs, crs) << file;
        }
        const std::string ini = readFile(dir.file("qelm.ini"));
        EXPECT_NE(ini.find(lf ? "Unix=1" : "Unix=0"), std::string::npos) << ini;
    }
}

// The static map files: one 12-byte record per block, the data of the filled blocks back to back
// in block order, empty blocks all 0xFF in lookup and length, and exactly the requested size
// rounded down to whole records.
TEST(GenShard, StaticMapFilesHaveTheClientLayout) {
    struct Case {
        std::int32_t mapWidth;
        std::uint64_t bytes;
        std::uint32_t blocks;
    };
    const Case cases[] = {{6144, 0, 393216},    {6144, 6, 393216},       {6144, 7, 393216},
                          {6144, 1000, 393216}, {7168, 1000003, 458752}, {6144, 20000000, 393216}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.mapWidth) + " " + std::to_string(c.bytes));
        TempDir dir;
        bench::Random random(5);
        const auto layout = bench::StaticsFiles::plan(random, {c.mapWidth, 4096}, c.bytes);
        ASSERT_EQ(layout.blocks, c.blocks);
        bench::StaticsFiles::write(dir.file("staidx0.mul"), dir.file("statics0.mul"), layout,
                                   random);
        const std::string index = readFile(dir.file("staidx0.mul"));
        const std::string data = readFile(dir.file("statics0.mul"));
        ASSERT_EQ(index.size(), std::size_t{c.blocks} * 12);
        ASSERT_EQ(data.size(), c.bytes / 7 * 7);

        std::uint64_t expected = 0;
        std::uint32_t filled = 0;
        for (std::uint32_t b = 0; b < c.blocks; ++b) {
            const std::uint32_t lookup = u32At(index, b * 12u);
            const std::uint32_t length = u32At(index, b * 12u + 4);
            if (lookup == 0xffffffffu) {
                ASSERT_EQ(length, 0xffffffffu) << "block " << b;
                ASSERT_EQ(layout.records[b], 0u) << "block " << b;
                continue;
            }
            ++filled;
            ASSERT_EQ(lookup, expected) << "block " << b;
            ASSERT_EQ(length, layout.records[b] * 7) << "block " << b;
            ASSERT_GT(length, 0u) << "block " << b;
            for (std::uint32_t r = lookup; r < lookup + length; r += 7) {
                ASSERT_LT(static_cast<unsigned char>(data[r + 2]), 8) << "x in block " << b;
                ASSERT_LT(static_cast<unsigned char>(data[r + 3]), 8) << "y in block " << b;
            }
            expected += length;
        }
        EXPECT_EQ(expected, data.size());
        // Large files spread over most of the map, with some blocks left empty.
        if (c.bytes >= 20000000) {
            EXPECT_GT(filled, c.blocks / 2);
            EXPECT_LT(filled, c.blocks);
        }
    }
}

TEST(GenShard, StaticsNamedInSettings) {
    TempDir dir;
    const ProcessResult gen =
        generate(dir.path(), {"--items", "10", "--statics", "--statics-bytes", "700"});
    ASSERT_EQ(gen.exitCode, 0) << gen.err;
    auto facts = keyValues(gen.out);
    const std::string ini = readFile(dir.file("qelm.ini"));
    for (const char *key : {"Staidx=", "Statics=", "WorldFile=", "ItemFiles="})
        EXPECT_NE(ini.find(key), std::string::npos) << key << " in\n" << ini;
    EXPECT_EQ(readFile(facts["statics"]).size(), 700u);
    EXPECT_EQ(readFile(facts["staidx"]).size(), 393216u * 12);
}

TEST(GenShard, RefusesBadOptions) {
    const std::vector<std::vector<std::string>> cases = {{"--items", "-1"},
                                                         {"--defs", "-1"},
                                                         {"--map-width", "6000"},
                                                         {"--statics-bytes", "x"},
                                                         {"--statics-bytes", "-7"},
                                                         {"--maps", "6"},
                                                         {"--maps", "0,-1"},
                                                         {"--maps", ""},
                                                         {"--map", "3"},
                                                         {"--map", "6", "--statics"}};
    for (const auto &args : cases) {
        TempDir dir;
        const ProcessResult gen = generate(dir.path(), args);
        EXPECT_NE(gen.exitCode, 0) << args[0] << " " << args[1];
        EXPECT_FALSE(exists(dir.file("save/sphereworld.scp"))) << args[0];
    }
}

TEST(GenShard, RandomIsStableAcrossBuilds) {
    // The first draws of seed 1 are fixed: a change here would silently change every generated
    // shard and every figure measured on one.
    bench::Random random(1);
    EXPECT_EQ(random.next(), 0xb3f2af6d0fc710c5ull);
    EXPECT_EQ(random.next(), 0x853b559647364ceaull);
    EXPECT_EQ(bench::Random(1).fork(2).next(), 0x058512c60d9c3041ull);
    bench::Random bounded(42);
    for (int i = 0; i < 10000; ++i) {
        const std::int32_t v = bounded.between(-3, 3);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, 3);
        ASSERT_LT(bounded.below(7), 7u);
    }
    EXPECT_EQ(bounded.below(0), 0u);
}

// Every figure measured on a generated shard assumes the default options give the bytes they
// always gave: these fingerprints were taken before a shard could span several maps.
TEST(GenShard, DefaultOptionsKeepTheirBytes) {
    struct Case {
        std::vector<std::string> args;
        const char *file;
        std::uint64_t fingerprint;
    };
    const std::vector<std::string> classic = {"--items",         "3000", "--seed", "7", "--statics",
                                              "--statics-bytes", "7000"};
    const std::vector<std::string> wide = {"--items", "2000",      "--map-width",     "7168",
                                           "--lf",    "--statics", "--statics-bytes", "700",
                                           "--defs",  "25"};
    const Case cases[] = {
        {classic, "save/sphereworld.scp", 0xe9dd059101f014f3ull},
        {classic, "staidx0.mul", 0xe88bf7cb8d062fe8ull},
        {classic, "statics0.mul", 0x8d14b36f057dd69dull},
        {classic, "scripts/items/sphereitem_1.scp", 0x11689d735617550aull},
        {wide, "save/sphereworld.scp", 0x4cbf51cdfcdb961dull},
        {wide, "staidx0.mul", 0x9563278c0925c69eull},
        {wide, "statics0.mul", 0x8a871e5044b6e4feull},
        {wide, "qelmfile.txt", 0xf92c4d9ce6f36183ull},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.args == wide ? " wide" : " classic"));
        TempDir dir;
        const ProcessResult gen = generate(dir.path(), c.args);
        ASSERT_EQ(gen.exitCode, 0) << gen.err;
        EXPECT_EQ(fingerprint(readFile(dir.file(c.file))), c.fingerprint);
        const auto facts = keyValues(gen.out);
        EXPECT_EQ(facts.count("maps"), 0u);
        EXPECT_EQ(facts.count("staticsmap"), 0u);
    }
}

// Positions outside a container lie on the listed maps, each map gets some, and each lies inside
// its own map: x,y or x,y,z on map 0, x,y,z,m on any other.
TEST(GenShard, PositionsSpreadOverTheListedMaps) {
    struct Case {
        std::string maps;
        std::string printed;
        std::int32_t mapWidth;
        std::set<long> expected;
    };
    const Case cases[] = {{"0,3", "0,3", 6144, {0, 3}},
                          {"3,0,3", "0,3", 6144, {0, 3}},
                          {"1,2,4,5", "1,2,4,5", 7168, {1, 2, 4, 5}},
                          {"4", "4", 6144, {4}},
                          {"0", "0", 7168, {0, 1}}};
    for (const Case &c : cases) {
        SCOPED_TRACE("--maps " + c.maps);
        // Width and height of maps 0 to 5, written out here rather than taken from the code
        // under test.
        const long widths[] = {c.mapWidth, c.mapWidth, 2304, 2560, 1448, 1280};
        const long heights[] = {4096, 4096, 1600, 2048, 1448, 4096};
        TempDir dir;
        const ProcessResult gen = generate(dir.path(), {"--items", "3000", "--maps", c.maps,
                                                        "--map-width", std::to_string(c.mapWidth)});
        ASSERT_EQ(gen.exitCode, 0) << gen.err;
        EXPECT_EQ(keyValues(gen.out)["maps"], c.printed);

        std::stringstream save(readFile(dir.file("save/sphereworld.scp")));
        std::set<long> seen;
        bool contained = false;
        std::string line;
        while (std::getline(save, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.rfind('[', 0) == 0)
                contained = false;
            contained |= line.rfind("CONT=", 0) == 0;
            const auto eq = line.find('=');
            const std::string key = line.substr(0, eq == std::string::npos ? 0 : eq + 1);
            if (contained || (key != "P=" && key != "HOME="))
                continue;
            const std::vector<long> p = numbersOf(line.substr(eq + 1));
            ASSERT_GE(p.size(), 2u) << line;
            ASSERT_LE(p.size(), 4u) << line;
            const long map = p.size() == 4 ? p[3] : 0;
            ASSERT_EQ(c.expected.count(map), 1u) << line;
            seen.insert(map);
            // Map 0 is never named; every other map always is, with its z.
            if (c.expected.count(0) && map == 1)
                ASSERT_EQ(c.maps, "0") << line;
            else
                ASSERT_EQ(p.size() == 4, map != 0) << line;
            ASSERT_GE(p[0], 0) << line;
            ASSERT_LT(p[0], widths[map]) << line;
            ASSERT_GE(p[1], 0) << line;
            ASSERT_LT(p[1], heights[map]) << line;
        }
        EXPECT_EQ(seen, c.expected);
    }
}

// --map N writes staidxN.mul and staticsN.mul, the index one record per block of map N, and
// names them in qelm.ini.
TEST(GenShard, StaticsOfTheChosenMap) {
    struct Case {
        const char *map;
        const char *mapWidth;
        std::size_t blocks;
    };
    const Case cases[] = {{"3", "6144", 81920}, {"1", "7168", 458752}, {"1", "6144", 393216},
                          {"2", "7168", 57600}, {"4", "6144", 32761},  {"5", "6144", 81920}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("--map ") + c.map + " --map-width " + c.mapWidth);
        TempDir dir;
        const ProcessResult gen =
            generate(dir.path(), {"--items", "10", "--statics", "--statics-bytes", "700", "--map",
                                  c.map, "--map-width", c.mapWidth});
        ASSERT_EQ(gen.exitCode, 0) << gen.err;
        auto facts = keyValues(gen.out);
        const std::string index = dir.file(std::string("staidx") + c.map + ".mul");
        const std::string data = dir.file(std::string("statics") + c.map + ".mul");
        EXPECT_EQ(facts["staidx"], index);
        EXPECT_EQ(facts["statics"], data);
        EXPECT_EQ(facts["staticsmap"], c.map);
        EXPECT_EQ(facts["blocks"], std::to_string(c.blocks));
        EXPECT_EQ(readFile(index).size(), c.blocks * 12);
        EXPECT_EQ(readFile(data).size(), 700u);
        EXPECT_FALSE(exists(dir.file("staidx0.mul")));
        const std::string ini = readFile(dir.file("qelm.ini"));
        EXPECT_NE(ini.find("Staidx=" + index), std::string::npos) << ini;
        EXPECT_NE(ini.find("Statics=" + data), std::string::npos) << ini;
    }
}
