// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessaplex::app {

// The platform's path separator, which completes a folder.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// True for both "\" and "/": paths typed or stored on either platform are accepted.
[[nodiscard]] inline bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The path as this platform opens it: on systems whose separator is "/", a "\" becomes "/", so
// that paths written on Windows (such as "items\sphere_items.scp") are found.
[[nodiscard]] std::string nativePath(std::string path);

// folder with a separator appended unless it already ends with one.
[[nodiscard]] std::string withTrailingSeparator(std::string folder);

// The working directory at this moment, with a trailing separator. The program's own files
// (the settings file, the script file list and the filter list) lie in it.
[[nodiscard]] std::string currentStartDirectory();

inline constexpr const char *SettingsFileName = "qelm.ini";
inline constexpr const char *ScriptListFileName = "qelmfile.txt";
inline constexpr const char *FilterListFileName = "qelmitem.txt";

} // namespace tessaplex::app
