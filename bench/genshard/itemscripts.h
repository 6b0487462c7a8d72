// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaplex::bench {

class Random;

// The item script files of a synthetic shard: [ITEMDEF] sections with DEFNAME lines spread over
// several files, and the script file list that names them.
class ItemScripts {
public:
    struct Def {
        std::string name; // as world saves write it: lower case
        std::uint32_t id = 0;
        // False when the script spells the key "defname=": such a line defines nothing, so an
        // item that uses the name is left out of the table.
        bool defined = true;
    };

    // Makes defCount item definitions with distinct names and IDs below 0x4000.
    ItemScripts(Random &random, std::uint32_t defCount);

    [[nodiscard]] const std::vector<Def> &defs() const { return m_defs; }
    [[nodiscard]] std::uint32_t definedCount() const;

    // Writes the script files under folder/items/ and the list qelmfile.txt into listFolder,
    // whose lines name them relative to folder with "\" (as a Windows shard writes them).
    // Returns the number of script files.
    int write(const std::string &folder, const std::string &listFolder, bool unixLineEnds,
              Random &random) const;

private:
    std::vector<Def> m_defs;
};

} // namespace tessaplex::bench
