// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/littleendian.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaplex::test {

// One pixel run of a run-coded art record: skip pixels left out, then the pixels. count, when
// set, is written instead of pixels.size(), to make records that lie about their length.
struct ArtRun {
    std::uint16_t skip = 0;
    std::vector<std::uint16_t> pixels;
    int count = -1;
};

using ArtRow = std::vector<ArtRun>;

// The bytes of a raw record: 1012 pixels, pixel i being pixelOf(i).
[[nodiscard]] std::string rawArtRecord(std::uint16_t (*pixelOf)(int index));
// The bytes of a raw record whose every pixel is value.
[[nodiscard]] std::string rawArtRecord(std::uint16_t value);

// The bytes of a run record: flag 1, width, height = rows.size(), the row offset table, and each
// row's runs ended by skip 0, count 0.
[[nodiscard]] std::string runArtRecord(const std::vector<ArtRow> &rows, std::uint16_t width = 44);

// An art data file and its index, built entry by entry. Index records of entries that were not
// given are empty (lookup 0xFFFFFFFF).
class ArtFilesBuilder {
public:
    // Appends record to the data file and points entry's index record at it.
    ArtFilesBuilder &add(std::uint32_t entry, const std::string &record);
    // Sets entry's index record as given, whatever the data file holds.
    ArtFilesBuilder &setIndex(std::uint32_t entry, std::uint32_t lookup, std::uint32_t length);

    [[nodiscard]] std::string indexBytes() const;
    [[nodiscard]] const std::string &dataBytes() const { return m_data; }
    // The offset in the data file at which entry's record was appended.
    [[nodiscard]] std::uint32_t lookupOf(std::uint32_t entry) const;

private:
    std::string m_data;
    std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> m_index;
};

} // namespace tessaplex::test
