// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "itemscripts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaplex::bench {

class Random;

// A synthetic world save in the shape of a real one: a file header, then [WORLDITEM] sections
// (hex or def-name headers, SERIAL=, P=, COLOR=, ATTR=, some with CONT=, LINK=, NAME= or
// DISPID=) mixed with [WORLDCHAR] sections, about ten lines per item, and "[EOF]" at the end.
// A position on map 0 has two or three numbers (x,y or x,y,z); one on another map has four,
// x,y,z,m, with x and y inside that map.
class WorldSave {
public:
    struct Options {
        std::uint64_t items = 0;
        std::int32_t mapWidth = 6144;
        // The maps (0 to 5) the positions are spread over, evenly; each at most once.
        std::vector<int> maps = {0};
        bool unixLineEnds = false;
    };
    struct Stats {
        std::uint64_t items = 0;
        // Items the table lists when the whole file is analysed with these item scripts: the
        // ID resolves and the section has none of CONT=, LINK=, NAME=.
        std::uint64_t listable = 0;
        std::uint64_t characters = 0;
        std::uint64_t lines = 0;
        std::uint64_t bytes = 0;
    };

    WorldSave(const ItemScripts &scripts, Options options);

    // Writes the save to path. Throws tessaplex::Error when the file cannot be written.
    Stats write(const std::string &path, Random &random) const;

private:
    const ItemScripts &m_scripts;
    Options m_options;
};

} // namespace tessaplex::bench
