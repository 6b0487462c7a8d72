// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tessaplex::uitest {

// A run-coded art record: a width x height rectangle of one 16-bit pixel value, one run a row.
[[nodiscard]] std::string solidRunRecord(int width, int height, std::uint16_t pixel);

// Writes an art index file and an art data file holding the given records, keyed by art entry
// number. The index reaches up to the highest entry; entries not given have no art.
void writeArtFiles(const std::string &indexPath, const std::string &dataPath,
                   const std::map<std::uint32_t, std::string> &records);

} // namespace tessaplex::uitest
