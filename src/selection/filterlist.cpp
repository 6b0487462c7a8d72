// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterlist.h"

#include "world/error.h"
#include "world/linelist.h"
#include "world/safewrite.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tessaplex::selection {

namespace {

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
    for (std::size_t i = 0; i < lines.size(); ++i)
        entries.emplace_back(lines.line(i));
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
    return !path.empty() && std::filesystem::exists(path, ec);
}

FilterEntries readFilterListFile(const std::string &path) {
    const auto fail = [&path]() { return Error("Cannot open file " + path); };
    std::error_code ec;
    // Reading a folder "succeeds" on some systems and yields garbage sizes; refuse it outright.
    if (std::filesystem::is_directory(path, ec))
        throw fail();
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw fail();
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw fail();
    return parseFilterList(bytes);
}

bool reloadFilterList(const std::string &path, FilterEntries &entries) {
    if (!filterListFileExists(path))
        return false;
    entries = readFilterListFile(path);
    return true;
}

void writeFilterListFile(const std::string &path, const FilterEntries &entries) {
    if (!writeFileSafely(path, formatFilterList(entries)))
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
