// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/backgroundwork.h"

#include <system_error>

namespace tessaplex {

BackgroundWork::BackgroundWork(std::function<void()> work)
    : m_work(std::move(work)) {
    try {
        m_thread = std::thread([this] {
            try {
                m_work();
            } catch (...) {
                m_failure = std::current_exception();
            }
        });
    } catch (const std::system_error &) {
        // No thread to be had: started() tells the caller.
    }
}

BackgroundWork::~BackgroundWork() {
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundWork::finish() {
    if (m_thread.joinable())
        m_thread.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
}

} // namespace tessaplex
