// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"
#include "base/error.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace tessaplex;
using namespace tessaplex::app;
namespace fs = std::filesystem;

namespace {

TEST(SettingsRead, FindsTheFirstMatchingEntry) {
    const std::string longValue(3000, 'v');
    const struct {
        const char *name;
        std::string file;
        const char *key;
        std::string expected;
    } cases[] = {
        {"plain", "[Custom]\r\nWorldfile=C:\\w.scp\r\n", "Worldfile", "C:\\w.scp"},
        {"section and key in other case", "[custom]\nworldfile=C:\\w.scp\n", "WorldFile",
         "C:\\w.scp"},
        {"key in upper case", "[CUSTOM]\rWORLDFILE=x\r", "Worldfile", "x"},
        {"first of duplicate keys", "[Custom]\nArt=first\nART=second\n", "Art", "first"},
        {"blanks around key and value", "[Custom]\n  Art \t=  a b \t\n", "Art", "a b"},
        {"blanks inside the section header", "[ Custom ]\nArt=a\n", "Art", "a"},
        {"value after the first equals sign", "[Custom]\nArt=a=b\n", "Art", "a=b"},
        {"empty value", "[Custom]\nArt=\nArt=later\n", "Art", ""},
        {"no line end at the end", "[Custom]\nArt=a", "Art", "a"},
        {"other sections around", "[Other]\nArt=no\n[Custom]\nX=1\nArt=yes\n[Third]\nArt=no\n",
         "Art", "yes"},
        {"key in another section only", "[Other]\nArt=no\n", "Art", "(default)"},
        {"key before every section", "Art=no\n[Custom]\nX=1\n", "Art", "(default)"},
        {"no section at all", "Art=no\n", "Art", "(default)"},
        {"key name that only begins alike", "[Custom]\nArtIdx=no\n", "Art", "(default)"},
        {"comment line", "[Custom]\n;Art=no\n", "Art", "(default)"},
        {"empty file", "", "Art", "(default)"},
        {"value cut to 2047 characters", "[Custom]\nArt=" + longValue + "\n", "Art",
         longValue.substr(0, 2047)},
        {"NUL inside is no line end", std::string("[Custom]\nArt=a\0b\n", 17), "Art",
         std::string("a\0b", 3)},
    };
    test::TempDir dir;
    const std::string path = dir.file("qelm.ini");
    for (const auto &c : cases) {
        test::writeFile(path, c.file);
        const Settings settings(path);
        EXPECT_EQ(settings.readText("Custom", c.key, "(default)"), c.expected) << c.name;
    }
    // Without a file every read gives its default.
    const Settings missing(dir.file("none.ini"));
    EXPECT_EQ(missing.readText("Custom", "Art"), "");
    EXPECT_EQ(missing.readText("Custom", "Art", "d"), "d");
    EXPECT_EQ(missing.readInteger("Custom", "X1", 0), 0);
    EXPECT_FALSE(missing.readBool("Custom", "Unix", false));
    EXPECT_FALSE(test::exists(dir.file("none.ini"))) << "reading creates no file";
}

TEST(SettingsRead, ReadsIntegersAndBooleans) {
    const struct {
        const char *value;
        std::int32_t withDefault5;
        bool boolean; // read with the default false
    } cases[] = {
        {"0", 0, false},
        {"1", 1, true},
        {"2", 2, true},
        {"-1", -1, true},
        {"0x1", 1, true},
        {"0x20", 32, true},
        {"0X20", 32, true},
        {"$20", 32, true},
        {"x20", 32, true},
        {" 7 ", 7, true},
        {"12abc", 5, false},
        {"yes", 5, false},
        {"0x", 5, false},
        {"0x0x1", 5, false},
        {"$", 5, false},
        {"", 5, false},
        {"2147483647", 2147483647, true},
        {"2147483648", 5, false},
        {"0xFFFFFFFF", -1, true},
        {"0x100000000", 5, false},
        {"+3", 3, true},
        {"- 3", 5, false},
    };
    test::TempDir dir;
    const std::string path = dir.file("qelm.ini");
    const Settings settings(path);
    for (const auto &c : cases) {
        test::writeFile(path, std::string("[Custom]\nX1=") + c.value + "\nUnix=" + c.value + "\n");
        EXPECT_EQ(settings.readInteger("Custom", "X1", 5), c.withDefault5) << '"' << c.value << '"';
        EXPECT_EQ(settings.readBool("Custom", "Unix", false), c.boolean) << '"' << c.value << '"';
    }
    // A text that is no integer gives the caller's default, for booleans too.
    test::writeFile(path, "[Custom]\nUnix=yes\n");
    EXPECT_TRUE(settings.readBool("Custom", "Unix", true));
    EXPECT_EQ(settings.readInteger("Custom", "Missing", -9), -9);
}

TEST(SettingsWrite, ChangesOnlyTheEntryItWrites) {
    const struct {
        const char *name;
        std::string before;
        const char *key;
        const char *value;
        std::string after;
    } cases[] = {
        {"no file yet", "(none)", "WorldFile", "C:\\w.scp", "[Custom]\r\nWorldFile=C:\\w.scp\r\n"},
        {"empty file", "", "Art", "a", "[Custom]\r\nArt=a\r\n"},
        {"replaced in place, other lines byte for byte",
         "; my settings\r\n[custom]\r\n  worldfile = old  "
         "\r\nArt=x\n\n[Other]\r\nWorldFile=keep\r\n",
         "WorldFile", "new",
         "; my settings\r\n[custom]\r\nWorldFile=new\r\nArt=x\n\n[Other]\r\nWorldFile=keep\r\n"},
        {"only the first of duplicate keys", "[Custom]\nArt=1\nart=2\n", "Art", "3",
         "[Custom]\nArt=3\nart=2\n"},
        {"replaced on a last line without line end", "[Custom]\nArt=1", "Art", "2",
         "[Custom]\nArt=2"},
        {"added behind the section's last entry", "[Custom]\nArt=1\n\n[Other]\nX=1\n", "Unix", "1",
         "[Custom]\nArt=1\nUnix=1\n\n[Other]\nX=1\n"},
        {"added to a section without entries", "[Custom]\n[Other]\nX=1\n", "Unix", "0",
         "[Custom]\nUnix=0\n[Other]\nX=1\n"},
        {"added to a section on a last line without line end", "[Custom]\r\nArt=1", "Unix", "1",
         "[Custom]\r\nArt=1\r\nUnix=1\r\n"},
        {"section added behind the other lines", "[Other]\nX=1\n", "Art", "a",
         "[Other]\nX=1\n[Custom]\nArt=a\n"},
        {"section added behind a last line without line end", "[Other]\r\nX=1", "Art", "a",
         "[Other]\r\nX=1\r\n[Custom]\r\nArt=a\r\n"},
        {"the key of the other section is not the one", "[Other]\nArt=1\n[Custom]\nX=1\n", "Art",
         "2", "[Other]\nArt=1\n[Custom]\nX=1\nArt=2\n"},
        {"empty value", "[Custom]\nArt=1\n", "Art", "", "[Custom]\nArt=\n"},
    };
    test::TempDir dir;
    const std::string path = dir.file("qelm.ini");
    for (const auto &c : cases) {
        std::error_code ec;
        fs::remove(path, ec);
        if (c.before != "(none)")
            test::writeFile(path, c.before);
        Settings settings(path);
        settings.writeText("Custom", c.key, c.value);
        EXPECT_EQ(test::readFile(path), c.after) << c.name;
        EXPECT_EQ(settings.readText("Custom", c.key, "(default)"), c.value) << c.name;
    }
    // Nothing of the writing is left beside the file.
    std::size_t files = 0;
    for (const auto &entry : fs::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(SettingsWrite, BooleansAndValuesReadBackAtOnce) {
    test::TempDir dir;
    const std::string path = dir.file("qelm.ini");
    Settings settings(path);
    settings.writeBool("Custom", "Unix", true);
    settings.writeBool("Custom", "FilterArea", false);
    settings.writeText("Custom", "X1", "0x20");
    EXPECT_EQ(test::readFile(path), "[Custom]\r\nUnix=1\r\nFilterArea=0\r\nX1=0x20\r\n");
    EXPECT_TRUE(settings.readBool("Custom", "Unix", false));
    EXPECT_FALSE(settings.readBool("Custom", "FilterArea", true));
    EXPECT_EQ(settings.readInteger("Custom", "X1", 0), 32);

    // A change made by hand is what the next read returns: nothing is cached.
    test::writeFile(path, "[Custom]\r\nUnix=0\r\n");
    EXPECT_FALSE(settings.readBool("Custom", "Unix", true));
    settings.writeBool("Custom", "Unix", true);
    EXPECT_EQ(test::readFile(path), "[Custom]\r\nUnix=1\r\n");
}

// A refused write ends with "Unable to write to <path>" and leaves the old file as it was.
TEST(SettingsWrite, RefusedWritesKeepTheOldContents) {
    test::TempDir dir;
    const std::string readOnly = dir.file("readonly.ini");
    test::writeFile(readOnly, "[Custom]\nArt=old\n");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    const std::string folder = dir.file("folder.ini");
    fs::create_directory(folder);

    for (const std::string &path :
         {dir.file("missing/qelm.ini"), readOnly, folder, dir.file("missing/deeper/qelm.ini")}) {
        Settings settings(path);
        const bool existed = test::exists(path);
        const std::string before = existed && !fs::is_directory(path) ? test::readFile(path) : "";
        try {
            settings.writeText("Custom", "Art", "new");
            ADD_FAILURE() << "no error writing " << path;
        } catch (const Error &e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
        }
        EXPECT_EQ(test::exists(path), existed) << path;
        if (existed && !fs::is_directory(path)) {
            EXPECT_EQ(test::readFile(path), before) << path;
        }
        EXPECT_THROW(settings.writeBool("Custom", "Unix", true), Error) << path;
        // A missing file reads as defaults; a folder in its place is an error, not defaults.
        if (path == folder)
            EXPECT_THROW((void)settings.readText("Custom", "Art", "d"), Error);
        else
            EXPECT_EQ(settings.readText("Custom", "Art", "d"), path == readOnly ? "old" : "d")
                << path;
    }
    std::size_t entries = 0;
    for (const auto &entry : fs::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2u) << "no temporary file is left behind";
}

// A settings file kept elsewhere and linked into the start directory stays linked, and the
// file keeps its access rights.
TEST(SettingsWrite, WritesThroughALinkAndKeepsAccessRights) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    test::TempDir dir;
    const std::string real = dir.file("shared.ini");
    const std::string link = dir.file("qelm.ini");
    test::writeFile(real, "[Custom]\nArt=old\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);

    Settings settings(link);
    settings.writeText("Custom", "Art", "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFile(real), "[Custom]\nArt=new\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
