// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/rgbcanvas.h"

#include <cstdint>
#include <string>
#include <string_view>

// Picture files of a canvas, written without any imaging library.
namespace tessaplex::art {

// The canvas as a binary PPM file (P6, maximum value 255).
[[nodiscard]] std::string encodePpm(const RgbCanvas &canvas);

// The canvas (at least 1 x 1 pixels) as a PNG file: 8-bit RGB, no interlace, the pixel rows in
// uncompressed (stored) deflate blocks. Any PNG reader opens it; it takes about 3 bytes a pixel.
[[nodiscard]] std::string encodePng(const RgbCanvas &canvas);

// The CRC-32 of PNG chunks and zip files (polynomial 0xEDB88320), continued from crc.
[[nodiscard]] std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0);

// The Adler-32 checksum of zlib streams, continued from adler.
[[nodiscard]] std::uint32_t adler32(std::string_view bytes, std::uint32_t adler = 1);

} // namespace tessaplex::art
