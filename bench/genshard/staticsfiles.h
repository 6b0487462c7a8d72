// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shardpart.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaplex::bench {

class Random;

// The static map files of a synthetic shard: staidx0.mul with one 12-byte record per 8x8 block
// (lookup, length, extra, little-endian) and statics0.mul with 7-byte records (id, x, y, z,
// color) grouped by block in block order. Empty blocks have lookup and length 0xFFFFFFFF.
class StaticsFiles : public ShardPart {
public:
    struct Layout {
        std::uint32_t blocks = 0;
        // Records per block; the data file holds them back to back in block order.
        std::vector<std::uint32_t> records;
    };

    // Spreads dataBytes / 7 records over the blocks of a map mapWidth positions wide (4096
    // high): about a quarter of the blocks stay empty, the rest get uneven counts.
    [[nodiscard]] static Layout plan(Random &random, std::int32_t mapWidth,
                                     std::uint64_t dataBytes);
    // Writes both files for the layout.
    static void write(const std::string &indexPath, const std::string &dataPath,
                      const Layout &layout, Random &random);

    void addOptions(CLI::App &program) override;
    [[nodiscard]] bool wanted() const override { return m_wanted; }
    void write(const ShardContext &shard, app::Settings &settings, std::FILE *report) override;

private:
    bool m_wanted = false;
    std::int64_t m_dataBytes = 20000000;
};

std::unique_ptr<ShardPart> makeStaticsFiles();

} // namespace tessaplex::bench
