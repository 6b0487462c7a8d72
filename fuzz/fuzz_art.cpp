// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as the client's art files, drawn onto a canvas: an art index file and an art
// data file, or a UOP file (with the same bytes also read as a hue file and a tiledata file).
//
// Input: byte 0 picks the canvas (bits 0-6) and the kind of files (bit 7 set: UOP). For art.mul,
// bytes 1-2 pick the entry (kept within the index, plus one entry past it), bytes 3-4 how many of
// the remaining bytes form the index; the rest is the art data file. For UOP, bytes 1-2 pick the
// entry, hue and item ID, bytes 3-4 where in the file the name hash to look up is taken from (a
// made-up file rarely holds the hash of a real name); the rest is the UOP file.
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "formats/huefile.h"
#include "formats/tiledatafile.h"
#include "formats/uopfile.h"
#include "io/memorybytesource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

using namespace tessaplex;
using namespace tessaplex::art;

constexpr ScreenColour Sentinel = 0x123456;

// A canvas that stops the run when the drawing steps outside it, which the drawing promises
// never to do.
class CheckedCanvas : public RgbCanvas {
public:
    using RgbCanvas::RgbCanvas;
    void setPixel(int x, int y, ScreenColour colour) override {
        if (x < 0 || y < 0 || x >= width() || y >= height() || colour > 0xFFFFFF)
            std::abort();
        RgbCanvas::setPixel(x, y, colour);
    }
};

struct CanvasSize {
    int width, height;
};
constexpr CanvasSize Sizes[] = {{131, 201}, {131, 225}, {88, 88}, {1, 1},
                                {200, 450}, {0, 0},     {44, 3},  {3, 500}};

void requireDrawnOnWhite(const RgbCanvas &canvas, DrawOutcome outcome) {
    if (!changedCanvas(outcome)) {
        // An entry without art must leave the canvas as it was.
        if (canvas.rgb() != RgbCanvas(canvas.width(), canvas.height(), Sentinel).rgb())
            std::abort();
    } else if (canvas.width() > 0 && canvas.height() > 0 &&
               canvas.pixel(canvas.width() - 1, canvas.height() - 1) == Sentinel) {
        // A drawn entry starts from a white canvas: nothing of the previous picture may remain.
        std::abort();
    }
}

// The UOP reader must tell every damage instead of reading past the file, and an entry it reads
// must be exactly as long as its table says.
void fuzzUop(std::string_view bytes, std::uint16_t number, std::size_t hashAt,
             CanvasSize canvasSize) {
    io::MemoryByteSource file(bytes);
    const formats::UopTable table = formats::UopTable::read(file);
    if (!table.problem().empty() && table.size() != 0)
        std::abort();
    if (table.size() > bytes.size() / formats::UopEntrySize)
        std::abort();
    std::uint64_t hash = formats::uopNameHash(formats::artUopName(number));
    if (bytes.size() >= 8) {
        hashAt %= bytes.size() - 7;
        hash = 0;
        for (int i = 7; i >= 0; --i)
            hash =
                hash << 8 | static_cast<unsigned char>(bytes[hashAt + static_cast<std::size_t>(i)]);
    }
    const std::optional<formats::UopEntry> entry = table.find(file, hash);
    const std::optional<formats::Hue> hue = formats::readHue(file, number);
    const std::optional<formats::ItemTileRecord> item = formats::readItemTileRecord(file, number);
    if (item && item->name.size() > formats::TileDataNameSize)
        std::abort();
    if (!entry)
        return;
    const formats::UopEntryBytes read = formats::readUopEntry(file, *entry);
    if (!read.problem.empty()) {
        if (!read.bytes.empty())
            std::abort();
        return;
    }
    const bool zlib = entry->compression == 1;
    if (read.bytes.size() != (zlib ? entry->decompressedLength : entry->compressedLength))
        std::abort();
    io::MemoryByteSource record(read.bytes);
    CheckedCanvas canvas(canvasSize.width, canvasSize.height, Sentinel);
    const PixelColours colours =
        hue ? PixelColours(*hue, item && (item->flags & formats::PartialHueFlag)) : PixelColours();
    requireDrawnOnWhite(canvas, drawArtRecord(record, 0, canvas, colours));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 5)
        return 0;
    const CanvasSize canvasSize = Sizes[(data[0] & 0x7F) % (sizeof Sizes / sizeof Sizes[0])];
    const std::size_t rest = size - 5;
    if (data[0] & 0x80) {
        fuzzUop(std::string_view(reinterpret_cast<const char *>(data + 5), rest),
                static_cast<std::uint16_t>(data[1] | data[2] << 8),
                static_cast<std::size_t>(data[3] | data[4] << 8), canvasSize);
        return 0;
    }
    const std::size_t indexLength = std::min<std::size_t>(data[3] | data[4] << 8, rest);
    const std::string_view bytes(reinterpret_cast<const char *>(data + 5), rest);
    io::MemoryByteSource index(bytes.substr(0, indexLength));
    io::MemoryByteSource artData(bytes.substr(indexLength));
    const std::uint32_t entry = (data[1] | data[2] << 8) % (indexLength / 12 + 2);

    CheckedCanvas canvas(canvasSize.width, canvasSize.height, Sentinel);
    requireDrawnOnWhite(canvas, drawArtEntry(artData, index, entry, canvas));
    return 0;
}
