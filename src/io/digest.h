// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::io {

// A 64-bit digest of a run of bytes, to tell after a crash whether a file still holds the bytes
// it held before: fast enough to run over a whole world file on every PATCH.
class Digest {
public:
    Digest();
    ~Digest();
    Digest(const Digest &) = delete;
    Digest &operator=(const Digest &) = delete;

    void add(const void *data, std::size_t size);
    [[nodiscard]] std::uint64_t value() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

[[nodiscard]] std::uint64_t digestOf(std::string_view bytes);

// The digest and size of a whole file, read through files; nothing when it cannot be read.
struct FileDigest {
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
};
[[nodiscard]] std::optional<FileDigest> digestOfFile(FileSystem &files, const std::string &path);

} // namespace tessaplex::io
