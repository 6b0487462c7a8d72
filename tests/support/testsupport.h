// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/runcli.h"

#include <string>
#include <string_view>

namespace tessaplex::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The folder, with a trailing separator.
    [[nodiscard]] const std::string &path() const { return m_path; }
    [[nodiscard]] std::string file(std::string_view name) const {
        return m_path + std::string(name);
    }

private:
    std::string m_path;
};

void writeFile(const std::string &path, std::string_view bytes);
[[nodiscard]] std::string readFile(const std::string &path);
[[nodiscard]] bool exists(const std::string &path);

} // namespace tessaplex::test
