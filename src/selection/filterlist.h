// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The filter list: the item IDs the filter marks, one entry a line in the filter list file
// ("qelmitem.txt" in the start directory). The Filter dialog keeps one list for the whole run and
// the main window another for "Add to Filter"; both are plain vectors of entries, in list order.
//
// An entry the program makes is four or more lower-case hex digits (filterentry.h). A hand-edited
// file may hold anything; such lines stay in the list and are compared as they are.
namespace tessaplex::selection {

using FilterEntries = std::vector<std::string>;

// The entries of a filter list file's bytes: lines cut at CR LF, at CR alone and at LF alone;
// every line is an entry, an empty one too; a line end at the very end adds no entry; a NUL byte
// ends the text.
[[nodiscard]] FilterEntries parseFilterList(std::string_view bytes);

// The bytes of a filter list file: every entry followed by CR LF; no entry gives no byte.
[[nodiscard]] std::string formatFilterList(const FilterEntries &entries);

// True when anything, even a folder, stands at path: such a file is to be read, and a folder
// there is reported rather than silently taken for a missing list.
[[nodiscard]] bool filterListFileExists(const std::string &path);

// The entries of the file at path. Throws Error("Cannot open file <path>") when it cannot be read.
[[nodiscard]] FilterEntries readFilterListFile(const std::string &path);

// Replaces entries with the file's when the file exists, and returns whether it did; otherwise
// the entries stay as they are. Throws as readFilterListFile, leaving entries untouched.
bool reloadFilterList(const std::string &path, FilterEntries &entries);

// Writes the whole list to path safely (a temporary file renamed into place). Throws
// Error("Cannot create file <path>") when it cannot, with any old file left as it was.
void writeFilterListFile(const std::string &path, const FilterEntries &entries);

// Appends entry unless an entry with exactly the same text is already there; returns whether it
// was appended.
bool appendFilterEntry(FilterEntries &entries, std::string entry);

// Removes the entry at index, if there is one; returns whether it did.
bool removeFilterEntry(FilterEntries &entries, int index);

// "&Sort": ascending text order, ignoring the case of ASCII letters; entries equal but for case
// keep their order. The list is sorted once, not kept sorted.
void sortFilterEntries(FilterEntries &entries);

} // namespace tessaplex::selection
