// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaplex::formats {

// The art files hold the land tiles first and the items after them: the picture of item ID n
// is art entry ItemArtBase + n.
inline constexpr std::uint32_t ItemArtBase = 0x4000;

} // namespace tessaplex::formats
