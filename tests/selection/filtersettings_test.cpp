// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/filtersettings.h"

#include "app/settings.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using namespace tessaplex::selection;
using tessaplex::test::TempDir;

namespace {

bool operator==(const FilterArea &a, const FilterArea &b) {
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.use == b.use;
}

} // namespace

TEST(FilterSettings, ReadsTheStoredAreaWithDefaults) {
    const struct {
        const char *ini;
        FilterArea area;
    } cases[] = {
        {"", {0, 0, 0, 0, false}},
        {"[Custom]\r\nX1=10\r\nY1=20\r\nX2=30\r\nY2=40\r\nFilterArea=1\r\n",
         {10, 20, 30, 40, true}},
        {"[Custom]\nX1=-1\nY2=0x10\nFilterArea=2\n", {-1, 0, 0, 16, true}},
        {"[Custom]\nX1=abc\nY1=\nFilterArea=yes\n", {0, 0, 0, 0, false}},
        {"[Other]\nX1=5\n", {0, 0, 0, 0, false}},
    };
    for (const auto &c : cases) {
        TempDir dir;
        test::writeFile(dir.file("qelm.ini"), c.ini);
        const app::Settings settings(dir.file("qelm.ini"));
        EXPECT_TRUE(storedFilterArea(settings) == c.area) << c.ini;
    }
    TempDir empty;
    EXPECT_TRUE(storedFilterArea(app::Settings(empty.file("qelm.ini"))) == FilterArea{});
}

TEST(FilterSettings, WritesNormalisedFieldsAndUseAtOnce) {
    const struct {
        const char *typed;
        const char *stored;
    } cases[] = {
        {"0x10", "16"}, {"$10", "16"}, {"abc", "0"}, {"", "0"},
        {" -7", "-7"},  {"+5", "5"},   {"7 ", "0"},  {"2147483648", "0"},
    };
    TempDir dir;
    app::Settings settings(dir.file("qelm.ini"));
    for (const auto &c : cases) {
        EXPECT_EQ(normalisedAreaField(c.typed), c.stored) << c.typed;
        EXPECT_EQ(storeAreaField(settings, "Y2", c.typed), c.stored) << c.typed;
        EXPECT_EQ(settings.readText("Custom", "Y2"), c.stored) << c.typed;
    }
    storeFilterAreaUse(settings, true);
    EXPECT_TRUE(storedFilterArea(settings).use);
    storeFilterAreaUse(settings, false);
    EXPECT_FALSE(storedFilterArea(settings).use);
}
