// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/standin.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaplex::test {

namespace fs = std::filesystem;

const char *standInName(StandIn standIn) {
    switch (standIn) {
    case StandIn::Missing:
        return "missing";
    case StandIn::Folder:
        return "folder";
    case StandIn::Pipe:
        return "pipe";
    case StandIn::LinkToZeroes:
        return "link to /dev/zero";
    case StandIn::LinkToFile:
        return "link to a file";
    }
    return "?";
}

void placeStandIn(StandIn standIn, const std::string &path, std::string_view bytes) {
    std::error_code ec;
    fs::remove_all(path, ec);
    switch (standIn) {
    case StandIn::Missing:
        return;
    case StandIn::Folder:
        fs::create_directory(path);
        return;
    case StandIn::Pipe:
#ifdef _WIN32
        throw std::runtime_error("no pipe can stand at a path on Windows");
#else
        if (mkfifo(path.c_str(), 0600) != 0)
            throw std::runtime_error("cannot make the pipe " + path);
        return;
#endif
    case StandIn::LinkToZeroes:
        fs::create_symlink("/dev/zero", path);
        return;
    case StandIn::LinkToFile:
        writeFile(path + ".target", bytes);
        fs::create_symlink(path + ".target", path);
        return;
    }
}

PipeWatchdog::PipeWatchdog(std::string path)
    : m_path(std::move(path))
    , m_thread([this] { watch(); }) {}

PipeWatchdog::~PipeWatchdog() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_finished.notify_one();
    m_thread.join();
}

void PipeWatchdog::watch() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_finished.wait_for(lock, std::chrono::seconds(3), [this] { return m_done; }))
        return;
    ADD_FAILURE() << "still waiting on the pipe " << m_path << " after 3 seconds";
    // A writer that comes and goes lets a waiting open go on, and a waiting read end.
    while (!m_finished.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; })) {
#ifndef _WIN32
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
#endif
    }
}

} // namespace tessaplex::test
