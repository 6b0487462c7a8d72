// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testsupport.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "io/systempath.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace tessaplex::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path candidate =
            base / ("tessaplex-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            // Ends in the system's separator, as the folders the program names do.
            m_path = io::pathText(candidate) + static_cast<char>(fs::path::preferred_separator);
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(io::systemPath(m_path), ec);
}

void writeFile(const std::string &path, std::string_view bytes) {
    std::ofstream out(io::systemPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test fixture " + path);
}

std::string readFile(const std::string &path) {
    std::ifstream in(io::systemPath(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string &path) {
    std::error_code ec;
    return fs::exists(io::systemPath(path), ec);
}

} // namespace tessaplex::test
