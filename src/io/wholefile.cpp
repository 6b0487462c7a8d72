// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/wholefile.h"

#include "base/error.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tessaplex::io {

namespace {

Error cannotOpen(const std::string &path) {
    return Error("Cannot open file " + path);
}

Error tooLarge(const std::string &path, std::uint64_t maxBytes) {
    return Error("The file " + path + " is larger than " + std::to_string(maxBytes) +
                 " bytes; a file this large is not read");
}

bool isAbsent(int error) {
    // ENOTDIR: a path through a file that is no folder names nothing, as a missing folder does.
    return error == ENOENT || error == ENOTDIR;
}

#ifdef _WIN32
// Windows opens no pipe, socket or device through a plain path, and opening never waits; the
// opened file is still asked what it is.
int openDescriptor(const std::string &path) {
    return _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
bool isRegular(int descriptor, std::uint64_t &size) {
    struct _stat64 status;
    if (_fstat64(descriptor, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}
bool makeBlocking(int) {
    return true;
}
long long readSome(int descriptor, char *out, std::size_t count) {
    constexpr std::size_t Most = std::size_t{1} << 30;
    return _read(descriptor, out, static_cast<unsigned>(count < Most ? count : Most));
}
void closeDescriptor(int descriptor) {
    _close(descriptor);
}
#else
int openDescriptor(const std::string &path) {
    // O_NONBLOCK: opening a pipe would otherwise wait until someone writes to it.
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}
bool isRegular(int descriptor, std::uint64_t &size) {
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}
bool makeBlocking(int descriptor) {
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags >= 0 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}
long long readSome(int descriptor, char *out, std::size_t count) {
    long long n;
    do {
        n = ::read(descriptor, out, count);
    } while (n < 0 && errno == EINTR);
    return n;
}
void closeDescriptor(int descriptor) {
    ::close(descriptor);
}
#endif

} // namespace

std::optional<WholeFile> WholeFile::open(const std::string &path, std::uint64_t maxBytes) {
    const int descriptor = openDescriptor(path);
    if (descriptor < 0) {
        if (isAbsent(errno))
            return std::nullopt;
        throw cannotOpen(path);
    }
    WholeFile file(descriptor, path, 0, maxBytes);
    if (!isRegular(descriptor, file.m_size) || !makeBlocking(descriptor))
        throw cannotOpen(path);
    if (file.m_size > maxBytes)
        throw tooLarge(path, maxBytes);
    return file;
}

std::optional<std::string> WholeFile::readAll(const std::string &path, std::uint64_t maxBytes) {
    std::optional<WholeFile> file = open(path, maxBytes);
    if (!file)
        return std::nullopt;
    // One byte more than the file holds, so that a short read tells its end; a file that grew
    // meanwhile is read on into more room.
    std::string bytes(static_cast<std::size_t>(file->size()) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        const std::size_t wanted = bytes.size() - used;
        const std::size_t n = file->read(bytes.data() + used, wanted);
        used += n;
        if (n < wanted)
            break;
        // Never more room than the bound allows: reading stops there anyway.
        const std::uint64_t most = maxBytes < UINT64_MAX ? maxBytes + 1 : maxBytes;
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() * 2, most)));
    }
    bytes.resize(used);
    return bytes;
}

WholeFile::WholeFile(int descriptor, std::string path, std::uint64_t size, std::uint64_t maxBytes)
    : m_descriptor(descriptor)
    , m_path(std::move(path))
    , m_size(size)
    , m_maxBytes(maxBytes) {}

WholeFile::WholeFile(WholeFile &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_path(std::move(other.m_path))
    , m_size(other.m_size)
    , m_maxBytes(other.m_maxBytes)
    , m_done(other.m_done) {}

WholeFile &WholeFile::operator=(WholeFile &&other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0)
            closeDescriptor(m_descriptor);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_path = std::move(other.m_path);
        m_size = other.m_size;
        m_maxBytes = other.m_maxBytes;
        m_done = other.m_done;
    }
    return *this;
}

WholeFile::~WholeFile() {
    if (m_descriptor >= 0)
        closeDescriptor(m_descriptor);
}

std::size_t WholeFile::read(char *out, std::size_t count) {
    const std::uint64_t left = m_maxBytes - m_done;
    const std::size_t wanted = count < left ? count : static_cast<std::size_t>(left);
    const std::size_t n = readFully(out, wanted);
    m_done += n;
    // The bound is reached while more was asked for: the file must end here.
    if (n == wanted && wanted < count && readsPastTheBound())
        throw tooLarge(m_path, m_maxBytes);
    return n;
}

int WholeFile::releaseDescriptor() {
    return std::exchange(m_descriptor, -1);
}

std::size_t WholeFile::readFully(char *out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const long long n = readSome(m_descriptor, out + done, count - done);
        if (n < 0)
            throw cannotOpen(m_path);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool WholeFile::readsPastTheBound() {
    char probe;
    return readFully(&probe, 1) == 1;
}

} // namespace tessaplex::io
