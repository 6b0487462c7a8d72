// SPDX-License-Identifier: GPL-3.0-or-later
// The file layer on Windows; realfilesystem_posix.cpp is its counterpart. Every call to the system
// takes the path as wide characters, made from the program's UTF-8, so that any folder name works.
#include "io/realfilesystem.h"

#include "io/digest.h"
#include "io/systempath.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include <windows.h>

namespace tessaplex::io {

namespace {

// Our own handles share everything, so that they never stand in the way of the server or of a
// rename of the file they read.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD MaxChunk = 1u << 30;

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE handle)
        : h(handle) {}
    ~Handle() {
        if (ok())
            CloseHandle(h);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    [[nodiscard]] bool ok() const { return h != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(h, INVALID_HANDLE_VALUE); }
};

// Opens what bears the name, file or folder, only to look at it.
HANDLE openToLookAt(const std::string &path) {
    return CreateFileW(wideText(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool nameIsFree(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// File times count 100 ns from 1601; FileStatus counts nanoseconds from 1970.
std::int64_t nanoseconds(LARGE_INTEGER time) {
    constexpr std::int64_t From1601To1970 = 116444736000000000;
    return (time.QuadPart - From1601To1970) * 100;
}

class RealFile : public File {
public:
    explicit RealFile(HANDLE handle)
        : m_handle(handle) {}
    ~RealFile() override {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    RealFile(const RealFile &) = delete;
    RealFile &operator=(const RealFile &) = delete;

    std::optional<std::size_t> read(void *data, std::size_t size) override {
        DWORD n = 0;
        if (!ReadFile(m_handle, data, static_cast<DWORD>(std::min<std::size_t>(size, MaxChunk)), &n,
                      nullptr))
            return std::nullopt;
        return n;
    }

    bool write(const void *data, std::size_t size) override {
        const char *p = static_cast<const char *>(data);
        while (size > 0) {
            DWORD n = 0;
            if (!WriteFile(m_handle, p, static_cast<DWORD>(std::min<std::size_t>(size, MaxChunk)),
                           &n, nullptr) ||
                n == 0)
                return false;
            p += n;
            size -= n;
        }
        return true;
    }

    bool seek(std::uint64_t offset) override {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(m_handle, to, nullptr, FILE_BEGIN) != 0;
    }
    bool sync() override { return FlushFileBuffers(m_handle) != 0; }
    bool close() override {
        const HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
        return handle != INVALID_HANDLE_VALUE && CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// The folder that path lies in, for the names this program derives from it.
std::string folderOf(const std::string &path) {
    const std::filesystem::path parent = systemPath(path).parent_path();
    return parent.empty() ? std::string(".") : pathText(parent);
}

// The name the system resolves a handle to: links followed, without the "\\?\" of long paths.
std::optional<std::string> finalName(HANDLE handle) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0)
            return std::nullopt;
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(n + 1);
    }
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0)
        name = L"\\\\" + name.substr(8);
    else if (name.rfind(L"\\\\?\\", 0) == 0)
        name = name.substr(4);
    return utf8Text(name);
}

class RealFolderLock : public FolderLock {
public:
    explicit RealFolderLock(HANDLE mutex)
        : m_mutex(mutex) {}
    ~RealFolderLock() override {
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    RealFolderLock(const RealFolderLock &) = delete;
    RealFolderLock &operator=(const RealFolderLock &) = delete;

private:
    HANDLE m_mutex;
};

} // namespace

OpenedFile RealFileSystem::openToRead(const std::string &path) {
    OpenedFile opened;
    // Windows opens no pipe through a plain path and never waits on opening; a folder opens
    // only with backup semantics, which this does not ask for.
    Handle file(CreateFileW(wideText(path).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        opened.absent = nameIsFree(GetLastError());
        return opened;
    }
    LARGE_INTEGER size;
    if (GetFileType(file.h) != FILE_TYPE_DISK || !GetFileSizeEx(file.h, &size))
        return opened;
    opened.size = static_cast<std::uint64_t>(size.QuadPart);
    opened.file = std::make_unique<RealFile>(file.release());
    return opened;
}

// The new file takes the access rights the folder passes on to its files, as every file made
// there does; a write-protected target is refused before it comes to that.
std::unique_ptr<File> RealFileSystem::createNew(const std::string &path, const std::string &) {
    const HANDLE handle = CreateFileW(wideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<RealFile>(handle);
}

// The rename reaches the disk before the call returns; replacing swaps the name in one step.
bool RealFileSystem::rename(const std::string &from, const std::string &to, Rename mode) {
    DWORD flags = MOVEFILE_WRITE_THROUGH;
    if (mode == Rename::Replace)
        flags |= MOVEFILE_REPLACE_EXISTING;
    return MoveFileExW(wideText(from).c_str(), wideText(to).c_str(), flags) != 0;
}

bool RealFileSystem::remove(const std::string &path) {
    return DeleteFileW(wideText(path).c_str()) != 0;
}

// Renames are written through (MOVEFILE_WRITE_THROUGH) and the file system journals its
// folders; there is no folder to flush besides.
void RealFileSystem::syncFolderOf(const std::string &) {}

bool RealFileSystem::exists(const std::string &path) {
    if (GetFileAttributesW(wideText(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    return !nameIsFree(GetLastError());
}

// The volume's serial number and the file's index tell files apart as device and inode do; the
// change time moves with every change of contents or attributes, which no program can set back.
std::optional<FileStatus> RealFileSystem::status(const std::string &path) {
    Handle file(openToLookAt(path));
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO times;
    if (!file.ok() || !GetFileInformationByHandle(file.h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !GetFileInformationByHandleEx(file.h, FileBasicInfo, &times, sizeof times))
        return std::nullopt;
    FileStatus status;
    status.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    status.modified = nanoseconds(times.LastWriteTime);
    status.changed = nanoseconds(times.ChangeTime);
    status.device = info.dwVolumeSerialNumber;
    status.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    status.links = info.nNumberOfLinks;
    return status;
}

std::optional<std::string> RealFileSystem::followLinks(const std::string &path) {
    const DWORD attributes = GetFileAttributesW(wideText(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return nameIsFree(GetLastError()) ? std::optional{path} : std::nullopt;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    Handle file(openToLookAt(path));
    if (!file.ok())
        return std::nullopt;
    return finalName(file.h);
}

// A named mutex per folder: the system releases it when its process ends, however it ends. The
// name comes from the folder's full name, upper-cased as the file system compares names.
std::unique_ptr<FolderLock> RealFileSystem::lockFolderOf(const std::string &path) {
    Handle folder(openToLookAt(folderOf(path)));
    std::optional<std::string> name;
    if (folder.ok())
        name = finalName(folder.h);
    if (!name)
        return std::make_unique<RealFolderLock>(nullptr); // nothing to write there
    std::wstring wide = wideText(*name);
    std::transform(wide.begin(), wide.end(), wide.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    const std::string key = utf8Text(wide);
    const std::wstring mutexName = L"Local\\tessaplex-folder-" + std::to_wstring(digestOf(key)) +
                                   L"-" + std::to_wstring(key.size());
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    if (!mutex)
        return std::make_unique<RealFolderLock>(nullptr);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return nullptr;
    }
    return std::make_unique<RealFolderLock>(mutex);
}

// Asks for the rights that writing and replacing need, leaving every other program its own: a
// program that opened the file without sharing writing or deleting makes this fail.
bool RealFileSystem::inUseByAnotherProgram(const std::string &path) {
    Handle file(CreateFileW(wideText(path).c_str(), GENERIC_WRITE | DELETE, ShareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.ok() && GetLastError() == ERROR_SHARING_VIOLATION;
}

} // namespace tessaplex::io
