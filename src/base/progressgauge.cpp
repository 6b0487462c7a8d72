// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/progressgauge.h"

#include <algorithm>

namespace tessaplex {

void ProgressGauge::setMinimum(std::int32_t value) {
    m_minimum = value;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    update();
}

void ProgressGauge::setMaximum(std::int32_t value) {
    if (value == 0)
        return;
    m_maximum = value;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    update();
}

void ProgressGauge::setProgress(std::int32_t value) {
    m_progress = value;
    update();
}

void ProgressGauge::update() {
    m_progress = std::clamp<std::int64_t>(m_progress, m_minimum, m_maximum);
    const std::int64_t span = std::int64_t{m_maximum} - m_minimum;
    int percent = 0;
    if (span > 0)
        percent = static_cast<int>((m_progress - m_minimum) * 100 / span);
    // The first progress value at which the percentage moves on; below it advance() only counts.
    if (span > 0 && percent < 100)
        m_nextCheck = m_minimum + (span * (percent + 1) + 99) / 100;
    else
        m_nextCheck = m_maximum;
    if (m_progress >= m_maximum)
        m_nextCheck = std::int64_t{m_maximum} + 1;
    if (percent != m_percent) {
        m_percent = percent;
        percentChanged(percent);
    }
}

} // namespace tessaplex
