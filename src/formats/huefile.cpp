// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/huefile.h"

#include "base/littleendian.h"

namespace tessaplex::formats {

HueTable HueTable::parse(std::string_view bytes) {
    HueTable table;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    for (std::size_t group = 0; group * HueGroupSize + 4 < bytes.size(); ++group) {
        for (std::size_t i = 0; i < HuesPerGroup; ++i) {
            const std::size_t at = group * HueGroupSize + 4 + i * HueSize;
            if (at + HueSize > bytes.size())
                return table;
            Hue hue;
            for (std::size_t k = 0; k < hue.colours.size(); ++k)
                hue.colours[k] = readU16le(data + at + 2 * k);
            table.m_hues.push_back(hue);
        }
    }
    return table;
}

const Hue *HueTable::ofColor(std::uint32_t color) const {
    const std::uint32_t number = color & HueNumberMask;
    if (number == 0 || number > m_hues.size())
        return nullptr;
    return &m_hues[number - 1];
}

} // namespace tessaplex::formats
