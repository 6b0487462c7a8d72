// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/largememory.h"

#include <cstdint>
#include <vector>

namespace tessaplex::patch {

// The lines of one patched item's section in the world file line list: its "[WORLDITEM" line
// (start) to the empty line that ends it (end), both included.
struct LineRange {
    std::uint32_t start = 0;
    std::uint32_t end = 0;

    // Lines the section occupies, the empty line included.
    [[nodiscard]] std::uint64_t lineCount() const { return std::uint64_t{end} - start + 1; }
};

// The sections of all patched items, in item table order.
using LineRanges = std::vector<LineRange, LargeAllocator<LineRange>>;

// A section that the rewritten world file leaves out: its lines, and its bytes, from where its
// first line begins to where the line after its last begins.
struct RemovedSection {
    LineRange lines;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};
using RemovedSections = std::vector<RemovedSection, LargeAllocator<RemovedSection>>;

} // namespace tessaplex::patch
