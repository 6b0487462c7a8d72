// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings.h"
#include "art/artdrawing.h"
#include "art/pixelcanvas.h"

#include <cstdint>
#include <string_view>

namespace tessaplex::app {

// The preview of art entry `entry` without a hue, through a ClientFiles of its own (so nothing is
// kept between calls): opens the art data file named by "Art", then, unless that is a UOP file,
// the art index file named by "ArtIdx" (section "Custom"; both read from the settings file now,
// so a changed path counts at once), draws the entry onto canvas and closes the files again.
//
// Throws Error("Cannot open file <path>"), with the path as the settings file holds it, when a
// path is empty or cannot be opened; the canvas is then untouched. Otherwise returns how the
// drawing went: art::changedCanvas(outcome) tells whether the canvas now shows the entry or still
// shows what it showed before (an entry without art).
art::DrawOutcome previewArt(const Settings &settings, std::uint32_t entry,
                            art::PixelCanvas &canvas);

// The colour swatch of an item: its "COLOR" cell read by the decimal rule (text that is no
// number gives 0) and taken directly as a screen colour, so 1153 gives red 129, green 4, blue 0.
// Bits above the lowest 24 are dropped.
[[nodiscard]] art::ScreenColour swatchColour(std::string_view colorCell);

} // namespace tessaplex::app
