// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaplex::patch {

// What a PATCH writes, worked out without writing it.
struct PatchPlan {
    std::size_t items = 0;              // new static records, one per marked item
    std::uint32_t blocksTouched = 0;    // blocks that receive new records
    std::uint64_t linesRemoved = 0;     // world file lines of the removed sections
    std::uint32_t indexRecords = 0;     // records of the new static index file
    std::uint64_t indexBytes = 0;       // size of the new static index file
    std::uint64_t dataBytes = 0;        // size of the new static data file
    std::uint64_t worldBytes = 0;       // size of the rewritten world file
    std::string staidx, statics, world; // the files written; empty when none would be
};

} // namespace tessaplex::patch
