// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testsupport.h"

#include <gtest/gtest.h>

using namespace tessaplex::test;

// Every option of "analyse" is explained by its own help, so an operator needs no other manual.
TEST(AnalyseHelp, MentionsEveryOption) {
    const ProcessResult run = runCli({"analyse", "--help"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const char *option : {"--start", "--lines", "--help"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option << " missing in\n" << run.out;

    const ProcessResult top = runCli({"--help"});
    EXPECT_EQ(top.exitCode, 0) << top.err;
    for (const char *text : {"-C", "analyse"})
        EXPECT_NE(top.out.find(text), std::string::npos) << text << " missing in\n" << top.out;
}
