// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: stopping on a broken promise, a fast scratch folder of their own,
// whole-file reads and writes, and reading small numbers off the front of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

namespace tessaplex::fuzz {

// Checks a promise of the code under test; a broken one stops the run as a finding.
inline void require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

// A folder of this process's own, with a trailing separator, removed when the process ends. It
// lies on a memory file system where there is one: every file a target writes is synced, which
// on a real disk would slow the runs down a hundredfold.
inline const std::string &scratchFolder() {
    // Never destroyed: the exit handler that removes the folder runs after static destructors.
    static const std::string *path = [] {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "tessaplex-fuzz-XXXXXX").string();
        require(mkdtemp(pattern.data()) != nullptr, "a temporary folder can be made");
        auto *made = new std::string(pattern + "/");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(scratchFolder(), ec);
        });
        return made;
    }();
    return *path;
}

// Empties the scratch folder, so that a run finds nothing of the run before.
inline void clearScratchFolder() {
    namespace fs = std::filesystem;
    for (const auto &entry : fs::directory_iterator(scratchFolder()))
        fs::remove_all(entry.path());
}

inline void writeBytes(const std::string &path, std::string_view bytes) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "the scratch folder is writable");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of the scratch folder by name, with its bytes.
inline std::map<std::string, std::string> scratchFiles() {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::directory_iterator(scratchFolder()))
        files[entry.path().filename().string()] = readBytes(entry.path().string());
    return files;
}

// Reads numbers and texts off the front of the input; past its end every byte reads as 0.
class ByteReader {
public:
    explicit ByteReader(std::string_view input)
        : m_input(input) {}

    std::uint8_t byte() {
        if (m_input.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_input.front());
        m_input.remove_prefix(1);
        return b;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
    std::uint32_t u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }
    // Up to max bytes, as many as the next byte says.
    std::string_view text(std::size_t max) { return take(byte() % (max + 1)); }
    std::string_view take(std::size_t n) {
        const std::string_view taken = m_input.substr(0, n);
        m_input.remove_prefix(taken.size());
        return taken;
    }
    [[nodiscard]] std::string_view rest() const { return m_input; }

private:
    std::string_view m_input;
};

} // namespace tessaplex::fuzz
