// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

namespace tessaplex::io {

// The operating system's files: realfilesystem_posix.cpp or realfilesystem_windows.cpp.
class RealFileSystem : public FileSystem {
public:
    OpenedFile openToRead(const std::string &path) override;
    std::unique_ptr<File> createNew(const std::string &path,
                                    const std::string &permissionsOf) override;
    bool rename(const std::string &from, const std::string &to, Rename mode) override;
    bool remove(const std::string &path) override;
    void syncFolderOf(const std::string &path) override;
    bool exists(const std::string &path) override;
    std::optional<FileStatus> status(const std::string &path) override;
    std::optional<std::string> followLinks(const std::string &path) override;
    std::unique_ptr<FolderLock> lockFolderOf(const std::string &path) override;
    bool inUseByAnotherProgram(const std::string &path) override;
};

} // namespace tessaplex::io
