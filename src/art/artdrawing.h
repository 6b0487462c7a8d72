// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formats/artentry.h"

#include "art/pixelcanvas.h"
#include "art/pixelcolours.h"
#include "io/bytesource.h"

#include <cstdint>

// Drawing one art entry of the client's art files onto a canvas.
//
// An art record is either raw, a 44 x 44 diamond of 1012 pixels drawn doubled into the 88 x 88
// square at the canvas's top-left corner, or run-coded, drawn at its own size from the top-left
// corner. The first 32-bit value of the record (its flag) tells which: 0 or above 0xFFFF is raw.
namespace tessaplex::art {

using formats::ItemArtBase;

// The bytes of a raw record: 1012 pixels of 2 bytes, no header.
inline constexpr std::uint32_t RawRecordSize = 2024;
// The diamond's side in pixels before doubling.
inline constexpr int RawSide = 44;
// A run whose skip and count add up to this or more ends the drawing; what was drawn stays.
inline constexpr std::uint32_t RunLimit = 2048;
// Rows of a run record that are drawn at most; later rows are left out.
inline constexpr std::uint32_t MaxRunRows = 400;
// The widest row a run record can state; a row that runs further is damaged data.
inline constexpr std::int64_t MaxRunRowWidth = 0xFFFF;

enum class ArtRecordKind { Raw, Run };

// The kind of record a flag starts.
[[nodiscard]] constexpr ArtRecordKind recordKind(std::uint32_t flag) {
    return flag == 0 || flag > 0xFFFF ? ArtRecordKind::Raw : ArtRecordKind::Run;
}

enum class DrawOutcome {
    // The record was drawn onto a white canvas (a run with skip + count of RunLimit or more ends
    // the drawing early; that is the record's own way to end, no damage).
    Drawn,
    // The entry's lookup is 0xFFFFFFFF: no art. The canvas was not touched.
    Empty,
    // The art index file ends before the entry's record. The canvas was not touched.
    NoIndexRecord,
    // The record could not be read to its end: its lookup lies beyond the art data file, the file
    // ends inside it, a row starts beyond the file, or a row runs past MaxRunRowWidth. The canvas
    // was made white and keeps what could be drawn before that point.
    Damaged,
};

// True for the outcomes after which the canvas shows this entry (Drawn, Damaged); false for those
// that left it as it was.
[[nodiscard]] constexpr bool changedCanvas(DrawOutcome outcome) {
    return outcome == DrawOutcome::Drawn || outcome == DrawOutcome::Damaged;
}

// Draws art entry `entry`: reads its index record from artIndex and, unless the entry has no art,
// fills the whole canvas white and draws the record found at its lookup in artData. Pixels that
// fall outside the canvas are left out. Reads nothing past the end of either source, and the work
// is bounded whatever the bytes: at most MaxRunRows rows, each ending by MaxRunRowWidth. The
// pixels become screen colours through colours (as they are, unless it holds a hue).
DrawOutcome drawArtEntry(io::ByteSource &artData, io::ByteSource &artIndex, std::uint32_t entry,
                         PixelCanvas &canvas, const PixelColours &colours = PixelColours());

// Fills the canvas white and draws the art record that starts at byte lookup of artData.
// Returns Drawn or Damaged as drawArtEntry does.
DrawOutcome drawArtRecord(io::ByteSource &artData, std::uint64_t lookup, PixelCanvas &canvas,
                          const PixelColours &colours = PixelColours());

} // namespace tessaplex::art
