// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/realdatadir.h"

#include <filesystem>

namespace tessaplex::test {

RealDataDir::RealDataDir()
    : m_path(std::string(TESSAPLEX_REAL_DATA_DIR) + "/") {
    std::error_code ec;
    m_found = std::filesystem::is_directory(m_path, ec);
}

std::string RealDataDir::absence() const {
    return "no real shard files on this machine: " + m_path + " is not a folder";
}

} // namespace tessaplex::test
