// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/backgroundwork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

using tessaplex::BackgroundWork;

TEST(BackgroundWork, FinishWaitsForTheWorkAndRethrowsWhatItThrew) {
    std::atomic<int> done{0};
    {
        BackgroundWork work([&] { done = 1; });
        ASSERT_TRUE(work.started());
        work.finish();
        EXPECT_EQ(done, 1);
    }
    BackgroundWork failing([] { throw std::runtime_error("piece failed"); });
    ASSERT_TRUE(failing.started());
    EXPECT_THROW(failing.finish(), std::runtime_error);
}

// The caller leaving by an exception must not leave the work running on the caller's data.
TEST(BackgroundWork, LeavingEarlyStillWaitsForTheWork) {
    std::atomic<bool> finished{false};
    try {
        BackgroundWork work([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            finished = true;
        });
        throw std::runtime_error("this thread failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_TRUE(finished);
}
