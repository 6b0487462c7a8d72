// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>

namespace tessaplex {

// Hands the pieces 0 to count - 1 of a job to two threads: one takes them from the front, in
// order, the other from the back, until they meet. The thread in front can thus put its pieces
// straight where they belong, and whichever thread is held up, the other does more of the job.
class TwoEnds {
public:
    explicit TwoEnds(int count)
        : m_back(count - 1) {}

    // The next piece from the front, or -1 when every piece is taken.
    int takeFront() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_front <= m_back ? m_front++ : -1;
    }
    // The next piece from the back, or -1 when every piece is taken.
    int takeBack() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_front <= m_back ? m_back-- : -1;
    }

private:
    std::mutex m_mutex;
    int m_front = 0;
    int m_back;
};

} // namespace tessaplex
