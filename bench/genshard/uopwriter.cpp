// SPDX-License-Identifier: GPL-3.0-or-later
#include "uopwriter.h"

#include "base/error.h"
#include "formats/uopfile.h"
#include "outputfile.h"

#include <zlib.h>

#include <algorithm>

namespace tessaplex::bench {

namespace {

constexpr std::uint64_t HeaderRoom = 512;

void u64(OutputFile &out, std::uint64_t value) {
    out.u32(static_cast<std::uint32_t>(value));
    out.u32(static_cast<std::uint32_t>(value >> 32));
}

} // namespace

std::size_t UopWriter::addData(const std::string &bytes, bool zlib) {
    Data data{bytes, static_cast<std::uint32_t>(bytes.size()), zlib};
    if (zlib) {
        uLongf length = compressBound(static_cast<uLong>(bytes.size()));
        data.packed.assign(length, '\0');
        if (compress2(reinterpret_cast<Bytef *>(data.packed.data()), &length,
                      reinterpret_cast<const Bytef *>(bytes.data()),
                      static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK)
            throw Error("Cannot deflate a UOP entry");
        data.packed.resize(length);
    }
    m_data.push_back(std::move(data));
    return m_data.size() - 1;
}

void UopWriter::addEntry(std::string_view name, std::size_t data) {
    m_entries.push_back({formats::uopNameHash(name), data});
}

void UopWriter::write(const std::string &path, std::size_t blockCapacity) const {
    OutputFile out(path);
    std::vector<std::uint64_t> offsets;
    std::uint64_t at = HeaderRoom;
    for (const Data &data : m_data) {
        offsets.push_back(at);
        at += data.packed.size();
    }
    const std::uint64_t blockSize =
        formats::UopBlockHeaderSize + blockCapacity * formats::UopEntrySize;
    const std::size_t blocks =
        std::max<std::size_t>(1, (m_entries.size() + blockCapacity - 1) / blockCapacity);

    out.u32(formats::UopMagic);
    out.u32(5);          // version
    out.u32(0xFD23EC43); // signature
    u64(out, at);
    out.u32(static_cast<std::uint32_t>(blockCapacity));
    out.u32(static_cast<std::uint32_t>(m_entries.size()));
    out.write(std::string(HeaderRoom - formats::UopHeaderSize, '\0'));
    for (const Data &data : m_data)
        out.write(data.packed);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = b * blockCapacity;
        const std::size_t count = std::min(blockCapacity, m_entries.size() - first);
        out.u32(static_cast<std::uint32_t>(count));
        u64(out, b + 1 < blocks ? at + (b + 1) * blockSize : 0);
        for (std::size_t i = first; i < first + count; ++i) {
            const Data &data = m_data[m_entries[i].data];
            u64(out, offsets[m_entries[i].data]);
            out.u32(0); // no entry header
            out.u32(static_cast<std::uint32_t>(data.packed.size()));
            out.u32(data.length);
            u64(out, m_entries[i].hash);
            out.u32(0); // data hash, not checked by readers
            out.u16(data.zlib ? 1 : 0);
        }
        out.write(std::string((blockCapacity - count) * formats::UopEntrySize, '\0'));
    }
    out.close();
}

} // namespace tessaplex::bench
