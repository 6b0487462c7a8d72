// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "base/error.h"
#include "base/progressgauge.h"
#include "support/tabletext.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

using namespace tessaplex;
using namespace tessaplex::app;
using tessaplex::test::itemRowsText;
namespace fs = std::filesystem;

namespace {

// A start directory with a world file and item scripts, as an operator sets one up.
class ShardFolder {
public:
    ShardFolder() {
        fs::create_directories(dir.file("scripts/sub"));
        test::writeFile(dir.file("scripts/a.scp"), "[ITEMDEF 0f3c]\r\nDEFNAME=i_example\r\n"
                                                   "[ITEMDEF 0aaa]\r\n");
        // The slot opened at the end of a.scp is committed by the first DEFNAME of the next file.
        test::writeFile(dir.file("scripts/sub/b c.scp"), "DEFNAME=i_carried\n[ITEMDEF 0bbb]\n"
                                                         "DEFNAME=i_other\n");
        test::writeFile(dir.file("world.scp"), World);
    }

    // The settings and the script list: paths written the Windows way, as stored files hold them.
    void configure(const std::string &scriptList = "a.scp\r\nmissing.scp\r\n\r\nsub\\b c.scp\r\n") {
        std::string folder = dir.file("scripts");
        std::string world = dir.file("world.scp");
        for (std::string *path : {&folder, &world})
            for (char &c : *path)
                if (c == '/')
                    c = '\\';
        test::writeFile(dir.file("qelm.ini"),
                        "[Custom]\r\nItemFiles=" + folder + "\r\nWorldFile=" + world + "\r\n");
        test::writeFile(dir.file("qelmfile.txt"), scriptList);
    }

    static constexpr const char *World = "[WORLDITEM i_example]\r\nP=8,8,0\r\n\r\n"
                                         "[WORLDITEM 0001]\r\nDISPID=i_carried\r\n\r\n"
                                         "[WORLDITEM i_other]\r\n\r\n"
                                         "[WORLDITEM 0002]\r\n\r\n";
    // The rows of World with every def name resolved, and with none.
    static constexpr const char *AllRows = "0|2|00F3C|8|8|0|0||513|NO\n"
                                           "3|5|00AAA||||0|||NO\n"
                                           "6|7|00BBB||||0|||NO\n"
                                           "8|9|00002||||0|||NO\n";
    static constexpr const char *HexRows = "8|9|00002||||0|||NO\n";

    test::TempDir dir;
};

std::set<std::string> filesIn(const std::string &folder) {
    std::set<std::string> names;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        names.insert(entry.path().string());
    return names;
}

TEST(SessionAnalyse, ResolvesDefNamesThroughTheListedScripts) {
    ShardFolder shard;
    shard.configure();
    const auto before = filesIn(shard.dir.path());
    Session session(shard.dir.path());
    ProgressGauge gauge;
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::AllRows);
    EXPECT_EQ(session.lines().size(), 10u);
    EXPECT_EQ(filesIn(shard.dir.path()), before) << "Analyse writes no file";

    // The script list outlives a deleted qelmfile.txt.
    fs::remove(shard.dir.file("qelmfile.txt"));
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::AllRows);

    // A new list replaces the old one.
    test::writeFile(shard.dir.file("qelmfile.txt"), "sub/b c.scp\n");
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(session.table(), '|'), "3|5|||||0|||NO\n"
                                                  "6|7|00BBB||||0|||NO\n"
                                                  "8|9|00002||||0|||NO\n");
}

TEST(SessionAnalyse, WithoutAScriptListOnlyHexItemsAreListed) {
    ShardFolder shard;
    shard.configure();
    fs::remove(shard.dir.file("qelmfile.txt"));
    Session session(shard.dir.path());
    ProgressGauge gauge;
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::HexRows);

    // An item script folder that does not exist is no error either.
    test::writeFile(shard.dir.file("qelmfile.txt"), "a.scp\n");
    Settings(shard.dir.file("qelm.ini")).writeText("Custom", "ItemFiles", shard.dir.file("none"));
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::HexRows);
}

TEST(SessionAnalyse, AnEmptyItemFolderSettingStopsBeforeAnythingElse) {
    ShardFolder shard;
    Session session(shard.dir.path());
    ProgressGauge gauge;
    // No settings file at all.
    try {
        (void)session.analyse("0", "10", gauge);
        ADD_FAILURE() << "no error without ItemFiles";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Range check error");
    }
    EXPECT_EQ(session.table().rowCount(), 2);
    EXPECT_FALSE(session.table().hasHeadings());

    // After an analysis, an emptied setting keeps the table and the world lines.
    shard.configure();
    ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
    session.settings().writeText("Custom", "ItemFiles", "");
    EXPECT_THROW((void)session.analyse("0", "10", gauge), Error);
    EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::AllRows);
    EXPECT_EQ(session.lines().size(), 10u);
    EXPECT_TRUE(session.linesAnalysed());
}

// When nothing is to be listed the table stays as the last analysis left it; the world lines
// are emptied when the world file is missing and hold the file when only the window is wrong.
TEST(SessionAnalyse, NothingToListKeepsTheTable) {
    const struct {
        const char *name;
        std::string worldFile; // "(file)": the shard's world file
        const char *start, *lines;
        std::size_t linesHeld;
    } cases[] = {
        {"world file missing", "(missing)", "0", "0", 0},
        {"world file setting empty", "", "0", "0", 0},
        {"window beyond the file", "(file)", "0", "11", 10},
        {"window starting behind the file", "(file)", "11", "0", 10},
        {"negative start", "(file)", "-1", "5", 10},
        {"negative lines", "(file)", "0", "-1", 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ShardFolder shard;
        shard.configure();
        Session session(shard.dir.path());
        ProgressGauge gauge;
        ASSERT_EQ(session.analyse("0", "10", gauge), world::AnalyseOutcome::Listed);
        const std::string analysedFrom = session.analysedWorldFile();
        gauge.setProgress(3);

        std::string worldFile = c.worldFile;
        if (worldFile == "(file)")
            worldFile = shard.dir.file("world.scp");
        else if (worldFile == "(missing)")
            worldFile = shard.dir.file("gone.scp");
        session.settings().writeText("Custom", "WorldFile", worldFile);

        EXPECT_EQ(session.analyse(c.start, c.lines, gauge), world::AnalyseOutcome::NothingToList);
        EXPECT_EQ(itemRowsText(session.table(), '|'), ShardFolder::AllRows);
        EXPECT_EQ(session.lines().size(), c.linesHeld);
        EXPECT_EQ(gauge.progress(), 3);
        // The table no longer belongs to the lines held, which PATCH must be able to tell.
        EXPECT_EQ(session.analysedWorldFile(), analysedFrom);
        EXPECT_EQ(session.linesAnalysed(), c.linesHeld == 10) << "the same bytes read again";
    }
}

// Whatever bytes the world and script files hold, Analyse ends normally.
TEST(SessionAnalyse, SurvivesGarbageFiles) {
    ShardFolder shard;
    shard.configure("a.scp\n");
    std::string garbage;
    std::uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(state >> 24));
        if (i % 5000 == 0)
            garbage += "\n[WORLDITEM i_example]\nP=,,,,\nCOLOR=\xff\xff\nDISPID=\n\n[ITEMDEF \n";
    }
    test::writeFile(shard.dir.file("world.scp"), garbage);
    test::writeFile(shard.dir.file("scripts/a.scp"), garbage);
    Session session(shard.dir.path());
    ProgressGauge gauge;
    world::LineList lines;
    lines.readFile(shard.dir.file("world.scp"));
    EXPECT_EQ(session.analyse("0", std::to_string(lines.size()), gauge),
              world::AnalyseOutcome::Listed);
    EXPECT_EQ(session.lines().size(), lines.size());
}

} // namespace
