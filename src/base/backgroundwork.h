// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>
#include <thread>

namespace tessaplex {

// One piece of work run on a second thread while this one does its own share. What the work
// throws is kept and rethrown by finish(); the destructor waits for the work too, so that this
// thread may leave by an exception without a thread still running on its data.
class BackgroundWork {
public:
    // Starts work on a new thread. When no thread can be had, the work does not run and
    // started() is false: the caller then does it all itself.
    explicit BackgroundWork(std::function<void()> work);
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork &) = delete;
    BackgroundWork &operator=(const BackgroundWork &) = delete;

    [[nodiscard]] bool started() const { return m_thread.joinable(); }
    // Waits for the work to end and rethrows what it threw.
    void finish();

private:
    std::function<void()> m_work;
    std::exception_ptr m_failure;
    std::thread m_thread; // last: it starts running once everything else is there
};

} // namespace tessaplex
