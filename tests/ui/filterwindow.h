// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowcontrols.h"
#include "windowsfixture.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <string>

namespace tessaplex::ui {
class FilterDialog;
}

namespace tessaplex::world {
class ItemTable;
}

namespace tessaplex::uitest {

// Clicks "Filter" in the main window and returns the dialog it shows.
ui::FilterDialog &showFilter(WindowsFixture &f);

// The dialog's entries, when the list control shows what the dialog holds.
[[nodiscard]] QStringList entries(const ui::FilterDialog &dialog);
// The row selected in the entry list; -1 when none.
[[nodiscard]] int selectedRow(const ui::FilterDialog &dialog);

// The filter list file of the fixture's start directory.
[[nodiscard]] std::string listFile(const WindowsFixture &f);
// The error text of a file that cannot be opened or created ("open", "create").
[[nodiscard]] QString cannot(const char *what, const std::string &path);

// Art for item 0x0eed (red, 6 x 4) and item 0x0a28 (blue, 3 x 3); "Art" and "ArtIdx" name them.
void writeArt(WindowsFixture &f);

// Analyses the whole of a world file whose rows differ in "ID", "ATTR" and position:
//   row 1: 0eed ATTR 010   (1000, 500)     row 4: 0eed no ATTR     (1000, 500)
//   row 2: 0eed ATTR 08010 (1001, 500)     row 5: 0a28 ATTR 010   (1000, 500)
//   row 3: 0eed ATTR 0     (1000, 500)     row 6: 0eed ATTR 10    (1000, 500)
//                                          row 7: 0eed ATTR 010   (1000, 501)
void analyseFilterWorld(WindowsFixture &f);

// The table rows marked "YES".
[[nodiscard]] QList<int> markedRows(const world::ItemTable &table);

} // namespace tessaplex::uitest
