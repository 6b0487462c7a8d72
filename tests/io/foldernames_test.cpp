// SPDX-License-Identifier: GPL-3.0-or-later
// Paths are UTF-8 text inside the program on every system, so that every operation of the file
// layer works in a folder of any name, also one that no single code page can spell.
#include "io/realfilesystem.h"
#include "io/safewrite.h"
#include "io/systempath.h"
#include "io/wholefile.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex;

TEST(FolderNames, EveryFileOperationWorksInAFolderOfAnyName) {
    test::TempDir dir;
    io::RealFileSystem files;
    for (const char *name :
         {"Sch\xC3\xA4tze und Karten", "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0",
          "\xE5\x9C\xB0\xE5\x9B\xB3 \xE2\x98\x83"}) {
        SCOPED_TRACE(name);
        const std::string folder = dir.file(name);
        ASSERT_TRUE(std::filesystem::create_directory(io::systemPath(folder)));
        const std::string path = folder + "/statics0.mul";
        const std::string moved = folder + "/statics0.xxx";

        auto file = files.createNew(path, {});
        ASSERT_TRUE(file);
        EXPECT_TRUE(file->write("new", 3) && file->sync() && file->close());
        EXPECT_TRUE(files.exists(path));
        ASSERT_TRUE(files.status(path));
        EXPECT_EQ(files.status(path)->size, 3u);
        EXPECT_EQ(io::WholeFile::readAll(path, 100), "new");
        EXPECT_EQ(files.followLinks(path), path);

        EXPECT_TRUE(io::writeFileSafely(path, "replaced"));
        EXPECT_EQ(io::WholeFile::readAll(path, 100), "replaced");
        EXPECT_TRUE(files.rename(path, moved, io::FileSystem::Rename::NoReplace));
        EXPECT_FALSE(files.exists(path));
        EXPECT_EQ(test::readFile(moved), "replaced");

        const auto lock = files.lockFolderOf(moved);
        EXPECT_TRUE(lock);
        EXPECT_FALSE(files.lockFolderOf(moved)) << "a second lock of the same folder";
        EXPECT_FALSE(files.inUseByAnotherProgram(moved));
        EXPECT_TRUE(files.remove(moved));
        EXPECT_FALSE(files.exists(moved));
    }
}
