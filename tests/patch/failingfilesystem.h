// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/realfilesystem.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tessaplex::test {

// The real files, with every operation counted and the one numbered failAt (from 1) made to
// fail: opening and creating give no file, a write writes half its bytes, a rename or a removal
// does nothing, exists() cannot tell (and so answers true), status() gives nothing. failAt 0
// lets every operation succeed, to count them. With Dies, every operation from failAt on fails,
// as if the process had died there.
class FailingFileSystem : public io::FileSystem {
public:
    enum class Mode { FailsOnce, Dies };

    explicit FailingFileSystem(int failAt = 0, Mode mode = Mode::FailsOnce)
        : m_failAt(failAt)
        , m_mode(mode) {}

    [[nodiscard]] int operations() const { return m_count; }
    // One line per operation, "<number> <operation> <path>", for failure messages.
    [[nodiscard]] const std::vector<std::string> &log() const { return m_log; }
    [[nodiscard]] std::string logText() const;
    // False when this operation is the one to fail; counts it.
    bool step(const std::string &what);
    // Called before each counted operation with its log text, to act as another program would
    // at that moment.
    std::function<void(const std::string &)> beforeStep;

    io::OpenedFile openToRead(const std::string &path) override;
    std::unique_ptr<io::File> createNew(const std::string &path,
                                        const std::string &permissionsOf) override;
    bool rename(const std::string &from, const std::string &to, Rename mode) override;
    bool remove(const std::string &path) override;
    // Best effort, so it never fails; not counted, and like File::sync not passed on.
    void syncFolderOf(const std::string &) override {}
    bool exists(const std::string &path) override;
    std::optional<io::FileStatus> status(const std::string &path) override;
    // None of these fails, so that every run reaches the file operations; not counted.
    std::optional<std::string> followLinks(const std::string &path) override {
        return m_real.followLinks(path);
    }
    std::unique_ptr<io::FolderLock> lockFolderOf(const std::string &path) override {
        return m_real.lockFolderOf(path);
    }
    bool inUseByAnotherProgram(const std::string &path) override {
        return m_real.inUseByAnotherProgram(path);
    }

private:
    int m_failAt;
    Mode m_mode;
    // PATCH may write the world file and the static files on two threads.
    std::mutex m_mutex;
    int m_count = 0;
    std::vector<std::string> m_log;
    io::RealFileSystem m_real;
};

} // namespace tessaplex::test
