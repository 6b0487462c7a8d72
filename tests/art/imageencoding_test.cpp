// SPDX-License-Identifier: GPL-3.0-or-later
#include "art/imageencoding.h"
#include "art/rgbcanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tessaplex::test {
namespace {

std::uint32_t u32be(const std::string &bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

// A bit-by-bit CRC, written apart from the table-driven one under test.
std::uint32_t slowCrc(const std::string &bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::uint32_t slowAdler(const std::string &bytes) {
    std::uint64_t a = 1, b = 0;
    for (const char byte : bytes) {
        a = (a + static_cast<unsigned char>(byte)) % 65521;
        b = (b + a) % 65521;
    }
    return static_cast<std::uint32_t>(b << 16 | a);
}

// The pixel rows of a PNG made of stored deflate blocks, every checksum verified on the way;
// fails the test on anything a reader would reject.
std::string decodeStoredPng(const std::string &png, std::uint32_t &width, std::uint32_t &height) {
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::string idat;
    std::size_t at = 8;
    std::string order;
    while (at < png.size()) {
        const std::uint32_t length = u32be(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        EXPECT_EQ(u32be(png, at + 8 + length), slowCrc(type + data)) << type;
        order += type + " ";
        if (type == "IHDR") {
            width = u32be(data, 0);
            height = u32be(data, 4);
            EXPECT_EQ(data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));
        } else if (type == "IDAT") {
            idat += data;
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(order, "IHDR IDAT IEND ");
    EXPECT_EQ(
        (static_cast<unsigned char>(idat[0]) * 256 + static_cast<unsigned char>(idat[1])) % 31, 0);
    EXPECT_EQ(idat[0] & 0x0F, 8); // deflate
    std::string raw;
    std::size_t p = 2;
    bool final = false;
    while (!final) {
        const auto header = static_cast<unsigned char>(idat.at(p));
        final = header & 1;
        EXPECT_EQ(header >> 1, 0) << "stored block expected";
        const unsigned len = static_cast<unsigned char>(idat.at(p + 1)) |
                             static_cast<unsigned char>(idat.at(p + 2)) << 8;
        const unsigned nlen = static_cast<unsigned char>(idat.at(p + 3)) |
                              static_cast<unsigned char>(idat.at(p + 4)) << 8;
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        raw += idat.substr(p + 5, len);
        p += 5 + len;
    }
    EXPECT_EQ(u32be(idat, p), slowAdler(raw));
    EXPECT_EQ(p + 4, idat.size());
    return raw;
}

TEST(Checksums, KnownValues) {
    EXPECT_EQ(art::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(art::crc32(""), 0u);
    EXPECT_EQ(art::adler32("Wikipedia"), 0x11E60398u);
    // Long input of 0xFF, where a sum kept too long between modulos would overflow.
    const std::string ones(100000, '\xFF');
    EXPECT_EQ(art::adler32(ones), slowAdler(ones));
    EXPECT_EQ(art::crc32(ones), slowCrc(ones));
    EXPECT_EQ(art::crc32(ones.substr(500), art::crc32(ones.substr(0, 500))), art::crc32(ones));
}

TEST(PngEncoding, RowsSurviveEveryBlockSplit) {
    // Canvas sizes whose raw rows fill less than, exactly one, exactly two and more than one
    // 65535-byte stored block.
    struct Size {
        int width, height;
    };
    for (const Size size :
         {Size{1, 1}, Size{131, 201}, Size{1456, 15}, Size{1456, 30}, Size{1456, 16}, Size{3, 2}}) {
        art::RgbCanvas canvas(size.width, size.height);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x)
                canvas.setPixel(x, y,
                                static_cast<art::ScreenColour>(x * 7919 + y * 104729) & 0xFFFFFF);
        }
        std::uint32_t width = 0, height = 0;
        const std::string raw = decodeStoredPng(art::encodePng(canvas), width, height);
        ASSERT_EQ(width, static_cast<std::uint32_t>(size.width));
        ASSERT_EQ(height, static_cast<std::uint32_t>(size.height));
        const std::size_t stride = 1 + 3 * static_cast<std::size_t>(size.width);
        ASSERT_EQ(raw.size(), stride * static_cast<std::size_t>(size.height));
        const auto *rgb = reinterpret_cast<const char *>(canvas.rgb().data());
        for (std::size_t y = 0; y < static_cast<std::size_t>(size.height); ++y) {
            ASSERT_EQ(raw[y * stride], '\0');
            ASSERT_EQ(raw.substr(y * stride + 1, stride - 1),
                      std::string(rgb + (stride - 1) * y, stride - 1))
                << size.width << "x" << size.height << " row " << y;
        }
    }
}

} // namespace
} // namespace tessaplex::test
