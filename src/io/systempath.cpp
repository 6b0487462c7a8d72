// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/systempath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaplex::io {

#ifdef _WIN32

std::wstring wideText(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    UINT codePage = CP_UTF8;
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string utf8Text(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::filesystem::path systemPath(const std::string &path) {
    return std::filesystem::path(wideText(path));
}

std::string pathText(const std::filesystem::path &path) {
    return utf8Text(path.native());
}

std::string comparablePath(const std::string &path) {
    std::wstring wide = systemPath(path).lexically_normal().native();
    if (!wide.empty())
        CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return utf8Text(wide);
}

#else

std::filesystem::path systemPath(const std::string &path) {
    return std::filesystem::path(path);
}

std::string pathText(const std::filesystem::path &path) {
    return path.string();
}

std::string comparablePath(const std::string &path) {
    return std::filesystem::path(path).lexically_normal().string();
}

#endif

} // namespace tessaplex::io
