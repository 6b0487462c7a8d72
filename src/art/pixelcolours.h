// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/screencolour.h"
#include "formats/huefile.h"

#include <cstdint>

namespace tessaplex::art {

// How the pixels of an art record become screen colours: as they are, or first through a hue.
// A hue replaces pixel p by its colour number (p >> 10) & 0x1F, the pixel's red; a partial hue
// does so only for grey pixels (red = green = blue) and leaves the others as they are.
class PixelColours {
public:
    // The pixels as they are.
    PixelColours() = default;
    // The pixels through hue, which must outlive this object.
    PixelColours(const formats::Hue &hue, bool partial)
        : m_hue(&hue)
        , m_partial(partial) {}

    [[nodiscard]] bool hued() const { return m_hue != nullptr; }

    [[nodiscard]] std::uint16_t huedPixel(std::uint16_t pixel) const {
        const unsigned r = (pixel >> 10) & 0x1F;
        if (m_partial && (r != ((pixel >> 5) & 0x1Fu) || r != (pixel & 0x1Fu)))
            return pixel;
        return m_hue->colours[r];
    }

    [[nodiscard]] ScreenColour operator()(std::uint16_t pixel) const {
        return screenColourFromPixel(m_hue ? huedPixel(pixel) : pixel);
    }

private:
    const formats::Hue *m_hue = nullptr;
    bool m_partial = false;
};

} // namespace tessaplex::art
