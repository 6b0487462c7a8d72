// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterlist.h"

#include "base/error.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex;
using namespace tessaplex::selection;
using tessaplex::test::TempDir;

TEST(FilterListFile, ReadsLinesAndWritesThemWithCrLf) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        FilterEntries entries;
    } cases[] = {
        {"", {}},
        {"0eed", {"0eed"}},
        {"0eed\n4eed\r0020\r\n", {"0eed", "4eed", "0020"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {" 0EED \r\n", {" 0EED "}},
        {"0eed\r\n4e\0ed\r\n0020"s, {"0eed", "4e"}}, // NUL ends the text
    };
    TempDir dir;
    const std::string path = dir.file("qelmitem.txt");
    for (const auto &c : cases) {
        test::writeFile(path, c.bytes);
        EXPECT_EQ(readFilterListFile(path), c.entries) << testing::PrintToString(c.bytes);
        writeFilterListFile(path, c.entries);
        std::string expected;
        for (const std::string &entry : c.entries)
            expected += entry + "\r\n";
        EXPECT_EQ(test::readFile(path), expected);
        EXPECT_EQ(readFilterListFile(path), c.entries);
    }
}

TEST(FilterListFile, ReportsFilesItCannotReadOrWrite) {
    TempDir dir;
    const std::string folder = dir.file("qelmitem.txt");
    std::filesystem::create_directory(folder);
    FilterEntries entries{"0eed"};
    const struct {
        std::string path;
        bool reading;
        std::string message;
    } cases[] = {
        {folder, true, "Cannot open file " + folder},
        {folder, false, "Cannot create file " + folder},
        {dir.file("gone/qelmitem.txt"), false,
         "Cannot create file " + dir.file("gone/qelmitem.txt")},
    };
    for (const auto &c : cases) {
        try {
            if (c.reading)
                reloadFilterList(c.path, entries);
            else
                writeFilterListFile(c.path, entries);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const Error &e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(entries, FilterEntries{"0eed"});
    // Nothing was left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FilterEntries, AppendSkipsExactDuplicatesAndSortIgnoresCase) {
    FilterEntries entries;
    for (const char *entry : {"4eed", "0EED", "0020", "4eed", "", "0eed", "A000", "0aaa", "0Abb"})
        appendFilterEntry(entries, entry);
    sortFilterEntries(entries);
    // "0EED" and "0eed" are both kept, in their order.
    EXPECT_EQ(entries, (FilterEntries{"", "0020", "0aaa", "0Abb", "0EED", "0eed", "4eed", "A000"}));
}
