// SPDX-License-Identifier: GPL-3.0-or-later
#include "art/imageencoding.h"

#include <algorithm>
#include <array>

namespace tessaplex::art {

namespace {

std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void appendU32be(std::string &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void appendChunk(std::string &png, std::string_view type, std::string_view data) {
    appendU32be(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = png.size();
    png.append(type);
    png.append(data);
    appendU32be(png, crc32(std::string_view(png).substr(typeAt)));
}

// A zlib stream of stored deflate blocks: no compression, so no compressor can be wrong, and
// every reader accepts it.
std::string storedZlib(std::string_view raw) {
    constexpr std::size_t MaxBlock = 0xFFFF;
    std::string out;
    out.reserve(raw.size() + raw.size() / MaxBlock * 5 + 16);
    // CMF 0x78: deflate with a 32 KiB window; FLG 0x01 makes CMF*256+FLG a multiple of 31.
    out.push_back('\x78');
    out.push_back('\x01');
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(MaxBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? '\x01' : '\x00');
        out.push_back(static_cast<char>(length & 0xFF));
        out.push_back(static_cast<char>(length >> 8));
        out.push_back(static_cast<char>(~length & 0xFF));
        out.push_back(static_cast<char>((~length >> 8) & 0xFF));
        out.append(raw.substr(at, length));
        at += length;
    } while (at < raw.size());
    appendU32be(out, adler32(raw));
    return out;
}

} // namespace

std::uint32_t crc32(std::string_view bytes, std::uint32_t crc) {
    static const std::array<std::uint32_t, 256> table = makeCrcTable();
    std::uint32_t c = ~crc;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return ~c;
}

std::uint32_t adler32(std::string_view bytes, std::uint32_t adler) {
    constexpr std::uint32_t Modulus = 65521;
    // 5552 bytes is the longest stretch whose sums cannot overflow 32 bits before the modulo.
    constexpr std::size_t Stretch = 5552;
    std::uint32_t a = adler & 0xFFFF;
    std::uint32_t b = adler >> 16;
    while (!bytes.empty()) {
        const std::size_t n = std::min(Stretch, bytes.size());
        for (std::size_t i = 0; i < n; ++i) {
            a += static_cast<unsigned char>(bytes[i]);
            b += a;
        }
        a %= Modulus;
        b %= Modulus;
        bytes.remove_prefix(n);
    }
    return b << 16 | a;
}

std::string encodePpm(const RgbCanvas &canvas) {
    std::string out =
        "P6\n" + std::to_string(canvas.width()) + " " + std::to_string(canvas.height()) + "\n255\n";
    const auto &rgb = canvas.rgb();
    out.append(reinterpret_cast<const char *>(rgb.data()), rgb.size());
    return out;
}

std::string encodePng(const RgbCanvas &canvas) {
    const auto width = static_cast<std::size_t>(canvas.width());
    const auto height = static_cast<std::size_t>(canvas.height());
    const char *rgb = reinterpret_cast<const char *>(canvas.rgb().data());

    std::string header;
    appendU32be(header, static_cast<std::uint32_t>(width));
    appendU32be(header, static_cast<std::uint32_t>(height));
    header.append({'\x08', '\x02', '\x00', '\x00', '\x00'}); // 8 bits, RGB, deflate, no interlace

    // Each row is preceded by its filter type, 0: the bytes as they are.
    std::string raw;
    raw.reserve(height * (1 + 3 * width));
    for (std::size_t y = 0; y < height; ++y) {
        raw.push_back('\0');
        raw.append(rgb + y * 3 * width, 3 * width);
    }

    std::string png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace tessaplex::art
