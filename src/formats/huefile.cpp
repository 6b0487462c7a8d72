// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/huefile.h"

#include "base/littleendian.h"

namespace tessaplex::formats {

std::optional<Hue> readHue(io::ByteSource &file, std::uint32_t color) {
    const std::uint32_t number = color & HueNumberMask;
    if (number == 0)
        return std::nullopt;
    const std::uint64_t index = number - 1;
    const std::uint64_t at =
        index / HuesPerGroup * HueGroupSize + 4 + index % HuesPerGroup * HueSize;
    unsigned char bytes[HueSize];
    if (file.readAt(at, bytes, sizeof bytes) < sizeof bytes)
        return std::nullopt;
    Hue hue;
    for (std::size_t k = 0; k < hue.colours.size(); ++k)
        hue.colours[k] = readU16le(bytes + 2 * k);
    return hue;
}

} // namespace tessaplex::formats
