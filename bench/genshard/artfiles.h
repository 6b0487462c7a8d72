// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shardpart.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaplex::bench {

// The art files of a synthetic shard, so that previews show something recognisable at once:
// art.mul holds a few graphics drawn here by code, four floor tiles as raw records (stone, grass,
// sand, water) and four objects as run records (barrel, lamp post, chest, tree), and artidx.mul
// points every entry below EntryCount at one of them, items (entry 0x4000 + ID) cycling through
// all eight by ID and the land entries below 0x4000 through the tiles. No entry is empty.
class ArtFiles : public ShardPart {
public:
    // Entries of the index file: the land entries and the art of every item ID up to 0x3FFF.
    static constexpr std::uint32_t EntryCount = 0x8000;

    enum Graphic : std::size_t { Stone, Grass, Sand, Water, Barrel, LampPost, Chest, Tree, Count };

    // The art record of each graphic, in Graphic order.
    [[nodiscard]] static std::vector<std::string> records();
    // The graphic art entry n shows.
    [[nodiscard]] static Graphic graphicOf(std::uint32_t entry);
    // Writes both files. Throws tessaplex::Error when one cannot be written.
    static void write(const std::string &indexPath, const std::string &dataPath);

    void addOptions(CLI::App &program) override;
    [[nodiscard]] bool wanted() const override { return m_wanted; }
    void write(const ShardContext &shard, app::Settings &settings, std::FILE *report) override;

private:
    bool m_wanted = false;
};

std::unique_ptr<ShardPart> makeArtFiles();

} // namespace tessaplex::bench
