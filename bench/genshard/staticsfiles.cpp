// SPDX-License-Identifier: GPL-3.0-or-later
#include "staticsfiles.h"

#include "app/settings.h"
#include "outputfile.h"
#include "random.h"

#include <CLI/CLI.hpp>

#include <cinttypes>

namespace tessaplex::bench {

namespace {

constexpr std::uint32_t RecordSize = 7;
constexpr std::uint32_t Empty = 0xffffffffu;

} // namespace

StaticsFiles::Layout StaticsFiles::plan(Random &random, formats::MapSize map,
                                        std::uint64_t dataBytes) {
    Layout layout;
    layout.blocks = map.blockCount();
    std::vector<std::uint32_t> weights(layout.blocks);
    std::uint64_t total = 0;
    for (std::uint32_t &w : weights) {
        // Open sea and wilderness hold nothing; towns hold a lot.
        const std::uint32_t r = random.below(100);
        w = r < 25 ? 0 : r < 98 ? 1 + random.below(16) : 60 + random.below(120);
        total += w;
    }
    const std::uint64_t records = dataBytes / RecordSize;
    layout.records.assign(layout.blocks, 0);
    // Cumulative rounding hands out exactly `records` records in all.
    std::uint64_t prefix = 0;
    std::uint64_t given = 0;
    for (std::uint32_t b = 0; b < layout.blocks && total; ++b) {
        prefix += weights[b];
        const std::uint64_t upTo = records * prefix / total;
        layout.records[b] = static_cast<std::uint32_t>(upTo - given);
        given = upTo;
    }
    return layout;
}

void StaticsFiles::write(const std::string &indexPath, const std::string &dataPath,
                         const Layout &layout, Random &random) {
    OutputFile index(indexPath);
    OutputFile data(dataPath);
    std::uint64_t offset = 0;
    for (std::uint32_t b = 0; b < layout.blocks; ++b) {
        const std::uint32_t count = layout.records[b];
        // The extra field means nothing to us but must survive a patch: give it varied values.
        const std::uint32_t extra =
            random.percent(50) ? 0 : static_cast<std::uint32_t>(random.next());
        if (count == 0) {
            index.u32(Empty);
            index.u32(Empty);
            index.u32(extra);
            continue;
        }
        index.u32(static_cast<std::uint32_t>(offset));
        index.u32(count * RecordSize);
        index.u32(extra);
        for (std::uint32_t k = 0; k < count; ++k) {
            data.u16(static_cast<std::uint16_t>(1 + random.below(0x3fff)));
            data.u8(static_cast<std::uint8_t>(random.below(8)));
            data.u8(static_cast<std::uint8_t>(random.below(8)));
            data.u8(static_cast<std::uint8_t>(random.between(-20, 80)));
            data.u16(random.percent(90) ? 0 : static_cast<std::uint16_t>(random.below(0xc00)));
        }
        offset += std::uint64_t{count} * RecordSize;
    }
    index.close();
    data.close();
}

void StaticsFiles::addOptions(CLI::App &program) {
    CLI::Option *statics =
        program.add_flag("--statics", m_wanted,
                         "Also write the static map files staidxN.mul and staticsN.mul of map N "
                         "(see --map) and name them in qelm.ini (Staidx, Statics)");
    program
        .add_option("--statics-bytes", m_dataBytes,
                    "Size of staticsN.mul in bytes, rounded down to whole 7-byte records")
        ->capture_default_str()
        ->check(CLI::Range(std::int64_t{0}, std::int64_t{0xfffffff0}));
    m_mapOption = program
                      .add_option("--map", m_map,
                                  "Map (0 to 5) of the static map files, of that map's size; "
                                  "maps 0 and 1 take their width from --map-width")
                      ->capture_default_str()
                      ->check(CLI::Range(0, formats::MapCount - 1))
                      ->needs(statics);
}

void StaticsFiles::write(const ShardContext &shard, app::Settings &settings, std::FILE *report) {
    Random random = Random(shard.seed).fork(3);
    const Layout layout =
        plan(random, mapSizeOf(m_map, shard.mapWidth), static_cast<std::uint64_t>(m_dataBytes));
    const std::string number = std::to_string(m_map);
    const std::string index = shard.folder + "staidx" + number + ".mul";
    const std::string data = shard.folder + "statics" + number + ".mul";
    write(index, data, layout, random);
    settings.writeText(app::SettingsSection, "Staidx", index);
    settings.writeText(app::SettingsSection, "Statics", data);
    std::uint64_t records = 0;
    std::uint32_t used = 0;
    for (std::uint32_t count : layout.records) {
        records += count;
        used += count != 0;
    }
    std::fprintf(report,
                 "staidx=%s\nstatics=%s\nblocks=%" PRIu32 "\nfilledblocks=%" PRIu32
                 "\nstaticrecords=%" PRIu64 "\nstaticbytes=%" PRIu64 "\n",
                 index.c_str(), data.c_str(), layout.blocks, used, records, records * RecordSize);
    if (m_mapOption->count() > 0)
        std::fprintf(report, "staticsmap=%d\n", m_map);
}

std::unique_ptr<ShardPart> makeStaticsFiles() {
    return std::make_unique<StaticsFiles>();
}

} // namespace tessaplex::bench
