// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/failingfilesystem.h"

namespace tessaplex::test {

namespace {

class FailingFile : public io::File {
public:
    FailingFile(FailingFileSystem &files, std::unique_ptr<io::File> real, std::string path)
        : m_files(files)
        , m_real(std::move(real))
        , m_path(std::move(path)) {}

    std::optional<std::size_t> read(void *data, std::size_t size) override {
        if (!m_files.step("read " + m_path))
            return std::nullopt;
        return m_real->read(data, size);
    }
    bool write(const void *data, std::size_t size) override {
        if (!m_files.step("write " + m_path)) {
            (void)m_real->write(data, size / 2);
            return false;
        }
        return m_real->write(data, size);
    }
    bool seek(std::uint64_t offset) override {
        return m_files.step("seek " + m_path) && m_real->seek(offset);
    }
    // Counted, but not passed on: these tests check what each step leaves for the next run, not
    // the disk's own durability, and hundreds of runs of real syncs would take minutes.
    bool sync() override { return m_files.step("sync " + m_path); }
    bool close() override {
        const bool ok = m_files.step("close " + m_path);
        return m_real->close() && ok;
    }

private:
    FailingFileSystem &m_files;
    std::unique_ptr<io::File> m_real;
    std::string m_path;
};

} // namespace

std::string FailingFileSystem::logText() const {
    std::string text;
    for (const std::string &line : m_log)
        text += line + "\n";
    return text;
}

bool FailingFileSystem::step(const std::string &what) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (beforeStep)
        beforeStep(what);
    ++m_count;
    const bool fails =
        m_failAt > 0 && (m_mode == Mode::Dies ? m_count >= m_failAt : m_count == m_failAt);
    m_log.push_back(std::to_string(m_count) + " " + what + (fails ? "  <- fails" : ""));
    return !fails;
}

io::OpenedFile FailingFileSystem::openToRead(const std::string &path) {
    if (!step("open " + path))
        return {};
    io::OpenedFile opened = m_real.openToRead(path);
    if (opened.file)
        opened.file = std::make_unique<FailingFile>(*this, std::move(opened.file), path);
    return opened;
}

std::unique_ptr<io::File> FailingFileSystem::createNew(const std::string &path,
                                                       const std::string &permissionsOf) {
    if (!step("create " + path))
        return nullptr;
    auto file = m_real.createNew(path, permissionsOf);
    if (!file)
        return nullptr;
    return std::make_unique<FailingFile>(*this, std::move(file), path);
}

bool FailingFileSystem::rename(const std::string &from, const std::string &to, Rename mode) {
    return step("rename " + from + " -> " + to) && m_real.rename(from, to, mode);
}

bool FailingFileSystem::remove(const std::string &path) {
    return step("remove " + path) && m_real.remove(path);
}

bool FailingFileSystem::exists(const std::string &path) {
    return !step("exists " + path) || m_real.exists(path);
}

std::optional<io::FileStatus> FailingFileSystem::status(const std::string &path) {
    if (!step("status " + path))
        return std::nullopt;
    return m_real.status(path);
}

} // namespace tessaplex::test
