// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/artpreview.h"

#include "app/clientfiles.h"
#include "world/numberrules.h"

#include <optional>

namespace tessaplex::app {

art::DrawOutcome previewArt(const Settings &settings, std::uint32_t entry,
                            art::PixelCanvas &canvas) {
    ClientFiles files;
    return files.drawArt(settings, entry, std::nullopt, canvas);
}

art::ScreenColour swatchColour(std::string_view colorCell) {
    return static_cast<art::ScreenColour>(world::decimalTextToInt(colorCell)) & 0xFFFFFF;
}

} // namespace tessaplex::app
