// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/file.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tessaplex::test {

// A file held in a string, which counts the calls made on it.
class MemoryFile : public io::File {
public:
    explicit MemoryFile(std::string bytes = {})
        : bytes(std::move(bytes)) {}

    std::string bytes;
    std::size_t position = 0;
    int reads = 0, writes = 0, seeks = 0;
    bool failWrites = false;

    std::optional<std::size_t> read(void *data, std::size_t size) override {
        ++reads;
        const std::size_t n = std::min(size, bytes.size() - std::min(position, bytes.size()));
        if (n)
            std::memcpy(data, bytes.data() + position, n);
        position += n;
        return n;
    }
    bool write(const void *data, std::size_t size) override {
        ++writes;
        if (failWrites)
            return false;
        bytes.replace(position, std::min(size, bytes.size() - std::min(position, bytes.size())),
                      static_cast<const char *>(data), size);
        position += size;
        return true;
    }
    bool seek(std::uint64_t offset) override {
        ++seeks;
        position = static_cast<std::size_t>(offset);
        return true;
    }
    bool sync() override { return true; }
    bool close() override { return true; }
};

} // namespace tessaplex::test
