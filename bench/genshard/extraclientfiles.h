// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shardpart.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tessaplex::bench {

// The client files beyond art.mul, so that a new user sees hued items and names at once:
// artLegacyMUL.uop (the art of ArtFiles packed into a UOP container, entries alternating between
// stored and zlib in runs of eight), hues.mul (HueCount hues, each a ramp from dark to light of
// its own colour) and tiledata.mul (new layout; every item ID named after the graphic it shows,
// with fitting flags).
class ExtraClientFiles : public ShardPart {
public:
    static constexpr std::uint32_t HueCount = 3000;

    // Whether ArtFiles entry n is stored with zlib in the UOP file.
    [[nodiscard]] static bool zlibEntry(std::uint32_t entry) { return (entry >> 3) & 1; }
    // The name and flags tiledata.mul gives item ID id.
    [[nodiscard]] static const char *itemName(std::uint32_t id);
    [[nodiscard]] static std::uint64_t itemFlags(std::uint32_t id);
    // Colour k (0 to 31) of hue number hue (from 1).
    [[nodiscard]] static std::uint16_t hueColour(std::uint32_t hue, unsigned k);

    // Each throws tessaplex::Error when the file cannot be written.
    static void writeUop(const std::string &path);
    static void writeHues(const std::string &path);
    static void writeTiledata(const std::string &path);

    void addOptions(CLI::App &program) override;
    [[nodiscard]] bool wanted() const override { return m_uop || m_hues || m_tiledata; }
    void write(const ShardContext &shard, app::Settings &settings, std::FILE *report) override;

private:
    bool m_uop = false;
    bool m_hues = false;
    bool m_tiledata = false;
};

std::unique_ptr<ShardPart> makeExtraClientFiles();

} // namespace tessaplex::bench
