// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowcontrols.h"
#include "windowsfixture.h"

#include <QPoint>
#include <QRgb>

class QTableView;

namespace tessaplex::uitest {

// The main window shown, with five items analysed and the art files in place:
//   row 1: ID 00eed in block 95869          row 4: ID 01f14 in block 95869, no art
//   row 2: ID 00eed in block 95869,         row 5: ID 00eed at (8, 8)
//          coloured 1152
//   row 3: ID 00a28 at (8, 8) in block 513
// The art of ID 0eed is a run record of one red pixel at the top left, that of ID 0a28 a raw
// diamond all blue.
void openAnalysed(WindowsFixture &f);

inline constexpr QRgb Red = 0xFFFF0000;
inline constexpr QRgb Blue = 0xFF0000FF;
inline constexpr QRgb White = 0xFFFFFFFF;

[[nodiscard]] QPoint centreOfRow(QTableView &grid, int tableRow);
void clickRow(WindowsFixture &f, int tableRow);
// The table row the grid has selected; 0 when none.
[[nodiscard]] int gridRow(WindowsFixture &f);
// The main window's preview picture at (x, y); 0 without a picture.
[[nodiscard]] QRgb previewAt(const MainControls &c, int x, int y);

} // namespace tessaplex::uitest
