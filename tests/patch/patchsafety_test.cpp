// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/error.h"
#include "base/parallelism.h"
#include "patch/failingfilesystem.h"
#include "patch/patchshard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

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
    explicit Shard(bool separateIndexFolder = false) {
        if (separateIndexFolder) {
            std::filesystem::create_directories(dir.file("idx"));
            staidx = dir.file("idx/staidx0.mul");
            setSetting(app::keys::Staidx, staidx);
        }
        writeFiles(oldWorld, oldIndex, oldData);
        EXPECT_EQ(analyse(), 3);
        mark({1, 2, 3});
        session.setNoticeReceiver([this](const std::string &text) { notices += text + "\n"; });
    }
    std::string notices;

    // The files but the settings, which name the shard's own folder.
    [[nodiscard]] std::map<std::string, std::string> files() const {
        auto files = snapshot();
        files.erase("qelm.ini");
        return files;
    }
    // A PATCH on files, any error it ends with, and what the next run finds.
    std::string patchThenSettle(io::FileSystem &on) {
        std::string message;
        try {
            (void)patch(on);
        } catch (const Error &e) {
            message = e.what();
        }
        session.settleInterruptedPatch();
        return message;
    }
};

struct Sets {
    std::map<std::string, std::string> before, after;
    int operations = 0;
    int firstJournal = 0; // the operation that creates the first journal
    int firstSwitch = 0;  // the first rename of a file into or out of place
};

Sets uninterrupted(bool separateIndexFolder) {
    Shard shard(separateIndexFolder);
    Sets sets;
    sets.before = shard.files();
    FailingFileSystem counter;
    EXPECT_EQ(shard.patch(counter), Outcome::Finished);
    sets.after = shard.files();
    EXPECT_NE(sets.after, sets.before);
    sets.operations = counter.operations();
    for (const std::string &line : counter.log()) {
        if (sets.firstJournal == 0 && line.find(" create ") != std::string::npos &&
            line.find(".tessaplex-journal") != std::string::npos)
            sets.firstJournal = std::stoi(line);
        if (sets.firstSwitch == 0 && line.find(" rename ") != std::string::npos)
            sets.firstSwitch = std::stoi(line);
    }
    EXPECT_GT(sets.firstJournal, 0) << counter.logText();
    return sets;
}

} // namespace

// Whether a single file operation fails or the process dies at it, PATCH and the next run
// together leave either the old files or the new ones, byte for byte, and nothing beside them.
// The old ones only until the first journal is complete (created, written, synced, closed); from
// then on always the new ones.
// Also with the world file made on a thread of its own while the static files are made.
TEST(PatchSafety, AFailureOrACrashAtAnyStepEndsInTheOldOrTheNewSetOfFiles) {
    for (const Parallelism threads : {Parallelism::OneThread, Parallelism::AlwaysTwoThreads}) {
        const FastPathScope scope(threads, Kernels::Automatic);
        for (bool separateIndexFolder : {false, true}) {
            const Sets sets = uninterrupted(separateIndexFolder);
            for (auto mode : {FailingFileSystem::Mode::FailsOnce, FailingFileSystem::Mode::Dies}) {
                for (int k = 1; k <= sets.operations; ++k) {
                    Shard shard(separateIndexFolder);
                    FailingFileSystem files(k, mode);
                    const std::string message = shard.patchThenSettle(files);
                    const auto now = shard.files();
                    const std::string context =
                        std::string(threads == Parallelism::OneThread ? "one thread, "
                                                                      : "two threads, ") +
                        std::string(mode == FailingFileSystem::Mode::Dies ? "dies at "
                                                                          : "fails at ") +
                        std::to_string(k) + ": " + message + "\n" + shard.notices + files.logText();
                    const bool committed = k > sets.firstJournal + 3;
                    if (committed)
                        EXPECT_EQ(differences(sets.after, now), "") << context;
                    else if (k < sets.firstJournal)
                        EXPECT_TRUE(now == sets.before || (message.empty() && now == sets.after))
                            << context << differences(sets.before, now);
                    else
                        EXPECT_TRUE(now == sets.before || now == sets.after) << context;
                    if (committed && mode == FailingFileSystem::Mode::Dies) {
                        EXPECT_NE(shard.notices.find("An interrupted PATCH was completed: "),
                                  std::string::npos)
                            << context;
                    }
                }
            }
        }
    }
}

// The world file and the static files may be made on two threads; the files are the same.
TEST(PatchThreads, TwoThreadsWriteWhatOneWrites) {
    std::map<std::string, std::string> written[2];
    const Parallelism modes[] = {Parallelism::OneThread, Parallelism::AlwaysTwoThreads};
    for (int i = 0; i < 2; ++i) {
        const FastPathScope scope(modes[i], Kernels::Automatic);
        Shard shard;
        FailingFileSystem files;
        EXPECT_EQ(shard.patch(files), Outcome::Finished);
        written[i] = shard.files();
    }
    EXPECT_EQ(differences(written[0], written[1]), "");
}

// What a crash leaves that the next run cannot finish on its own is refused by every command,
// with each file named, and nothing is touched.
TEST(PatchSafety, RefusesToCompleteWhenAFileChangedOrWentMissingAfterTheCrash) {
    const Sets sets = uninterrupted(false);
    const struct {
        const char *name;
        std::function<void(Shard &)> meddle;
        std::vector<std::string> inMessage;
    } cases[] = {
        {"the server saved the world file",
         [](Shard &s) { writeFile(s.world, oldWorld + "[WORLDITEM 0eed]\r\n\r\n"); },
         {"the world file ", "was changed by another program after PATCH read it",
          "world.scp.tessaplex-new", "holds contents that PATCH did not write",
          "world.scp.tessaplex-journal"}},
        {"the new data file went missing",
         [](Shard &s) { std::filesystem::remove(s.statics + ".tessaplex-new"); },
         {"the new static data file ", "statics0.mul.tessaplex-new is missing",
          "holds its contents from before the PATCH"}},
        {"the new index file was changed",
         [](Shard &s) { writeFile(s.staidx + ".tessaplex-new", "short"); },
         {"staidx0.mul.tessaplex-new is not the file that PATCH wrote"}},
    };
    for (const auto &c : cases) {
        Shard shard;
        // Dies at the first switch: every journal is complete, no file switched yet.
        FailingFileSystem files(sets.firstSwitch, FailingFileSystem::Mode::Dies);
        try {
            (void)shard.patch(files);
        } catch (const Error &) {
        }
        ASSERT_TRUE(std::filesystem::exists(shard.world + ".tessaplex-journal")) << c.name << "\n"
                                                                                 << files.logText();
        c.meddle(shard);
        const auto meddled = shard.files();
        ProgressGauge quiet;
        for (const auto &command : std::vector<std::function<void()>>{
                 [&] { shard.session.settleInterruptedPatch(); },
                 [&] { (void)shard.session.analyse("0", "10", quiet); },
                 [&] { (void)shard.session.worldFileInfo(); }, [&] { (void)shard.patch(); }}) {
            std::string message;
            try {
                command();
            } catch (const Error &e) {
                message = e.what();
            }
            EXPECT_EQ(message.rfind("An interrupted PATCH cannot be completed: ", 0), 0u)
                << c.name << ": " << message;
            for (const std::string &part : c.inMessage)
                EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
            EXPECT_EQ(differences(meddled, shard.files()), "") << c.name;
        }
    }
}

// A crash before the journal leaves unfinished new files, which the next run removes and names.
TEST(PatchSafety, TheNextRunRemovesTheUnfinishedFilesOfARunThatDiedBeforeItsJournal) {
    const Sets sets = uninterrupted(false);
    Shard shard;
    FailingFileSystem files(sets.firstJournal, FailingFileSystem::Mode::Dies);
    EXPECT_THROW((void)shard.patch(files), Error);
    ASSERT_TRUE(std::filesystem::exists(shard.world + ".tessaplex-new"));
    ProgressGauge quiet;
    (void)shard.session.analyse("0", "10", quiet);
    EXPECT_EQ(shard.files(), sets.before);
    EXPECT_NE(shard.notices.find("A PATCH was interrupted before it replaced any file; its "
                                 "unfinished files "),
              std::string::npos)
        << shard.notices;
    EXPECT_NE(shard.notices.find("world.scp.tessaplex-new"), std::string::npos);
}

// Another program's edit in place that puts back the old size and modification time, made
// between the reading of the world file and its replacement, is still seen.
TEST(PatchSafety, AWorldFileEditedInPlaceWithItsOldTimesIsNotReplaced) {
    namespace fs = std::filesystem;
    Shard shard;
    const auto before = shard.files();
    FailingFileSystem files;
    bool edited = false;
    files.beforeStep = [&](const std::string &what) {
        if (edited || what.rfind("create ", 0) != 0)
            return;
        edited = true;
        const auto time = fs::last_write_time(shard.world);
        std::string text = oldWorld;
        text[text.size() - 3] = 'X';
        writeFile(shard.world, text);
        fs::last_write_time(shard.world, time);
    };
    std::string message;
    try {
        (void)shard.patch(files);
    } catch (const Error &e) {
        message = e.what();
    }
    EXPECT_NE(message.find("was changed by another program during PATCH"), std::string::npos)
        << message;
    auto expected = before;
    expected["save/world.scp"] = readFile(shard.world);
    EXPECT_EQ(differences(expected, shard.files()), "");
}

TEST(PatchSafety, ASecondRunWaitsForTheFirst) {
    Shard shard;
    io::RealFileSystem real;
    const auto held = real.lockFolderOf(shard.world);
    ASSERT_TRUE(held);
    const auto before = shard.files();
    std::string message;
    try {
        (void)shard.patch();
    } catch (const Error &e) {
        message = e.what();
    }
    EXPECT_NE(message.find("Another run of Tessaplex is patching the files in "), std::string::npos)
        << message;
    EXPECT_EQ(shard.files(), before);
}
