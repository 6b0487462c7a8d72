// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/realdata.h"
#include "support/realdatadir.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tessaplex::test;

namespace {

constexpr const char *Heading = "Startzeile\tEndZeile\tID\tX\tY\tZ\tCOLOR\tATTR\tBLOCK\tPATCH\n";

// A start directory with a CR LF world file of 12 lines and one item script.
class CliShard {
public:
    CliShard() {
        writeFile(dir.file("items.scp"), "[ITEMDEF 0f3c]\r\nDEFNAME=i_example\r\n");
        writeFile(dir.file("world.scp"), "[WORLDITEM i_example]\r\n" // 0
                                         "P=1434,1681,0\r\n"         // 1
                                         "COLOR=0480\r\n"            // 2
                                         "ATTR=010\r\n"              // 3
                                         "\r\n"                      // 4
                                         "[WORLDITEM 0abc]\r\n"      // 5
                                         "CONT=0400001\r\n"          // 6
                                         "\r\n"                      // 7
                                         "[WORLDITEM 04000]\r\n"     // 8
                                         "P=8,16\r\n"                // 9
                                         "\r\n"                      // 10
                                         "[EOF]\r\n");               // 11
        writeFile(dir.file("qelm.ini"), "[Custom]\r\nItemFiles=" + dir.path() +
                                            "\r\nWorldFile=" + dir.file("world.scp") + "\r\n");
        writeFile(dir.file("qelmfile.txt"), "items.scp\r\n");
    }
    TempDir dir;
};

constexpr const char *FirstRow = "0\t4\t00F3C\t1434\t1681\t0\t1152\t010\t91858\tNO\n";
constexpr const char *SecondRow = "8\t10\t04000\t8\t16\t0\t0\t\t514\tNO\n";

TEST(CliAnalyse, PrintsTheTableAsTabSeparatedText) {
    CliShard shard;
    const struct {
        std::vector<std::string> options;
        std::string out;
    } cases[] = {
        {{}, std::string(Heading) + FirstRow + SecondRow},
        {{"--start", "0", "--lines", "12"}, std::string(Heading) + FirstRow + SecondRow},
        {{"--start", "5", "--lines", "7"}, std::string(Heading) + SecondRow},
        {{"--start", "1", "--lines", "10"}, std::string(Heading) + SecondRow},
        {{"--lines", "5"}, std::string(Heading) + FirstRow},
        {{"--lines", "4"}, Heading},
        {{"--lines", "0"}, Heading},
        {{"--start", "12", "--lines", "0"}, Heading},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"-C", shard.dir.path(), "analyse"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult run = runCli(args);
        std::string options;
        for (const std::string &option : c.options)
            options += option + " ";
        EXPECT_EQ(run.exitCode, 0) << options << run.err;
        EXPECT_EQ(run.out, c.out) << options;
        EXPECT_EQ(run.err, "") << options;
    }
}

// When nothing is to be listed nothing is printed, and that is no error.
TEST(CliAnalyse, PrintsNothingWhenNothingIsListed) {
    CliShard shard;
    const std::vector<std::string> cases[] = {
        {"--lines", "13"},
        {"--start", "1"}, // the default window covers every line, so from line 1 it is too long
        {"--start", "13", "--lines", "0"},
        {"--start", "-1", "--lines", "3"},
        {"--lines", "-1"},
    };
    for (const auto &options : cases) {
        std::vector<std::string> args = {"-C", shard.dir.path(), "analyse"};
        args.insert(args.end(), options.begin(), options.end());
        const ProcessResult run = runCli(args);
        EXPECT_EQ(run.exitCode, 0) << options[0] << " " << options[1] << run.err;
        EXPECT_EQ(run.out, "") << options[0] << " " << options[1];
        EXPECT_EQ(run.err, "") << options[0] << " " << options[1];
    }
    // A world file that does not exist lists nothing either.
    writeFile(shard.dir.file("qelm.ini"), "[Custom]\r\nItemFiles=" + shard.dir.path() +
                                              "\r\nWorldFile=" + shard.dir.file("gone.scp") +
                                              "\r\n");
    const ProcessResult run = runCli({"analyse"}, shard.dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

// Errors end the command with exit code 1 and their text, full stop rule applied, on stderr.
TEST(CliAnalyse, ReportsErrorsOnStandardError) {
    CliShard shard;
    writeFile(shard.dir.file("qelm.ini"),
              "[Custom]\r\nItemFiles=\r\nWorldFile=" + shard.dir.file("world.scp") + "\r\n");
    TempDir empty;
    const struct {
        std::vector<std::string> args;
        std::string workdir;
        std::string err;
    } cases[] = {
        {{"-C", shard.dir.path(), "analyse"}, "", "Range check error.\n"},
        {{"analyse"}, shard.dir.path(), "Range check error.\n"},
        {{"analyse", "--lines", "3"}, empty.path(), "Range check error.\n"},
        {{"-C", empty.file("none"), "analyse"},
         "",
         "Cannot change into " + empty.file("none") + ".\n"},
    };
    for (const auto &c : cases) {
        const ProcessResult run = runCli(c.args, c.workdir);
        EXPECT_EQ(run.exitCode, 1) << c.err;
        EXPECT_EQ(run.out, "") << c.err;
        EXPECT_EQ(run.err, c.err);
    }
}

// A table that cannot be written out is a failure, never a success with half a table.
TEST(CliAnalyse, FailsWhenStandardOutputCannotBeWritten) {
    if (!exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    CliShard shard;
    const ProcessResult run =
        runProgram("/bin/sh", {"-c", std::string("\"$0\" -C \"$1\" analyse > /dev/full"),
                               TESSAPLEX_CLI, shard.dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Cannot write to standard output.\n");
}

// The whole of a real save, from a working directory that holds only the settings.
TEST(CliAnalyse, ListsARealSave) {
    const RealDataDir real;
    if (!real.found())
        GTEST_SKIP() << real.absence();
    TempDir start;
    writeShardSettings(start.path(), real.path() + "mrnormoshard/scripts",
                       real.path() + "mrnormoshard/Save/sphereworld.scp");
    const ProcessResult run = runCli({"analyse"}, start.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Its items on the other maps stay listed as written, and the operator is told of them.
    EXPECT_EQ(run.err, "616 items carry a map number: choose the map with --map to patch them\n");
    ASSERT_EQ(run.out.compare(0, std::string(Heading).size(), Heading), 0);
    std::size_t lines = 0;
    for (char c : run.out)
        lines += c == '\n';
    EXPECT_EQ(lines, 1u + 17801u);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_NE(run.out.find("\n615\t618\t0181D\t5490\t19\t-25\t0\t\t351234\tNO\n"),
              std::string::npos);
    const std::string last = "884410\t884414\t00DE3\t750\t1336,26\t4\t0\t010\t47616\tNO\n";
    EXPECT_EQ(run.out.compare(run.out.size() - last.size(), last.size(), last), 0);
}

} // namespace
