// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/wholefile.h"

#include "app/artpreview.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "art/rgbcanvas.h"
#include "base/error.h"
#include "base/progressgauge.h"
#include "selection/filterlist.h"
#include "support/artfixture.h"
#include "support/standin.h"
#include "support/tabletext.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tessaplex::test {
namespace {

std::string errorText(const std::exception &e) {
    return std::string("error: ") + e.what();
}

TEST(WholeFile, ReadsToTheEndAsItGrowsButNeverPastTheBound) {
    const struct {
        const char *name;
        std::string before, appended;
        std::uint64_t bound;
        std::string expected; // "(too large)": the size error
    } cases[] = {
        {"empty", "", "", 0, ""},
        {"exactly the bound", "abcd", "", 4, "abcd"},
        {"one byte over the bound", "abcde", "", 4, "(too large)"},
        {"grew after the opening", "abc", "def", 6, "abcdef"},
        {"grew past the bound after the opening", "abc", "def", 5, "(too large)"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const std::string path = dir.file("f");
        writeFile(path, c.before);
        std::string got;
        try {
            std::optional<io::WholeFile> file = io::WholeFile::open(path, c.bound);
            ASSERT_TRUE(file) << c.name;
            std::ofstream(path, std::ios::binary | std::ios::app) << c.appended;
            char buffer[64];
            std::size_t n;
            while ((n = file->read(buffer, sizeof buffer)) > 0)
                got.append(buffer, n);
        } catch (const Error &e) {
            got = errorText(e);
        }
        const std::string tooLarge = "error: The file " + path + " is larger than " +
                                     std::to_string(c.bound) +
                                     " bytes; a file this large is not read";
        EXPECT_EQ(got, c.expected == "(too large)" ? tooLarge : c.expected) << c.name;
    }
}

// A small shard whose every file one reader at a time finds replaced by a stand-in.
struct Shard {
    static constexpr std::uint32_t Entry = 3;

    Shard() {
        std::filesystem::create_directory(dir.file("scripts"));
        writeFile(dir.file("qelm.ini"), settingsBytes());
        writeFile(dir.file("qelmfile.txt"), "a.scp\n");
        writeFile(dir.file("scripts/a.scp"), "[ITEMDEF 0f3c]\nDEFNAME=i_example\n");
        writeFile(dir.file("world.scp"), "[WORLDITEM i_example]\nP=1,2,0\n\n[WORLDITEM 0002]\n\n");
        writeFile(dir.file("qelmitem.txt"), "0eed\r\n");
        ArtFilesBuilder art;
        art.add(Entry, runArtRecord({{ArtRun{0, {0x001F}}}}));
        writeFile(dir.file("art.mul"), art.dataBytes());
        writeFile(dir.file("artidx.mul"), art.indexBytes());
    }
    std::string settingsBytes() const {
        return "[Custom]\nUnix=1\nItemFiles=" + dir.file("scripts") +
               "\nWorldfile=" + dir.file("world.scp") + "\nArt=" + dir.file("art.mul") +
               "\nArtIdx=" + dir.file("artidx.mul") + "\n";
    }

    TempDir dir;
};

std::string analysedRows(const Shard &shard) {
    app::Session session(shard.dir.path());
    ProgressGauge gauge;
    if (session.analyse("0", "5", gauge) != world::AnalyseOutcome::Listed)
        return "nothing to list";
    return itemRowsText(session.table(), '|');
}

std::string preview(const Shard &shard) {
    art::RgbCanvas canvas(44, 44, 0);
    const app::Settings settings(shard.dir.file("qelm.ini"));
    return art::changedCanvas(app::previewArt(settings, Shard::Entry, canvas)) ? "drawn" : "blank";
}

// Every file the program reads: missing it is skipped or read as defaults, as ever; anything
// there that is no regular file ends the command with the file's name, and never waits or reads
// without end; a link to a regular file is followed.
TEST(WholeFile, EveryReaderJudgesWhatStandsAtItsPathAlike) {
    const std::string Unresolved = "3|4|00002||||0|||NO\n"; // the hex item only
    const std::string Resolved = "0|2|00F3C|1|2|0|0||0|NO\n" + Unresolved;
    const struct {
        const char *reader;
        const char *file;
        std::string (*run)(const Shard &);
        std::string whenMissing; // "(error)": the same error as for a folder
        std::string whenRead;
        const char *error = "Cannot open file ";
        const char *named = nullptr; // the file as the program names it, where that differs
    } readers[] = {
        {"settings read", "qelm.ini",
         [](const Shard &s) {
             return app::Settings(s.dir.file("qelm.ini")).readText("Custom", "Unix", "(default)");
         },
         "(default)", "1"},
        {"settings write", "qelm.ini",
         [](const Shard &s) {
             app::Settings(s.dir.file("qelm.ini")).writeText("Custom", "X1", "5");
             return std::string("written");
         },
         "written", "written", "Unable to write to "},
        {"filter list", "qelmitem.txt",
         [](const Shard &s) {
             selection::FilterEntries entries{"kept"};
             (void)selection::reloadFilterList(s.dir.file("qelmitem.txt"), entries);
             return entries.at(0);
         },
         "kept", "0eed"},
        {"script file list", "qelmfile.txt", analysedRows, Unresolved, Resolved},
        {"script file", "scripts/a.scp", analysedRows, Unresolved, Resolved, "Cannot open file ",
         app::PathSeparator == '/' ? "scripts/a.scp" : "scripts\\a.scp"},
        {"world file", "world.scp", analysedRows, "nothing to list", Resolved},
        {"art data", "art.mul", preview, "(error)", "drawn"},
        {"art index", "artidx.mul", preview, "(error)", "drawn"},
    };
    for (const auto &r : readers) {
        for (const StandIn standIn : EveryStandIn) {
            SCOPED_TRACE(std::string(r.reader) + ", " + standInName(standIn));
            Shard shard;
            const std::string path = shard.dir.file(r.file);
            const std::string bytes = readFile(path);
            placeStandIn(standIn, path, bytes);
            std::string got;
            {
                std::optional<PipeWatchdog> watchdog;
                if (standIn == StandIn::Pipe)
                    watchdog.emplace(path);
                try {
                    got = r.run(shard);
                } catch (const std::exception &e) {
                    got = errorText(e);
                }
            }
            const std::string error =
                "error: " + std::string(r.error) + (r.named ? shard.dir.file(r.named) : path);
            if (standIn == StandIn::Missing)
                EXPECT_EQ(got, r.whenMissing == "(error)" ? error : r.whenMissing);
            else if (standIn == StandIn::LinkToFile)
                EXPECT_EQ(got, r.whenRead);
            else
                EXPECT_EQ(got, error);
        }
    }
}

} // namespace
} // namespace tessaplex::test
