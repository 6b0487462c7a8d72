// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaplex {

// Minimum, maximum and progress of a long command, with the bar's value rules: progress is kept
// within minimum and maximum, and a maximum of 0 leaves the maximum as it was. A shell draws it
// by overriding percentChanged(), which is called only when the whole-number percentage changes,
// so that loops may call advance() once per line at almost no cost.
class ProgressGauge {
public:
    virtual ~ProgressGauge() = default;

    void setMinimum(std::int32_t value);
    void setMaximum(std::int32_t value);
    void setProgress(std::int32_t value);

    // progress := progress + by, kept within the range.
    void advance(std::int32_t by = 1) {
        m_progress += by;
        if (m_progress >= m_nextCheck || by < 0)
            update();
    }

    // How many single steps of advance() can pass before the percentage may change: a loop may
    // do that many steps and then advance() by all of them at once, with the same effect.
    [[nodiscard]] std::int64_t stepsBeforeChange() const {
        return m_nextCheck > m_progress ? m_nextCheck - m_progress : 1;
    }

    [[nodiscard]] std::int32_t minimum() const { return m_minimum; }
    [[nodiscard]] std::int32_t maximum() const { return m_maximum; }
    [[nodiscard]] std::int32_t progress() const { return static_cast<std::int32_t>(m_progress); }
    // floor((progress - minimum) * 100 / (maximum - minimum)); 0 when maximum equals minimum.
    [[nodiscard]] int percent() const { return m_percent; }

protected:
    virtual void percentChanged(int percent) { (void)percent; }

private:
    void update();

    std::int32_t m_minimum = 0;
    std::int32_t m_maximum = 100;
    std::int64_t m_progress = 0;
    std::int64_t m_nextCheck = 0;
    int m_percent = 0;
};

} // namespace tessaplex
