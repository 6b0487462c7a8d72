// SPDX-License-Identifier: GPL-3.0-or-later
// tessaplex-genshard: writes a synthetic shard folder of any size for benchmarks and tests.
#include "app/errortext.h"
#include "app/settings.h"
#include "artfiles.h"
#include "base/error.h"
#include "extraclientfiles.h"
#include "formats/mapgeometry.h"
#include "itemscripts.h"
#include "random.h"
#include "shardpart.h"
#include "staticsfiles.h"
#include "worldsave.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

using namespace tessaplex;

int main(int argc, char **argv) {
    CLI::App program{"Writes a synthetic shard folder: a world save (save/sphereworld.scp), item "
                     "scripts (scripts/items/*.scp) with qelmfile.txt, and qelm.ini pointing at "
                     "them, so that tessaplex-cli runs in that folder as is. The same options "
                     "and seed always give the same bytes. Prints key=value lines about what "
                     "it wrote.",
                     "tessaplex-genshard"};
    // Bounds that keep a mistyped count from filling the disk or running for hours.
    constexpr std::int64_t MaxItems = 100000000;
    constexpr std::int64_t MaxDefs = 1000000;
    std::int64_t items = 1000;
    std::uint64_t seed = 1;
    std::int64_t defs = 4000;
    std::string out;
    bool unixLineEnds = false;
    std::int32_t mapWidth = 6144;
    program.add_option("--items", items, "Number of [WORLDITEM] sections")
        ->capture_default_str()
        ->check(CLI::Range(std::int64_t{0}, MaxItems));
    program.add_option("--seed", seed, "Seed of the pseudo-random choices")->capture_default_str();
    program.add_option("--defs", defs, "Number of [ITEMDEF] sections in the item scripts")
        ->capture_default_str()
        ->check(CLI::Range(std::int64_t{0}, MaxDefs));
    program.add_option("--out", out, "Shard folder to write (created when missing)")
        ->required()
        ->type_name("DIR");
    program.add_flag("--lf", unixLineEnds, "LF line ends instead of CR LF (also sets Unix=1)");
    program.add_option("--map-width", mapWidth, "Map width in positions: 6144 or 7168")
        ->capture_default_str()
        ->check(CLI::IsMember({6144, 7168}));
    std::vector<int> maps = {0};
    CLI::Option *mapsOption =
        program
            .add_option("--maps", maps,
                        "Maps (0 to 5) the world's items and characters are spread over, "
                        "e.g. 0,3,4")
            ->delimiter(',')
            ->type_name("LIST")
            ->capture_default_str()
            ->check(CLI::Range(0, formats::MapCount - 1));

    // Optional parts, each with its own options.
    std::vector<std::unique_ptr<bench::ShardPart>> parts;
    parts.push_back(bench::makeStaticsFiles());
    parts.push_back(bench::makeArtFiles());
    parts.push_back(bench::makeExtraClientFiles());
    for (auto &part : parts)
        part->addOptions(program);

    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return program.exit(e);
    }

    // The order and repeats of the list change nothing: "3,0,3" is "0,3".
    std::sort(maps.begin(), maps.end());
    maps.erase(std::unique(maps.begin(), maps.end()), maps.end());
    if (maps.empty()) {
        std::fprintf(stderr, "--maps: name at least one map\n");
        return 1;
    }

    try {
        namespace fs = std::filesystem;
        fs::create_directories(out);
        bench::ShardContext shard;
        shard.folder = fs::absolute(out).lexically_normal().string();
        if (shard.folder.back() != '/')
            shard.folder += '/';
        shard.seed = seed;
        shard.unixLineEnds = unixLineEnds;
        shard.mapWidth = mapWidth;
        fs::create_directories(shard.folder + "save");

        // A fresh settings file, so that no key of an earlier shard lingers.
        const std::string iniPath = shard.folder + "qelm.ini";
        fs::remove(iniPath);
        app::Settings settings(iniPath);

        const bench::Random root(seed);
        bench::Random scriptRandom = root.fork(1);
        const bench::ItemScripts scripts(scriptRandom, static_cast<std::uint32_t>(defs));
        const int scriptFiles =
            scripts.write(shard.folder + "scripts/", shard.folder, unixLineEnds, scriptRandom);
        settings.writeText(app::SettingsSection, "ItemFiles", shard.folder + "scripts");

        bench::WorldSave::Options worldOptions;
        worldOptions.items = static_cast<std::uint64_t>(items);
        worldOptions.mapWidth = mapWidth;
        worldOptions.maps = maps;
        worldOptions.unixLineEnds = unixLineEnds;
        const std::string worldPath = shard.folder + "save/sphereworld.scp";
        bench::Random worldRandom = root.fork(2);
        const auto stats = bench::WorldSave(scripts, worldOptions).write(worldPath, worldRandom);
        settings.writeText(app::SettingsSection, "WorldFile", worldPath);
        settings.writeBool(app::SettingsSection, "Unix", unixLineEnds);

        std::printf("folder=%s\nworldfile=%s\nitems=%" PRIu64 "\nlistable=%" PRIu64
                    "\ncharacters=%" PRIu64 "\nlines=%" PRIu64 "\nbytes=%" PRIu64
                    "\nscriptfiles=%d\ndefs=%" PRId64 "\ndefnames=%" PRIu32 "\n",
                    shard.folder.c_str(), worldPath.c_str(), stats.items, stats.listable,
                    stats.characters, stats.lines, stats.bytes, scriptFiles, defs,
                    scripts.definedCount());
        if (mapsOption->count() > 0) {
            std::string list;
            for (int map : maps)
                list += (list.empty() ? "" : ",") + std::to_string(map);
            std::printf("maps=%s\n", list.c_str());
        }
        for (auto &part : parts) {
            if (part->wanted())
                part->write(shard, settings, stdout);
        }
        return 0;
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", app::errorText(e.what()).c_str());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", app::errorText(e.what()).c_str());
    }
    return 1;
}
