// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/artfixture.h"

namespace tessaplex::test {

std::string rawArtRecord(std::uint16_t (*pixelOf)(int index)) {
    std::string out;
    for (int i = 0; i < 1012; ++i)
        out += u16le(pixelOf(i));
    return out;
}

std::string rawArtRecord(std::uint16_t value) {
    std::string out;
    for (int i = 0; i < 1012; ++i)
        out += u16le(value);
    return out;
}

std::string runArtRecord(const std::vector<ArtRow> &rows, std::uint16_t width) {
    std::string table;
    std::string data;
    for (const ArtRow &row : rows) {
        table += u16le(static_cast<std::uint16_t>(data.size() / 2));
        for (const ArtRun &run : row) {
            data += u16le(run.skip);
            data += u16le(static_cast<std::uint16_t>(
                run.count >= 0 ? run.count : static_cast<int>(run.pixels.size())));
            for (const std::uint16_t pixel : run.pixels)
                data += u16le(pixel);
        }
        data += u16le(0) + u16le(0);
    }
    return u32le(1) + u16le(width) + u16le(static_cast<std::uint16_t>(rows.size())) + table + data;
}

ArtFilesBuilder &ArtFilesBuilder::add(std::uint32_t entry, const std::string &record) {
    m_index[entry] = {static_cast<std::uint32_t>(m_data.size()),
                      static_cast<std::uint32_t>(record.size())};
    m_data += record;
    return *this;
}

ArtFilesBuilder &ArtFilesBuilder::setIndex(std::uint32_t entry, std::uint32_t lookup,
                                           std::uint32_t length) {
    m_index[entry] = {lookup, length};
    return *this;
}

std::string ArtFilesBuilder::indexBytes() const {
    std::string out;
    std::uint32_t next = 0;
    for (const auto &[entry, record] : m_index) {
        for (; next < entry; ++next)
            out += u32le(0xFFFFFFFF) + u32le(0) + u32le(0);
        out += u32le(record.first) + u32le(record.second) + u32le(0);
        next = entry + 1;
    }
    return out;
}

std::uint32_t ArtFilesBuilder::lookupOf(std::uint32_t entry) const {
    return m_index.at(entry).first;
}

} // namespace tessaplex::test
