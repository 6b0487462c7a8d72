// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/filemapping.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>

#ifndef _WIN32
#include "io/posixstatus.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaplex::io {

namespace {

std::atomic<Mapping> g_mapping{Mapping::Automatic};

#ifndef _WIN32
// Longer than the coarsest clock of a file system that a shard's files live on (two seconds).
constexpr std::int64_t QuietNanoseconds = std::int64_t{3} * 1000000000;

bool changedRecently(const FileStatus &status) {
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    // Times ahead of the clock count as recent: nothing can be said of the next change.
    return std::max(status.modified, status.changed) > now - QuietNanoseconds;
}

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};
#endif

} // namespace

void setMapping(Mapping mapping) {
    g_mapping = mapping;
}

Mapping mapping() {
    return g_mapping;
}

std::optional<FileMapping> FileMapping::map(const std::string &path, std::uint64_t maxBytes,
                                            std::size_t zeroBytesAfter) {
#ifdef _WIN32
    // A mapped file cannot be renamed or replaced on Windows, which would stop the server from
    // saving its world while the table is open: there files are always read.
    (void)path;
    (void)maxBytes;
    (void)zeroBytesAfter;
    return std::nullopt;
#else
    if (g_mapping == Mapping::Never)
        return std::nullopt;
    // Without O_NONBLOCK a FIFO in the file's place would hang the open.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return std::nullopt;
    const FileStatus status = statusOf(st);
    if (g_mapping == Mapping::Automatic && changedRecently(status))
        return std::nullopt;

    const auto size = static_cast<std::size_t>(status.size);
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    // The file's pages, then enough pages of zeros: the bytes after the end of a file within its
    // last page read as zero, and the reservation's own pages follow.
    const std::size_t length = (size + zeroBytesAfter + page - 1) / page * page;
    void *reserved =
        ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED)
        return std::nullopt;
    // The pages are brought in at once: one call instead of a fault for every few of them.
    void *mapped =
        ::mmap(reserved, size, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd.get(), 0);
    if (mapped == MAP_FAILED) {
        ::munmap(reserved, length);
        return std::nullopt;
    }
    return FileMapping(static_cast<const char *>(mapped), size, length, status);
#endif
}

FileMapping::FileMapping(FileMapping &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_length(std::exchange(other.m_length, 0))
    , m_status(other.m_status) {}

FileMapping &FileMapping::operator=(FileMapping &&other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_length = std::exchange(other.m_length, 0);
        m_status = other.m_status;
    }
    return *this;
}

FileMapping::~FileMapping() {
    release();
}

void FileMapping::release() noexcept {
#ifndef _WIN32
    if (m_data)
        ::munmap(const_cast<char *>(m_data), m_length);
#endif
    m_data = nullptr;
}

} // namespace tessaplex::io
