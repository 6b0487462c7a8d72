// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tessaplex::test {

// The folder of real third-party shard files, which only some machines have. A test that reads
// them skips visibly without them; a helper cannot skip for it, so it starts with
//     const test::RealDataDir real;
//     if (!real.found())
//         GTEST_SKIP() << real.absence();
class RealDataDir {
public:
    RealDataDir();

    [[nodiscard]] bool found() const { return m_found; }
    // The folder, with a trailing separator, whether it was found or not.
    [[nodiscard]] const std::string &path() const { return m_path; }
    // Why a test that needs the folder is skipped, naming the folder it looked for.
    [[nodiscard]] std::string absence() const;

private:
    std::string m_path;
    bool m_found = false;
};

} // namespace tessaplex::test
