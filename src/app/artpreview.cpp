// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/artpreview.h"

#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "io/inputfile.h"
#include "world/numberrules.h"

#include <optional>
#include <string>

namespace tessaplex::app {

namespace {

io::InputFile openArtFile(const std::string &path) {
    std::optional<io::InputFile> file = io::InputFile::open(nativePath(path));
    if (!file)
        throw Error("Cannot open file " + path);
    return std::move(*file);
}

} // namespace

art::DrawOutcome previewArt(const Settings &settings, std::uint32_t entry,
                            art::PixelCanvas &canvas) {
    io::InputFile artData = openArtFile(settings.readText(SettingsSection, keys::Art));
    io::InputFile artIndex = openArtFile(settings.readText(SettingsSection, keys::ArtIdx));
    return art::drawArtEntry(artData, artIndex, entry, canvas);
}

art::ScreenColour swatchColour(std::string_view colorCell) {
    return static_cast<art::ScreenColour>(world::decimalTextToInt(colorCell)) & 0xFFFFFF;
}

} // namespace tessaplex::app
