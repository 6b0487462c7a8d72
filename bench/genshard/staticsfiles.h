// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shardpart.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class Option;
}

namespace tessaplex::bench {

class Random;

// The static map files of one map N of a synthetic shard: staidxN.mul with one 12-byte record per
// 8x8 block (lookup, length, extra, little-endian) and staticsN.mul with 7-byte records (id, x,
// y, z, color) grouped by block in block order. Empty blocks have lookup and length 0xFFFFFFFF.
class StaticsFiles : public ShardPart {
public:
    struct Layout {
        std::uint32_t blocks = 0;
        // Records per block; the data file holds them back to back in block order.
        std::vector<std::uint32_t> records;
    };

    // Spreads dataBytes / 7 records over the blocks of a map of the given size: about a quarter
    // of the blocks stay empty, the rest get uneven counts.
    [[nodiscard]] static Layout plan(Random &random, formats::MapSize map, std::uint64_t dataBytes);
    // Writes both files for the layout.
    static void write(const std::string &indexPath, const std::string &dataPath,
                      const Layout &layout, Random &random);

    void addOptions(CLI::App &program) override;
    [[nodiscard]] bool wanted() const override { return m_wanted; }
    void write(const ShardContext &shard, app::Settings &settings, std::FILE *report) override;

private:
    bool m_wanted = false;
    std::int64_t m_dataBytes = 20000000;
    int m_map = 0;
    CLI::Option *m_mapOption = nullptr;
};

std::unique_ptr<ShardPart> makeStaticsFiles();

} // namespace tessaplex::bench
