// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an art index file and an art data file, drawn onto a canvas.
//
// Input: byte 0 picks the canvas, bytes 1-2 the entry (kept within the index, plus one entry past
// it), bytes 3-4 how many of the remaining bytes form the index; the rest is the art data file.
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "io/memorybytesource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 5)
        return 0;
    const CanvasSize canvasSize = Sizes[data[0] % (sizeof Sizes / sizeof Sizes[0])];
    const std::size_t rest = size - 5;
    const std::size_t indexLength = std::min<std::size_t>(data[3] | data[4] << 8, rest);
    const std::string_view bytes(reinterpret_cast<const char *>(data + 5), rest);
    io::MemoryByteSource index(bytes.substr(0, indexLength));
    io::MemoryByteSource artData(bytes.substr(indexLength));
    const std::uint32_t entry = (data[1] | data[2] << 8) % (indexLength / 12 + 2);

    CheckedCanvas canvas(canvasSize.width, canvasSize.height, Sentinel);
    const DrawOutcome outcome = drawArtEntry(artData, index, entry, canvas);
    if (!changedCanvas(outcome)) {
        // An entry without art must leave the canvas as it was.
        if (canvas.rgb() != RgbCanvas(canvas.width(), canvas.height(), Sentinel).rgb())
            std::abort();
    } else if (canvas.width() > 0 && canvas.height() > 0 &&
               canvas.pixel(canvas.width() - 1, canvas.height() - 1) == Sentinel) {
        // A drawn entry starts from a white canvas: nothing of the previous picture may remain.
        std::abort();
    }
    return 0;
}
