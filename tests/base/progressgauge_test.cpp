// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/progressgauge.h"
#include "support/recordinggauge.h"

#include <gtest/gtest.h>

#include <vector>

using tessaplex::ProgressGauge;
using tessaplex::test::RecordingGauge;

namespace {

TEST(ProgressGauge, KeepsProgressWithinItsRange) {
    const struct {
        std::int32_t minimum, maximum, progress;
        std::int32_t expectedMaximum, expectedProgress;
        int percent;
    } cases[] = {
        {0, 100, 0, 100, 0, 0},
        {0, 100, 150, 100, 100, 100},
        {0, 100, -5, 100, 0, 0},
        {0, 0, 40, 100, 40, 40},
        {0, 7, 3, 7, 3, 42},
        {-10, 10, 0, 10, 0, 50},
        {0, 3, 2, 3, 2, 66},
        {5, 5, 9, 5, 5, 0},
        {0, 2147483647, 2147483647, 2147483647, 2147483647, 100},
        {-2147483647 - 1, 2147483647, 0, 2147483647, 0, 50},
    };
    for (const auto &c : cases) {
        RecordingGauge gauge;
        gauge.setMinimum(c.minimum);
        gauge.setMaximum(c.maximum);
        gauge.setProgress(c.progress);
        EXPECT_EQ(gauge.maximum(), c.expectedMaximum) << c.minimum << ".." << c.maximum;
        EXPECT_EQ(gauge.progress(), c.expectedProgress) << c.minimum << ".." << c.maximum;
        EXPECT_EQ(gauge.percent(), c.percent) << c.minimum << ".." << c.maximum;
    }
}

// Advancing one step at a time draws every whole percentage once, in order, and the progress
// read back is always the number of steps taken.
TEST(ProgressGauge, AdvancesStepByStep) {
    for (const std::int32_t steps : {1, 2, 7, 99, 100, 101, 1000, 123457}) {
        RecordingGauge gauge;
        gauge.setMinimum(0);
        gauge.setMaximum(steps);
        gauge.setProgress(0);
        std::vector<int> expected;
        for (std::int32_t i = 1; i <= steps; ++i) {
            gauge.advance();
            ASSERT_EQ(gauge.progress(), i) << steps;
            const int percent = static_cast<int>(std::int64_t{i} * 100 / steps);
            if (expected.empty() ? percent != 0 : percent != expected.back())
                expected.push_back(percent);
            ASSERT_EQ(gauge.percent(), percent) << steps << " at " << i;
        }
        EXPECT_EQ(gauge.percents, expected) << steps;
        // Steps beyond the maximum do not move it.
        gauge.advance();
        gauge.advance();
        EXPECT_EQ(gauge.progress(), steps);
        gauge.advance(-1);
        EXPECT_EQ(gauge.progress(), steps - 1);
    }
}

} // namespace
