// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessaplex::ui {

// The folder a file choice starts in, from the path its edit shows: the text up to and including
// its last separator ("\" or "/") or ":", without that final separator unless it is the first
// character or follows ":" or another separator. "C:\mul\art.mul" gives "C:\mul",
// "C:\art.mul" gives "C:\", "/srv/uo/art.mul" gives "/srv/uo", and a text with no separator and
// no ":" gives the empty text.
[[nodiscard]] QString initialFolder(const QString &path);

} // namespace tessaplex::ui
