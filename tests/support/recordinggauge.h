// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/progressgauge.h"

#include <cstdint>
#include <vector>

namespace tessaplex::test {

// A progress gauge that remembers what it was asked to draw, for tests to compare.
class RecordingGauge : public ProgressGauge {
public:
    // Every percentage drawn, in order; a repeated one only after another came in between.
    std::vector<int> percents;
    // The maximum at each drawing, a maximum repeated by the next drawing once: one entry per
    // range that a command counted through.
    std::vector<std::int32_t> maxima;

protected:
    void percentChanged(int percent) override;
};

} // namespace tessaplex::test
