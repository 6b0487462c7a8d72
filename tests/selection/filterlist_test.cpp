// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filterlist.h"

#include "support/testsupport.h"
#include "world/error.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex;
using namespace tessaplex::selection;
using tessaplex::test::TempDir;

TEST(FilterListFile, CutsLinesByTheTextFileRules) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        FilterEntries entries;
    } cases[] = {
        {"", {}},
        {"0eed\r\n", {"0eed"}},
        {"0eed", {"0eed"}},
        {"0eed\r\n4eed\r\n", {"0eed", "4eed"}},
        {"0eed\n4eed\r0020\r\n", {"0eed", "4eed", "0020"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"0eed\r\n\r\n4eed", {"0eed", "", "4eed"}},
        {"\n\r", {"", ""}},                          // LF, then a CR alone
        {"a\r\r\nb", {"a", "", "b"}},                // CR alone, then CR LF
        {" 0eed \r\n", {" 0eed "}},                  // blanks are kept
        {"0eed\r\n4e\0ed\r\n0020"s, {"0eed", "4e"}}, // NUL ends the text
        {"\0abc"s, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseFilterList(c.bytes), c.entries) << testing::PrintToString(c.bytes);
}

TEST(FilterListFile, EndsEveryEntryWithCrLf) {
    EXPECT_EQ(formatFilterList({}), "");
    EXPECT_EQ(formatFilterList({""}), "\r\n");
    EXPECT_EQ(formatFilterList({"0eed", "", "EED"}), "0eed\r\n\r\nEED\r\n");
}

TEST(FilterListFile, RoundTripsThroughTheFile) {
    TempDir dir;
    const std::string path = dir.file("qelmitem.txt");
    const FilterEntries lists[] = {{}, {""}, {"0eed", "", " x ", "0EED", "eed"}, {"", ""}};
    for (const FilterEntries &entries : lists) {
        writeFilterListFile(path, entries);
        EXPECT_EQ(test::readFile(path), formatFilterList(entries));
        EXPECT_EQ(readFilterListFile(path), entries);
    }
}

TEST(FilterListFile, ReloadReplacesOnlyWhenTheFileExists) {
    TempDir dir;
    const std::string path = dir.file("qelmitem.txt");
    FilterEntries entries{"0001", "0002"};
    EXPECT_FALSE(reloadFilterList(path, entries));
    EXPECT_EQ(entries, (FilterEntries{"0001", "0002"}));

    test::writeFile(path, "");
    EXPECT_TRUE(reloadFilterList(path, entries));
    EXPECT_TRUE(entries.empty());

    test::writeFile(path, "0eed\n");
    EXPECT_TRUE(reloadFilterList(path, entries));
    EXPECT_EQ(entries, FilterEntries{"0eed"});
}

TEST(FilterListFile, ReportsFilesItCannotReadOrWrite) {
    TempDir dir;
    const std::string folderInTheWay = dir.file("qelmitem.txt");
    std::filesystem::create_directory(folderInTheWay);
    const std::string inMissingFolder = dir.file("missing/qelmitem.txt");

    FilterEntries entries{"0eed"};
    try {
        reloadFilterList(folderInTheWay, entries);
        ADD_FAILURE() << "a folder was read as a filter list";
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), ("Cannot open file " + folderInTheWay).c_str());
    }
    EXPECT_EQ(entries, FilterEntries{"0eed"});

    for (const std::string &path : {folderInTheWay, inMissingFolder}) {
        try {
            writeFilterListFile(path, entries);
            ADD_FAILURE() << "wrote " << path;
        } catch (const Error &e) {
            EXPECT_STREQ(e.what(), ("Cannot create file " + path).c_str());
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(folderInTheWay));
    // Nothing is left behind beside the target.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST(FilterEntries, AppendSkipsExactDuplicatesOnly) {
    FilterEntries entries;
    const struct {
        const char *entry;
        bool appended;
    } steps[] = {
        {"0eed", true}, {"0eed", false}, {"0EED", true}, {"", true}, {"", false}, {"eed", true},
    };
    for (const auto &step : steps)
        EXPECT_EQ(appendFilterEntry(entries, step.entry), step.appended) << step.entry;
    EXPECT_EQ(entries, (FilterEntries{"0eed", "0EED", "", "eed"}));
}

TEST(FilterEntries, RemoveTakesOnlyAnExistingIndex) {
    FilterEntries entries{"a", "b", "c"};
    EXPECT_FALSE(removeFilterEntry(entries, -1));
    EXPECT_FALSE(removeFilterEntry(entries, 3));
    EXPECT_TRUE(removeFilterEntry(entries, 1));
    EXPECT_EQ(entries, (FilterEntries{"a", "c"}));
}

TEST(FilterEntries, SortIgnoresCaseOnceAndKeepsTiesInOrder) {
    FilterEntries entries{"4eed", "0EED", "0020", "", "0eed", "A000", "0aaa", "0Abb"};
    sortFilterEntries(entries);
    EXPECT_EQ(entries, (FilterEntries{"", "0020", "0aaa", "0Abb", "0EED", "0eed", "4eed", "A000"}));
    // Later additions go to the end again.
    appendFilterEntry(entries, "0001");
    EXPECT_EQ(entries.back(), "0001");
}
