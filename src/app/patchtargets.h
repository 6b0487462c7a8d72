// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings.h"
#include "io/filesystem.h"

#include <string>
#include <vector>

namespace tessaplex::app {

// The files that a PATCH replaces, as the settings name them, links followed: the static index
// file, the static data file and the world file, leaving out those the settings leave empty.
[[nodiscard]] std::vector<std::string> patchTargets(const Settings &settings,
                                                    io::FileSystem &files);

} // namespace tessaplex::app
