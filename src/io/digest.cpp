// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/digest.h"

#include "base/largememory.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace tessaplex::io {

struct Digest::State {
    XXH3_state_t xxh;
};

Digest::Digest()
    : m_state(std::make_unique<State>()) {
    XXH3_64bits_reset(&m_state->xxh);
}

Digest::~Digest() = default;

void Digest::add(const void *data, std::size_t size) {
    if (size > 0)
        XXH3_64bits_update(&m_state->xxh, data, size);
}

std::uint64_t Digest::value() const {
    return XXH3_64bits_digest(&m_state->xxh);
}

std::uint64_t digestOf(std::string_view bytes) {
    Digest digest;
    digest.add(bytes.data(), bytes.size());
    return digest.value();
}

std::optional<FileDigest> digestOfFile(FileSystem &files, const std::string &path) {
    const auto file = files.openForReading(path);
    if (!file)
        return std::nullopt;
    LargeArray<unsigned char> chunk(std::size_t{2} << 20);
    Digest digest;
    FileDigest result;
    for (;;) {
        const auto n = file->read(chunk.data(), chunk.capacity());
        if (!n)
            return std::nullopt;
        if (*n == 0)
            break;
        digest.add(chunk.data(), *n);
        result.size += *n;
    }
    result.digest = digest.value();
    return result;
}

} // namespace tessaplex::io
