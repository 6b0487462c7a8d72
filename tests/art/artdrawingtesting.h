// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/artpreview.h"
#include "app/settings.h"
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "support/artfixture.h"
#include "support/testsupport.h"

#include <cstdint>
#include <string>

// What the art drawing tests share: colours, the art files on disk, and counts of pixels.
namespace tessaplex::test {

using art::DrawOutcome;
using art::RgbCanvas;
using art::ScreenColour;
using art::White;

inline constexpr ScreenColour Red = 0x0000FF;
inline constexpr ScreenColour Blue = 0xFF0000;
inline constexpr std::uint16_t BluePixel = 0x001F;
inline constexpr std::uint16_t RedPixel = 0x7C00;
inline constexpr std::uint16_t GreenPixel = 0x03E0;

// Writes the art files and a settings file naming them, then draws through previewArt.
class ArtFiles {
public:
    explicit ArtFiles(const ArtFilesBuilder &builder)
        : ArtFiles(builder.dataBytes(), builder.indexBytes()) {}
    ArtFiles(const std::string &data, const std::string &index)
        : m_settings(m_dir.file("qelm.ini")) {
        writeFile(m_dir.file("art.mul"), data);
        writeFile(m_dir.file("artidx.mul"), index);
        setPaths(m_dir.file("art.mul"), m_dir.file("artidx.mul"));
    }

    // Names the art data and index files in the settings file.
    void setPaths(const std::string &art, const std::string &index) {
        writeFile(m_settings.path(), "[Custom]\nArtIdx=" + index + "\nArt=" + art + "\n");
    }

    DrawOutcome draw(std::uint32_t entry, art::PixelCanvas &canvas) const {
        return app::previewArt(m_settings, entry, canvas);
    }
    [[nodiscard]] const TempDir &dir() const { return m_dir; }

private:
    TempDir m_dir;
    app::Settings m_settings;
};

// The number of canvas pixels that are not colour.
inline int countOtherThan(const RgbCanvas &canvas, ScreenColour colour) {
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.pixel(x, y) != colour;
    }
    return n;
}

inline bool isUniform(const RgbCanvas &canvas, ScreenColour colour) {
    return countOtherThan(canvas, colour) == 0;
}

inline constexpr std::uint32_t Entry = 0x4000 + 0x0EED;

// Pixel i of the test diamond is the value i + 1: every pixel differs and none is black.
inline std::uint16_t indexedPixel(int i) {
    return static_cast<std::uint16_t>(i + 1);
}

} // namespace tessaplex::test
