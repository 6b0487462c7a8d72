// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/twothreadtsv.h"

#include "base/backgroundwork.h"
#include "base/largememory.h"
#include "base/parallelism.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace tessaplex::world {

namespace {

// Below this many rows a thread costs more than it saves.
constexpr int ParallelFrom = 50000;
// The rows are formatted in chunks of this many, taken in turn by the two threads: the second
// thread's text goes through two buffers used again and again rather than memory for half the
// table, which would cost more to fill for the first time than to format.
constexpr int ChunkRows = 16384;
constexpr int Slots = 2;

// The chunks the second thread has formatted and this one has yet to write, one per slot.
class Handover {
public:
    // Second thread: waits until the slot is free; false when this thread has stopped.
    bool waitFree(int slot) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || m_size[slot] < 0; });
        return !m_stopped;
    }
    void fill(int slot, std::size_t size) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_size[slot] = static_cast<long long>(size);
        }
        m_changed.notify_all();
    }
    // This thread: waits until the slot is filled and returns the size of its text; nothing
    // when the second thread has given up.
    std::optional<std::size_t> waitFilled(int slot) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_abandoned || m_size[slot] >= 0; });
        if (m_size[slot] < 0)
            return std::nullopt;
        return static_cast<std::size_t>(m_size[slot]);
    }
    // Second thread: it fills no more slots.
    void abandon() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_abandoned = true;
        }
        m_changed.notify_all();
    }
    void release(int slot) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_size[slot] = -1;
        }
        m_changed.notify_all();
    }
    // This thread writes no more: the second thread is to stop waiting.
    void stop() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    long long m_size[Slots] = {-1, -1};
    bool m_stopped = false;
    bool m_abandoned = false;
};

} // namespace

bool writeTsvOnTwoThreads(int rows, const TsvRowWriters &writers,
                          const std::function<void(std::string_view)> &write) {
    if (!twoThreadsFor(static_cast<std::size_t>(rows), ParallelFrom))
        return false;
    // Forced onto two threads, even a small table goes through several chunks.
    const int chunkRows = parallelism() == Parallelism::AlwaysTwoThreads ? 2 : ChunkRows;
    const int chunks = (rows + chunkRows - 1) / chunkRows;
    if (chunks < 2)
        return false;
    const auto chunkFirst = [&](int c) { return c * chunkRows; };
    const auto chunkLast = [&](int c) { return std::min(rows, (c + 1) * chunkRows); };
    // The second thread's first chunk is a full one, unless it is the last.
    const std::size_t room = writers.roomFor(chunkFirst(1), chunkLast(1));
    LargeArray<char> buffers[Slots] = {LargeArray<char>(room), LargeArray<char>(room)};
    Handover handover;
    // The second thread formats the odd chunks, in turn into the two buffers. It reads nothing
    // that this thread writes while it runs but what the handover guards.
    BackgroundWork worker([&formatAt = writers.formatAt, &buffers, &handover, chunks, chunkRows,
                           rows] {
        try {
            for (int c = 1; c < chunks; c += 2) {
                const int slot = (c / 2) % Slots;
                if (!handover.waitFree(slot))
                    return;
                char *out = buffers[slot].data();
                const int last = std::min(rows, (c + 1) * chunkRows);
                handover.fill(slot,
                              static_cast<std::size_t>(formatAt(c * chunkRows, last, out) - out));
            }
        } catch (...) {
            handover.abandon();
            throw;
        }
    });
    if (!worker.started())
        return false;
    struct StopOnExit {
        Handover &handover;
        ~StopOnExit() { handover.stop(); }
    } stopOnExit{handover};
    // This thread formats the even chunks, row 0 (the heading row) among them, and writes every
    // chunk in order.
    for (int c = 0; c < chunks; c += 2) {
        writers.writeHere(chunkFirst(c), chunkLast(c));
        if (c + 1 == chunks)
            break;
        const int slot = ((c + 1) / 2) % Slots;
        const std::optional<std::size_t> filled = handover.waitFilled(slot);
        if (!filled)
            break; // finish() tells why
        const std::size_t size = *filled;
        for (std::size_t at = 0; at < size; at += TsvPieceSize)
            write({buffers[slot].data() + at, std::min(TsvPieceSize, size - at)});
        handover.release(slot);
    }
    worker.finish();
    return true;
}

} // namespace tessaplex::world
