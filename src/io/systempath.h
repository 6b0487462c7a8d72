// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaplex::io {

// Paths are UTF-8 text inside the program, whatever the system's own code page; these turn them
// into the system's form and back, so that a folder of any name can be opened. A path that is
// no UTF-8 (a settings file written by an older Windows program) is read in the system's code
// page, as that program wrote it.
[[nodiscard]] std::filesystem::path systemPath(const std::string &path);
[[nodiscard]] std::string pathText(const std::filesystem::path &path);

// path lexically normalised, in a form in which two spellings of one name compare equal: on
// Windows, whose file names ignore letter case, upper-cased.
[[nodiscard]] std::string comparablePath(const std::string &path);

#ifdef _WIN32
[[nodiscard]] std::wstring wideText(std::string_view text);
[[nodiscard]] std::string utf8Text(std::wstring_view wide);
#endif

} // namespace tessaplex::io
