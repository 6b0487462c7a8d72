// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaplex::io {

// What tells one file from another and a changed file from the same one: an edit in place that
// puts the old size and modification time back still moves the change time, which no program
// can set.
struct FileStatus {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in nanoseconds of the file system's clock
    std::int64_t changed = 0;  // the last change of contents or attributes, likewise
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t links = 1; // names of the file (hard links)

    friend bool operator==(const FileStatus &a, const FileStatus &b) {
        return a.size == b.size && a.modified == b.modified && a.changed == b.changed &&
               a.device == b.device && a.inode == b.inode;
    }
    friend bool operator!=(const FileStatus &a, const FileStatus &b) { return !(a == b); }
};

// A file opened for reading, with its size at the opening. No file: absent when nothing bears
// the name (or the path runs through something that is no folder), else it could not be read
// as a regular file.
struct OpenedFile {
    std::unique_ptr<File> file;
    std::uint64_t size = 0;
    bool absent = false;
};

// Held while one run works on the files of a folder; released when destroyed, also by a process
// that dies.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

// The file operations of PATCH, behind an interface so that tests can make any one of them fail.
// Paths are native paths. Every operation reports failure by its result and never throws.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    enum class Rename {
        NoReplace, // fails when a file of the new name exists
        Replace    // an existing file of the new name is replaced in one step
    };

    // Opens a regular file, links followed, for reading from its start. Never waits: a pipe,
    // a device or a folder in the file's place is refused, judged by the opened file itself so
    // that nothing swapped in between slips through.
    [[nodiscard]] virtual OpenedFile openToRead(const std::string &path) = 0;
    // openToRead's file alone: nothing when it cannot be opened.
    [[nodiscard]] std::unique_ptr<File> openForReading(const std::string &path) {
        return openToRead(path).file;
    }
    // Creates a new, empty file for writing; fails when a file of that name exists. The new
    // file gets the access rights, and where the system allows it the owner and group, of
    // permissionsOf when that file exists.
    [[nodiscard]] virtual std::unique_ptr<File> createNew(const std::string &path,
                                                          const std::string &permissionsOf) = 0;
    [[nodiscard]] virtual bool rename(const std::string &from, const std::string &to,
                                      Rename mode) = 0;
    [[nodiscard]] virtual bool remove(const std::string &path) = 0;
    // Returns once the entries of path's folder (the names renamed or removed in it) are on the
    // disk. Best effort: where a folder cannot be synced, the entries are still correct.
    virtual void syncFolderOf(const std::string &path) = 0;
    // False only when it is certain that nothing bears the name; a name that cannot be looked up
    // counts as taken.
    [[nodiscard]] virtual bool exists(const std::string &path) = 0;
    // The status of an existing file, links followed; nothing when there is none or it cannot
    // be looked up.
    [[nodiscard]] virtual std::optional<FileStatus> status(const std::string &path) = 0;
    // The file that path names once symbolic links are followed: path itself when it is no
    // link; nothing when a link leads nowhere or in a circle.
    [[nodiscard]] virtual std::optional<std::string> followLinks(const std::string &path) = 0;
    // Locks path's folder against other runs of this program; nothing when another process
    // holds the lock. Where the system has no such lock, every call succeeds.
    [[nodiscard]] virtual std::unique_ptr<FolderLock> lockFolderOf(const std::string &path) = 0;
    // True when another program holds the file open so that it can be neither written nor
    // replaced now (on Windows, a running server keeps its map files so). Where the system has
    // no such hold, always false.
    [[nodiscard]] virtual bool inUseByAnotherProgram(const std::string &path) = 0;
};

} // namespace tessaplex::io
