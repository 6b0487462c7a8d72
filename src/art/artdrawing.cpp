// SPDX-License-Identifier: GPL-3.0-or-later
#include "art/artdrawing.h"

#include "base/littleendian.h"
#include "formats/indexrecord.h"
#include "io/bytewindow.h"

#include <algorithm>

namespace tessaplex::art {

namespace {

// Paints a 2 x 2 block with its top-left corner at (x, y), as far as it lies on the canvas.
void paintDoubled(PixelCanvas &canvas, int x, int y, ScreenColour colour) {
    const int right = std::min(x + 2, canvas.width());
    const int bottom = std::min(y + 2, canvas.height());
    for (int row = y; row < bottom; ++row) {
        for (int column = x; column < right; ++column)
            canvas.setPixel(column, row, colour);
    }
}

// The raw diamond, doubled: rows from the top, the upper half widening by 2 pixels a row, the
// lower half narrowing again, every row centred on the vertical axis at x = 44.
DrawOutcome drawRaw(io::ByteWindow &window, std::uint64_t lookup, PixelCanvas &canvas,
                    const PixelColours &colours) {
    const io::ByteWindow::Span record = window.bytes(lookup, RawRecordSize);
    const std::size_t pixels = record.size / 2;
    std::size_t next = 0;
    constexpr int Half = RawSide / 2;
    for (int half = 0; half < 2; ++half) {
        for (int r = 0; r < Half; ++r) {
            const int width = half == 0 ? 2 * (r + 1) : RawSide - 2 * r;
            const int left = half == 0 ? RawSide - 2 * (r + 1) : 2 * r;
            const int y = half == 0 ? 2 * r : RawSide + 2 * r;
            for (int k = 0; k < width; ++k, ++next) {
                if (next >= pixels)
                    return DrawOutcome::Damaged;
                const ScreenColour colour = colours(readU16le(record.data + 2 * next));
                paintDoubled(canvas, left + 2 * k, y, colour);
            }
        }
    }
    return DrawOutcome::Drawn;
}

// A run record at its own size. Rows below the canvas cannot show, so they are not read; a run
// limit there could only end a drawing that shows nothing more anyway.
DrawOutcome drawRuns(io::ByteWindow &window, std::uint64_t lookup, PixelCanvas &canvas,
                     const PixelColours &colours) {
    const io::ByteWindow::Span header = window.bytes(lookup + 4, 4);
    if (header.size < 4)
        return DrawOutcome::Damaged;
    const std::uint32_t height = readU16le(header.data + 2);
    const std::uint64_t table = lookup + 8;
    const std::uint64_t data = table + 2 * std::uint64_t{height};
    const std::uint32_t rows = std::min<std::uint32_t>(
        {height, MaxRunRows, static_cast<std::uint32_t>(std::max(canvas.height(), 0))});
    const std::int64_t canvasWidth = canvas.width();

    // The table is read at once: fetched row by row, it would pull the window away from the row
    // data and back for every row of a large record.
    std::uint16_t offsets[MaxRunRows];
    const io::ByteWindow::Span tableBytes = window.bytes(table, 2 * std::size_t{rows});
    const std::uint32_t knownRows = static_cast<std::uint32_t>(tableBytes.size / 2);
    for (std::uint32_t row = 0; row < knownRows; ++row)
        offsets[row] = readU16le(tableBytes.data + 2 * row);

    for (std::uint32_t row = 0; row < rows; ++row) {
        if (row >= knownRows)
            return DrawOutcome::Damaged;
        std::uint64_t at = data + 2 * std::uint64_t{offsets[row]};
        std::int64_t x = 0;
        for (;;) {
            const io::ByteWindow::Span run = window.bytes(at, 4);
            if (run.size < 4)
                return DrawOutcome::Damaged;
            const std::uint32_t skip = readU16le(run.data);
            const std::uint32_t count = readU16le(run.data + 2);
            at += 4;
            if (skip + count >= RunLimit)
                return DrawOutcome::Drawn;
            if (skip == 0 && count == 0)
                break;
            x += skip;
            const io::ByteWindow::Span pixels = window.bytes(at, 2 * std::size_t{count});
            const std::int64_t present = static_cast<std::int64_t>(pixels.size / 2);
            // Only the pixels that land on the canvas are converted and painted.
            const std::int64_t visible = std::min(present, canvasWidth - x);
            for (std::int64_t k = 0; k < visible; ++k) {
                canvas.setPixel(static_cast<int>(x + k), static_cast<int>(row),
                                colours(readU16le(pixels.data + 2 * k)));
            }
            if (present < count)
                return DrawOutcome::Damaged;
            at += 2 * std::uint64_t{count};
            x += count;
            if (x > MaxRunRowWidth)
                return DrawOutcome::Damaged;
        }
    }
    return DrawOutcome::Drawn;
}

} // namespace

DrawOutcome drawArtRecord(io::ByteSource &artData, std::uint64_t lookup, PixelCanvas &canvas,
                          const PixelColours &colours) {
    io::ByteWindow window(artData);
    const io::ByteWindow::Span flagBytes = window.bytes(lookup, 4);
    canvas.fill(White);
    if (flagBytes.size < 4)
        return DrawOutcome::Damaged;
    if (recordKind(readU32le(flagBytes.data)) == ArtRecordKind::Raw)
        return drawRaw(window, lookup, canvas, colours);
    return drawRuns(window, lookup, canvas, colours);
}

DrawOutcome drawArtEntry(io::ByteSource &artData, io::ByteSource &artIndex, std::uint32_t entry,
                         PixelCanvas &canvas, const PixelColours &colours) {
    const std::optional<formats::IndexRecord> record =
        formats::IndexRecord::readAt(artIndex, entry);
    if (!record)
        return DrawOutcome::NoIndexRecord;
    if (record->lookup == formats::IndexRecord::None)
        return DrawOutcome::Empty;
    return drawArtRecord(artData, record->lookup, canvas, colours);
}

} // namespace tessaplex::art
