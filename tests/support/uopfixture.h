// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/littleendian.h"
#include <cstddef>

#include <cstdint>
#include <string>
#include <vector>

namespace tessaplex::test {

// One file packed into a UOP container by uopFile: stored (compression 0) as given, or with
// compression 1 deflated by zlib; any other compression is written as stated over the bytes as
// given.
struct UopFixtureEntry {
    std::string name;
    std::string bytes;
    std::uint16_t compression = 0;
};

// A UOP container: the 28-byte header padded to 64 bytes, then table blocks of blockCapacity
// entries, each followed by the data of its entries (each behind an entry header of 8 bytes, as
// the header length says). The last block's unused slots are left 0.
[[nodiscard]] std::string uopFile(const std::vector<UopFixtureEntry> &entries,
                                  std::size_t blockCapacity = 2);

// The bytes of a hue file whose hue i (from 0) has colours[k] = colourOf(i, k), for count hues.
[[nodiscard]] std::string hueFile(std::size_t count,
                                  std::uint16_t (*colourOf)(std::size_t hue, std::size_t k));

} // namespace tessaplex::test
