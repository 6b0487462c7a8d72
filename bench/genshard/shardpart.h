// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/mapgeometry.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace CLI {
class App;
}

namespace tessaplex::app {
class Settings;
}

namespace tessaplex::bench {

// What every part of a generated shard shares.
struct ShardContext {
    std::string folder; // absolute, with a trailing "/"
    std::uint64_t seed = 0;
    bool unixLineEnds = false;
    std::int32_t mapWidth = 6144;
};

// The size of map number map (0 to 5) in a shard whose first two maps are mapWidth positions
// wide: of the sizes the map comes in, the one of that width, or its only one.
[[nodiscard]] inline formats::MapSize mapSizeOf(int map, std::int32_t mapWidth) {
    const formats::MapSizes sizes = formats::sizesOfMap(map);
    for (int i = 0; i < sizes.count; ++i) {
        if (sizes.sizes[i].width == mapWidth)
            return sizes.sizes[i];
    }
    return sizes.sizes[0];
}

// An optional part of the shard (static map files, art files, ...): it brings its own options
// and, when asked for, writes its files and names them in qelm.ini.
class ShardPart {
public:
    virtual ~ShardPart() = default;
    // Adds the part's options to the generator's command line.
    virtual void addOptions(CLI::App &program) = 0;
    // True when the command line asked for this part.
    [[nodiscard]] virtual bool wanted() const = 0;
    // Writes the part's files into the shard folder, records their paths in settings and prints
    // "key=value" lines about them to report. Throws tessaplex::Error on a write failure.
    virtual void write(const ShardContext &shard, app::Settings &settings, std::FILE *report) = 0;
};

} // namespace tessaplex::bench
