// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/realfilesystem.h"

#include "io/posixstatus.h"

// The file layer on POSIX systems; realfilesystem_windows.cpp is its counterpart.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaplex::io {

namespace fs = std::filesystem;

namespace {

constexpr int ReadFlags = O_RDONLY | O_CLOEXEC;
constexpr int CreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
// The most one write() call hands over. Linux fills the page cache with pages as large as the
// write: a write of 2 MiB or more asks for huge pages, which the system may first have to make
// room for by moving memory about, and which then made writing ten times slower than 1 MiB
// pieces on our test machine.
constexpr std::size_t MaxWrite = std::size_t{1} << 20;

int openFile(const std::string &path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
long long readSome(int fd, void *data, std::size_t size) {
    return ::read(fd, data, size);
}
long long writeSome(int fd, const void *data, std::size_t size) {
    return ::write(fd, data, std::min(size, MaxWrite));
}
bool seekTo(int fd, std::uint64_t offset) {
    return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}
bool syncFd(int fd) {
    return ::fsync(fd) == 0;
}
// Asks the system to start writing a stretch of the file to the disk now, without waiting, so
// that the final sync finds most of a large file already written.
void startWriteBack(int fd, std::uint64_t offset, std::uint64_t size) {
#if defined(__linux__)
    (void)::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                            SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
    (void)offset;
    (void)size;
#endif
}
bool closeFd(int fd) {
    // After a failed close the descriptor is gone all the same; it must not be closed again.
    return ::close(fd) == 0;
}
// Best effort: a file that keeps the default rights is still a correct file. The owner comes
// first, as changing it may clear the set-ID bits that the mode then puts back. A server that
// runs as a user of its own must still be able to read the file that replaces its own.
void copyPermissions(int fd, const std::string &model) {
    struct stat st;
    if (model.empty() || ::stat(model.c_str(), &st) != 0)
        return;
    if (::fchown(fd, st.st_uid, st.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid); // a member may still set the group
    (void)::fchmod(fd, st.st_mode & 07777);
}
void syncFolder(const std::string &path) {
    const fs::path parent = fs::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const int fd = openFile(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

bool renameNoReplace(const std::string &from, const std::string &to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
#endif
    // Without an atomic no-replace rename: a hard link fails when the name is taken.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0)
            return true;
        (void)::unlink(to.c_str());
        return false;
    }
    if (errno == EEXIST)
        return false;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec)) || ec)
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

class RealFile : public File {
public:
    explicit RealFile(int fd)
        : m_fd(fd) {}
    ~RealFile() override {
        if (m_fd >= 0)
            (void)closeFd(m_fd);
    }
    RealFile(const RealFile &) = delete;
    RealFile &operator=(const RealFile &) = delete;

    std::optional<std::size_t> read(void *data, std::size_t size) override {
        long long n;
        do {
            n = readSome(m_fd, data, size);
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return std::nullopt;
        return static_cast<std::size_t>(n);
    }

    bool write(const void *data, std::size_t size) override {
        const char *p = static_cast<const char *>(data);
        while (size > 0) {
            const long long n = writeSome(m_fd, p, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            size -= static_cast<std::size_t>(n);
            m_written += static_cast<std::uint64_t>(n);
        }
        if (m_written - m_writtenBack >= WriteBackStep) {
            startWriteBack(m_fd, m_writtenBack, m_written - m_writtenBack);
            m_writtenBack = m_written;
        }
        return true;
    }

    bool seek(std::uint64_t offset) override { return seekTo(m_fd, offset); }
    bool sync() override { return syncFd(m_fd); }

    bool close() override {
        const int fd = m_fd;
        m_fd = -1;
        return fd >= 0 && closeFd(fd);
    }

private:
    static constexpr std::uint64_t WriteBackStep = std::uint64_t{8} << 20;

    int m_fd;
    std::uint64_t m_written = 0;     // bytes written from the start; files are written in order
    std::uint64_t m_writtenBack = 0; // bytes whose write-back was started
};

} // namespace

OpenedFile RealFileSystem::openToRead(const std::string &path) {
    OpenedFile opened;
    // Without O_NONBLOCK a FIFO in a file's place would hang the open.
    const int fd = openFile(path, ReadFlags | O_NONBLOCK | O_NOCTTY);
    struct stat st;
    const bool regular = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                         ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (fd < 0) {
        opened.absent = errno == ENOENT || errno == ENOTDIR;
        return opened;
    }
    if (!regular) {
        (void)closeFd(fd);
        return opened;
    }
    opened.size = static_cast<std::uint64_t>(st.st_size);
    opened.file = std::make_unique<RealFile>(fd);
    return opened;
}

std::unique_ptr<File> RealFileSystem::createNew(const std::string &path,
                                                const std::string &permissionsOf) {
    const int fd = openFile(path, CreateFlags);
    if (fd < 0)
        return nullptr;
    copyPermissions(fd, permissionsOf);
    return std::make_unique<RealFile>(fd);
}

bool RealFileSystem::rename(const std::string &from, const std::string &to, Rename mode) {
    return mode == Rename::NoReplace ? renameNoReplace(from, to)
                                     : std::rename(from.c_str(), to.c_str()) == 0;
}

bool RealFileSystem::remove(const std::string &path) {
    return std::remove(path.c_str()) == 0;
}

void RealFileSystem::syncFolderOf(const std::string &path) {
    syncFolder(path);
}

bool RealFileSystem::exists(const std::string &path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec)
        return ec != std::errc::no_such_file_or_directory;
    return status.type() != fs::file_type::not_found;
}

std::optional<FileStatus> RealFileSystem::status(const std::string &path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return statusOf(st);
}

std::optional<std::string> RealFileSystem::followLinks(const std::string &path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec))
        return ec && ec != std::errc::no_such_file_or_directory ? std::nullopt
                                                                : std::optional{path};
    // Every link on the way is resolved, so the result names the file itself.
    const fs::path target = fs::canonical(path, ec);
    if (ec)
        return std::nullopt;
    return target.string();
}

namespace {

class RealFolderLock : public FolderLock {
public:
    explicit RealFolderLock(int fd)
        : m_fd(fd) {}
    ~RealFolderLock() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RealFolderLock(const RealFolderLock &) = delete;
    RealFolderLock &operator=(const RealFolderLock &) = delete;

private:
    int m_fd;
};

} // namespace

std::unique_ptr<FolderLock> RealFileSystem::lockFolderOf(const std::string &path) {
    const fs::path parent = fs::path(path).parent_path();
    const int fd =
        openFile(parent.empty() ? std::string(".") : parent.string(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::make_unique<RealFolderLock>(-1); // nothing to lock: nothing to write there
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return nullptr;
    }
    // Any other failure means the file system has no such locks; the run goes on without.
    return std::make_unique<RealFolderLock>(fd);
}

// Files here are never locked against renaming: a running program keeps the file it opened.
bool RealFileSystem::inUseByAnotherProgram(const std::string &) {
    return false;
}

} // namespace tessaplex::io
