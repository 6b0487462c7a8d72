// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/replacement.h"

#include "base/error.h"
#include "io/realfilesystem.h"
#include "io/systempath.h"

#include <filesystem>
#include <system_error>

namespace tessaplex::io {

Replacement::Replacement(FileSystem &files, std::string target, std::string name)
    : m_files(files)
    , m_target(std::move(target))
    , m_name(std::move(name)) {
    m_file = m_files.createNew(m_name, m_target);
    if (!m_file) {
        m_owned = false; // another file of that name is none of ours
        throw Error("Cannot create file " + m_name);
    }
    m_out = std::make_unique<BufferedWriter>(*m_file, BufferedWriter::DefaultCapacity, &m_digest);
}

Replacement::~Replacement() {
    if (m_owned)
        (void)discard();
}

void Replacement::finish() {
    const bool ok = m_out->flush() && m_file->sync() && m_file->close();
    m_file.reset();
    if (!ok)
        throw Error("Cannot write file " + m_name);
}

void Replacement::putInPlace() {
    if (!m_files.rename(m_name, m_target, FileSystem::Rename::Replace))
        throw Error("Cannot rename " + m_name + " to " + m_target);
    m_owned = false;
}

bool Replacement::discard() {
    m_file.reset(); // an open file can be removed not everywhere
    m_owned = false;
    return m_files.remove(m_name);
}

std::optional<std::string> replaceableTarget(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Renaming over a link would replace the link itself; the file it points at is what the
    // operator means.
    const std::optional<std::string> target = RealFileSystem().followLinks(path);
    if (!target)
        return std::nullopt;
    const fs::file_status status = fs::status(systemPath(*target), ec);
    if (!ec && fs::exists(status) &&
        (!fs::is_regular_file(status) ||
         (status.permissions() & fs::perms::owner_write) == fs::perms::none))
        return std::nullopt;
    return target;
}

} // namespace tessaplex::io
