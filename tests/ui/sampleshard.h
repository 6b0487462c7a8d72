// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::uitest {

// One "[WORLDITEM ...]" section: the header's ID text, its key lines and the empty line that
// ends it, with CR LF line ends.
[[nodiscard]] std::string worldItem(std::string_view idText, const std::vector<std::string> &keys);

// A world file of four item sections after a two-line header section, 23 lines; Analyse lists
// them as table rows 1 to 4 (line numbers in the definition):
//   row 1: ID 00eed at (1500, 1000), ATTR 010        row 3: ID 00a28 at (8, 8), ATTR 08010
//   row 2: ID 00eed at (1500, 1001), ATTR 010,       row 4: ID 01f14 at (1500, 1000), no ATTR
//          colour 1152
// Rows 1, 2 and 4 lie in block 95869, row 3 in block 513. A fifth item in a container (lines 16
// to 19) is not listed.
[[nodiscard]] std::string fourItems();

// Static map files of an empty map: an index of 393,216 empty records and an empty data file.
void writeEmptyStatics(const std::string &indexPath, const std::string &dataPath);

// The little-endian 12-byte index record and the 7-byte static record.
void appendIndexRecord(std::string &out, std::uint32_t lookup, std::uint32_t length,
                       std::uint32_t extra);
void appendStaticRecord(std::string &out, std::uint16_t id, std::uint8_t x, std::uint8_t y,
                        std::int8_t z, std::uint16_t color);

// A small shard in folder (with a trailing separator), ready for "Analyse" and PATCH: qelm.ini
// naming every file, qelmfile.txt with one item script that defines "i_sample_barrel", a world
// file of itemCount items spread over a few blocks, and empty static map files. Returns the
// number of lines of the world file.
int writeSampleShard(const std::string &folder, int itemCount);

} // namespace tessaplex::uitest
