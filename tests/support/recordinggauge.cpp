// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recordinggauge.h"

namespace tessaplex::test {

void RecordingGauge::percentChanged(int percent) {
    percents.push_back(percent);
    if (maxima.empty() || maxima.back() != maximum())
        maxima.push_back(maximum());
}

} // namespace tessaplex::test
