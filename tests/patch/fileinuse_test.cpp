// SPDX-License-Identifier: GPL-3.0-or-later
// A file that another program holds open without sharing writing, as a running server on Windows
// holds its map files, is refused before anything is written.
#include "base/error.h"
#include "patch/patchshard.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "io/systempath.h"

#include <windows.h>
#endif

using namespace tessaplex;
using namespace tessaplex::test;

TEST(PatchFileInUse, IsRefusedWithItsNameAndNothingChanges) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows lets a program keep others from writing a file it holds";
#else
    for (const auto target : {&PatchShard::world, &PatchShard::statics, &PatchShard::staidx}) {
        PatchShard shard;
        shard.writeFiles(worldItem("0eed", "0,8,5") + "[EOF]\r\n", indexBytes(512), "");
        ASSERT_EQ(shard.analyse(), 1);
        shard.mark({1});
        const std::string &held = shard.*target;
        SCOPED_TRACE(held);
        const HANDLE server = CreateFileW(io::wideText(held).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
        const auto before = shard.snapshot();
        std::string message;
        try {
            (void)shard.patch();
        } catch (const Error &e) {
            message = e.what();
        }
        const auto after = shard.snapshot();
        CloseHandle(server);
        EXPECT_EQ(message, "The file " + held +
                               " is in use by another program; stop the server first, then patch");
        EXPECT_EQ(differences(before, after), "");
    }
#endif
}
