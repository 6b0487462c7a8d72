// SPDX-License-Identifier: GPL-3.0-or-later
#include "statics/failingfilesystem.h"
#include "statics/patchshard.h"
#include "world/error.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaplex;
using namespace tessaplex::test;
using Outcome = app::Session::PatchOutcome;

namespace {

const std::string oldIndex =
    indexBytes(1024, {{1, {0, 14, 1}}, {9, {14, 7, 9}}, {600, {21, 7, 600}}});
const std::string oldData = staticBytes(1, 0, 0, 0, 0) + staticBytes(2, 1, 1, 0, 0) +
                            staticBytes(9, 2, 2, 0, 0) + staticBytes(6, 3, 3, 0, 0);
const std::string oldWorld = worldItem("0eed", "0,8,5", "0481") + worldItem("0eee", "4,70,1") +
                             worldItem("0eef", "10,5,2") + "[EOF]\r\n";

// A shard with three marked items; with separateIndexFolder the index file lies in idx/.
struct Shard : PatchShard {
    explicit Shard(bool separateIndexFolder) {
        if (separateIndexFolder) {
            std::filesystem::create_directories(dir.file("idx"));
            staidx = dir.file("idx/staidx0.mul");
            setSetting(app::keys::Staidx, staidx);
        }
        writeFiles(oldWorld, oldIndex, oldData);
        EXPECT_EQ(analyse(), 3);
        mark({1, 2, 3});
    }
};

// The settings name the shard's own folder, so they differ from shard to shard.
std::map<std::string, std::string> filesOf(const PatchShard &shard) {
    auto files = shard.snapshot();
    files.erase("qelm.ini");
    return files;
}

bool isBackup(const std::string &name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".xxx") == 0;
}

} // namespace

// Whichever single file operation fails, PATCH reports it and leaves the three original files
// byte for byte as they were with no temporary file beside them; or, when the failure comes
// after the new set is complete and in place, it keeps that set and names the old file it
// could not remove.
TEST(PatchSafety, EveryFailedFileOperationLeavesTheOriginalsOrTheNewSet) {
    for (bool separateIndexFolder : {false, true}) {
        Shard clean(separateIndexFolder);
        const auto before = filesOf(clean);
        FailingFileSystem counter;
        ASSERT_EQ(clean.patch(counter), Outcome::Finished);
        const auto after = filesOf(clean);
        ASSERT_NE(after, before);
        const int operations = counter.operations();
        int commit = 0;
        for (const std::string &line : counter.log()) {
            if (line.find("rename " + clean.world + ".tmp -> " + clean.world) != std::string::npos)
                commit = std::stoi(line);
        }
        ASSERT_GT(commit, 0) << counter.logText();

        for (int k = 1; k <= operations; ++k) {
            Shard shard(separateIndexFolder);
            FailingFileSystem files(k);
            std::string message;
            try {
                EXPECT_EQ(shard.patch(files), Outcome::Finished);
            } catch (const Error &e) {
                message = e.what();
            }
            auto now = filesOf(shard);
            const std::string context =
                "operation " + std::to_string(k) + ": " + message + "\n" + files.logText();
            if (message.empty()) {
                // An operation whose failure has a way round, such as looking for a free
                // temporary name, lets the run succeed.
                EXPECT_EQ(differences(after, now), "") << context;
            } else if (k <= commit) {
                EXPECT_EQ(differences(before, now), "") << context;
            } else {
                for (auto it = now.begin(); it != now.end();) {
                    if (isBackup(it->first)) {
                        EXPECT_NE(message.find(it->first.substr(it->first.find('/'))),
                                  std::string::npos)
                            << context;
                        it = now.erase(it);
                    } else {
                        ++it;
                    }
                }
                EXPECT_EQ(differences(after, now), "") << context;
                EXPECT_NE(message.find("could not be removed"), std::string::npos) << context;
            }
        }
    }
}

// A process that dies at any file operation leaves either the old set of files, the static ones
// at worst under their backup names, or the complete new set.
TEST(PatchSafety, AProcessThatDiesAnywhereLeavesARecoverableSet) {
    Shard clean(false);
    FailingFileSystem counter;
    ASSERT_EQ(clean.patch(counter), Outcome::Finished);
    const std::string newIndex = readFile(clean.staidx);
    const std::string newData = readFile(clean.statics);
    const std::string newWorld = readFile(clean.world);

    for (int k = 1; k <= counter.operations(); ++k) {
        Shard shard(false);
        FailingFileSystem files(k, FailingFileSystem::Mode::Dies);
        try {
            (void)shard.patch(files);
        } catch (const Error &) {
        }
        auto now = shard.snapshot();
        const bool oldSet =
            (now["map/staidx0.mul"] == oldIndex || now["map/staidx0.xxx"] == oldIndex) &&
            (now["map/statics0.mul"] == oldData || now["map/statics0.xxx"] == oldData) &&
            now["save/world.scp"] == oldWorld;
        const bool newSet = now["map/staidx0.mul"] == newIndex &&
                            now["map/statics0.mul"] == newData && now["save/world.scp"] == newWorld;
        EXPECT_TRUE(oldSet || newSet) << "dies at operation " << k << "\n" << files.logText();
    }
}
