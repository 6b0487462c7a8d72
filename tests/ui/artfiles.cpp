// SPDX-License-Identifier: GPL-3.0-or-later
#include "artfiles.h"

#include "sampleshard.h"
#include "support/testsupport.h"

namespace tessaplex::uitest {

namespace {

void appendU16(std::string &out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xffu));
    out.push_back(static_cast<char>((value >> 8) & 0xffu));
}

} // namespace

std::string solidRunRecord(int width, int height, std::uint16_t pixel) {
    std::string record;
    appendU16(record, 1); // flag: a run record
    appendU16(record, 0);
    appendU16(record, static_cast<std::uint32_t>(width));
    appendU16(record, static_cast<std::uint32_t>(height));
    // Every row is the same: skip 0, count width, the pixels, then the end run 0, 0.
    const int rowWords = 2 + width + 2;
    for (int row = 0; row < height; ++row)
        appendU16(record, static_cast<std::uint32_t>(row * rowWords));
    for (int row = 0; row < height; ++row) {
        appendU16(record, 0);
        appendU16(record, static_cast<std::uint32_t>(width));
        for (int x = 0; x < width; ++x)
            appendU16(record, pixel);
        appendU16(record, 0);
        appendU16(record, 0);
    }
    return record;
}

void writeArtFiles(const std::string &indexPath, const std::string &dataPath,
                   const std::map<std::uint32_t, std::string> &records) {
    std::string index;
    std::string data;
    const std::uint32_t entries = records.empty() ? 0 : records.rbegin()->first + 1;
    for (std::uint32_t entry = 0; entry < entries; ++entry) {
        const auto found = records.find(entry);
        if (found == records.end()) {
            appendIndexRecord(index, 0xffffffffu, 0, 0);
            continue;
        }
        appendIndexRecord(index, static_cast<std::uint32_t>(data.size()),
                          static_cast<std::uint32_t>(found->second.size()), 0);
        data += found->second;
    }
    test::writeFile(indexPath, index);
    test::writeFile(dataPath, data);
}

} // namespace tessaplex::uitest
