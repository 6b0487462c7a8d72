// SPDX-License-Identifier: GPL-3.0-or-later
// What PATCH replaces when a file is reached through a link, has several names, or belongs to
// another user.
#include "base/error.h"
#include "patch/patchshard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tessaplex;
using namespace tessaplex::test;
namespace fs = std::filesystem;

namespace {

const std::string oldWorld = worldItem("0eed", "0,8,5") + "[EOF]\r\n";
const std::string newWorld = "[EOF]\r\n";

// A shard whose world file and static data file lie in real/, named by the settings through
// whatever arrange makes of the names save/world.scp and map/statics0.mul.
struct LinkedShard : PatchShard {
    std::string realWorld = dir.file("real/world.scp");
    std::string realStatics = dir.file("real/statics0.mul");

    explicit LinkedShard(const std::function<void(LinkedShard &)> &arrange) {
        fs::create_directories(dir.file("real"));
        writeFile(realWorld, oldWorld);
        writeFile(realStatics, "");
        writeFile(staidx, indexBytes(512));
        arrange(*this);
        EXPECT_EQ(analyse(), 1);
        mark({1});
    }
};

std::string patchError(PatchShard &shard) {
    try {
        (void)shard.patch();
    } catch (const Error &e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(PatchTargets, ALinkIsFollowedAndStays) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    const struct {
        const char *name;
        std::function<void(LinkedShard &)> arrange;
    } cases[] = {
        {"absolute links",
         [](LinkedShard &s) {
             fs::create_symlink(s.realWorld, s.world);
             fs::create_symlink(s.realStatics, s.statics);
         }},
        {"relative links, one through another",
         [](LinkedShard &s) {
             fs::create_symlink("../real/world.scp", s.dir.file("save/hop.scp"));
             fs::create_symlink("hop.scp", s.world);
             fs::create_symlink("../real/statics0.mul", s.statics);
         }},
    };
    for (const auto &c : cases) {
        LinkedShard shard(c.arrange);
        EXPECT_EQ(patchError(shard), "") << c.name;
        EXPECT_TRUE(fs::is_symlink(shard.world)) << c.name;
        EXPECT_TRUE(fs::is_symlink(shard.statics)) << c.name;
        EXPECT_EQ(readFile(shard.realWorld), newWorld) << c.name;
        EXPECT_EQ(readFile(shard.realStatics), staticBytes(0x0eed, 0, 0, 5, 0)) << c.name;
        // The backups and new files stood beside the files, and are gone.
        EXPECT_EQ(
            std::distance(fs::directory_iterator(shard.dir.file("real")), fs::directory_iterator()),
            2)
            << c.name;
    }
}

TEST(PatchTargets, RefusesAFileWithSeveralNamesOrALinkThatLeadsNowhere) {
    const struct {
        const char *name;
        std::function<void(LinkedShard &)> arrange;
        std::function<void(LinkedShard &)> beforePatch;
        std::string inMessage;
    } cases[] = {
        {"a world file with a second name",
         [](LinkedShard &s) {
             fs::create_hard_link(s.realWorld, s.world);
             fs::copy_file(s.realStatics, s.statics);
         },
         [](LinkedShard &) {}, "world.scp has 2 names (hard links)"},
        {"a static data file with a second name",
         [](LinkedShard &s) {
             fs::copy_file(s.realWorld, s.world);
             fs::create_hard_link(s.realStatics, s.statics);
         },
         [](LinkedShard &) {}, "statics0.mul has 2 names (hard links)"},
#ifndef _WIN32 // symbolic links need a privilege there
        {"a link to a static data file that is gone",
         [](LinkedShard &s) {
             fs::copy_file(s.realWorld, s.world);
             fs::create_symlink(s.realStatics, s.statics);
         },
         [](LinkedShard &s) { fs::remove(s.realStatics); }, "Cannot open file "},
#endif
    };
    for (const auto &c : cases) {
        LinkedShard shard(c.arrange);
        c.beforePatch(shard);
        const auto before = shard.snapshot();
        const std::string message = patchError(shard);
        EXPECT_NE(message.find(c.inMessage), std::string::npos) << c.name << ": " << message;
        EXPECT_EQ(differences(before, shard.snapshot()), "") << c.name;
    }
}

// A server that runs as a user of its own must still read the files that replace its own.
TEST(PatchTargets, TheNewFilesKeepOwnerGroupAndMode) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows files take the access rights of their folder, not owner and mode";
#else
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give files to another user";
    LinkedShard shard([](LinkedShard &s) {
        fs::copy_file(s.realWorld, s.world);
        fs::copy_file(s.realStatics, s.statics);
    });
    for (const std::string &path : {shard.world, shard.statics, shard.staidx}) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    }
    ASSERT_EQ(patchError(shard), "");
    for (const std::string &path : {shard.world, shard.statics, shard.staidx}) {
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u) << path;
        EXPECT_EQ(st.st_gid, 4322u) << path;
        EXPECT_EQ(st.st_mode & 07777, 0640u) << path;
    }
    EXPECT_EQ(readFile(shard.world), newWorld);
#endif
}
