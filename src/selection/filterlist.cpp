// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterlist.h"

#include "base/error.h"
#include "io/safewrite.h"
#include "io/systempath.h"
#include "io/wholefile.h"
#include "world/linelist.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tessaplex::selection {

namespace {

// Every item ID there is, one a line, takes less than half a megabyte.
constexpr std::uint64_t MaxFileSize = std::uint64_t{4} << 20;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessIgnoringCase(const std::string &a, const std::string &b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) <
               static_cast<unsigned char>(lowerAscii(y));
    });
}

} // namespace

FilterEntries parseFilterList(std::string_view bytes) {
    // The same line rules as every other text file the program reads.
    world::LineList lines;
    lines.setBytes(bytes);
    FilterEntries entries;
    entries.reserve(lines.size());
    (void)lines.forEachLine(0, lines.size(), [&](std::size_t, std::string_view line) {
        entries.emplace_back(line);
        return true;
    });
    return entries;
}

std::string formatFilterList(const FilterEntries &entries) {
    std::string bytes;
    for (const std::string &entry : entries) {
        bytes += entry;
        bytes += "\r\n";
    }
    return bytes;
}

bool filterListFileExists(const std::string &path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(io::systemPath(path), ec);
}

FilterEntries readFilterListFile(const std::string &path) {
    std::optional<std::string> bytes = io::WholeFile::readAll(path, MaxFileSize);
    if (!bytes)
        throw Error("Cannot open file " + path);
    return parseFilterList(*bytes);
}

bool reloadFilterList(const std::string &path, FilterEntries &entries) {
    std::optional<std::string> bytes = io::WholeFile::readAll(path, MaxFileSize);
    if (!bytes)
        return false;
    entries = parseFilterList(*bytes);
    return true;
}

void writeFilterListFile(const std::string &path, const FilterEntries &entries) {
    if (!io::writeFileSafely(path, formatFilterList(entries)))
        throw Error("Cannot create file " + path);
}

bool appendFilterEntry(FilterEntries &entries, std::string entry) {
    if (std::find(entries.begin(), entries.end(), entry) != entries.end())
        return false;
    entries.push_back(std::move(entry));
    return true;
}

bool removeFilterEntry(FilterEntries &entries, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size())
        return false;
    entries.erase(entries.begin() + index);
    return true;
}

void sortFilterEntries(FilterEntries &entries) {
    std::stable_sort(entries.begin(), entries.end(), lessIgnoringCase);
}

} // namespace tessaplex::selection
