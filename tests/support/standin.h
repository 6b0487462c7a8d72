// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tessaplex::test {

// What can stand where a program expects a file to read.
enum class StandIn {
    Missing,      // nothing
    Folder,       // a folder: there, but no file to read
    Pipe,         // a FIFO no one writes to: a plain open of it waits forever
    LinkToZeroes, // a link to /dev/zero: a read of it never ends
    LinkToFile,   // a link to a regular file holding the given bytes
};

#ifdef _WIN32
// Windows opens no pipe through a plain path, has no /dev/zero, and makes symbolic links only
// with a privilege: what can stand there is nothing or a folder.
inline constexpr StandIn EveryStandIn[] = {StandIn::Missing, StandIn::Folder};
#else
inline constexpr StandIn EveryStandIn[] = {StandIn::Missing, StandIn::Folder, StandIn::Pipe,
                                           StandIn::LinkToZeroes, StandIn::LinkToFile};
#endif

[[nodiscard]] const char *standInName(StandIn standIn);

// Puts standIn at path, replacing whatever stood there; the file a link names lies beside path.
void placeStandIn(StandIn standIn, const std::string &path, std::string_view bytes = {});

// Watches a pipe while the code under test runs: should the code still run after a few seconds,
// it is taken to wait on the pipe; the watchdog then opens and closes the pipe for writing, which
// lets the code go on, and fails the test. A test thus fails instead of hanging.
class PipeWatchdog {
public:
    explicit PipeWatchdog(std::string path);
    ~PipeWatchdog();
    PipeWatchdog(const PipeWatchdog &) = delete;
    PipeWatchdog &operator=(const PipeWatchdog &) = delete;

private:
    void watch();

    std::string m_path;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread; // last: it starts once everything else is there
};

} // namespace tessaplex::test
