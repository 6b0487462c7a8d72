// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::bench {

// Writes a UOP container: the header padded to 512 bytes, the data, then the table blocks of
// blockCapacity entries chained one after the other. Entries may share data, so that a file of
// many entries showing a few pictures stays small.
class UopWriter {
public:
    // Adds bytes to the data, stored as they are or deflated with zlib; returns their number.
    std::size_t addData(const std::string &bytes, bool zlib);
    // Adds an entry stored under the hash of name whose bytes are data number `data`.
    void addEntry(std::string_view name, std::size_t data);

    // Throws tessaplex::Error when the file cannot be written.
    void write(const std::string &path, std::size_t blockCapacity = 1000) const;

private:
    struct Data {
        std::string packed;
        std::uint32_t length; // before deflating
        bool zlib;
    };
    struct Entry {
        std::uint64_t hash;
        std::size_t data;
    };
    std::vector<Data> m_data;
    std::vector<Entry> m_entries;
};

} // namespace tessaplex::bench
