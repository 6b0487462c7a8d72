// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace tessaplex::ui {

// The About dialog's banner, 500 x 80 pixels: a floor of isometric tiles, some of them raised
// into static blocks, under the name "Tessaplex". Drawn by the program, so no picture file is
// needed.
[[nodiscard]] QImage aboutBanner();

} // namespace tessaplex::ui
