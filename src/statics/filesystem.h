// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "statics/file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaplex::statics {

// Size and modification time of a file, to tell whether another program changed it.
struct FileStatus {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in the file system's own clock ticks

    friend bool operator==(const FileStatus &a, const FileStatus &b) {
        return a.size == b.size && a.modified == b.modified;
    }
    friend bool operator!=(const FileStatus &a, const FileStatus &b) { return !(a == b); }
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

    // Opens an existing file for reading from its start; nothing when it cannot be opened.
    [[nodiscard]] virtual std::unique_ptr<File> openForReading(const std::string &path) = 0;
    // Creates a new, empty file for writing; fails when a file of that name exists. The new
    // file gets the access rights of permissionsOf when that file exists.
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
    // Size and modification time of an existing file; nothing when there is none or it cannot
    // be looked up.
    [[nodiscard]] virtual std::optional<FileStatus> status(const std::string &path) = 0;
};

} // namespace tessaplex::statics
