// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/bufferedwriter.h"
#include "io/digest.h"
#include "io/filesystem.h"

#include <memory>
#include <string>

namespace tessaplex::io {

// New contents for a file, made completely beside it before anything happens to the file itself,
// so that a failure or a crash leaves the old file whole: the settings file, the filter list and
// PATCH's three files are all replaced this way. The new file takes the target's owner, group
// and access rights. Unless it is put in place or kept, the new file is removed again when the
// object goes.
class Replacement {
public:
    // Creates the new file at name, which must not exist yet, for target (links already
    // followed). Throws Error("Cannot create file <name>").
    Replacement(FileSystem &files, std::string target, std::string name);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    [[nodiscard]] const std::string &target() const { return m_target; }
    [[nodiscard]] const std::string &name() const { return m_name; }

    // Where the new contents go; a failed write shows at finish().
    [[nodiscard]] BufferedWriter &out() { return *m_out; }
    // The digest of every byte written so far.
    [[nodiscard]] std::uint64_t digest() const { return m_digest.value(); }

    // Writes out what is buffered, flushes the file to the disk and closes it. Throws
    // Error("Cannot write file <name>").
    void finish();
    // After finish(): renames the new file over the target in one step. Throws Error.
    void putInPlace();
    // After finish(): leaves the new file under its name for a later switch.
    void keep() { m_owned = false; }
    // Removes the new file now; false when it could not be removed.
    [[nodiscard]] bool discard();

private:
    FileSystem &m_files;
    std::string m_target, m_name;
    std::unique_ptr<File> m_file;
    Digest m_digest;
    std::unique_ptr<BufferedWriter> m_out;
    bool m_owned = true; // the new file is this object's to remove
};

// path with links followed, when it is a file that may be replaced: nothing when a link leads
// nowhere, or the file is write-protected or no regular file (a rename would replace a device or
// a protected file where writing into it is refused). A missing file may be made.
[[nodiscard]] std::optional<std::string> replaceableTarget(const std::string &path);

} // namespace tessaplex::io
