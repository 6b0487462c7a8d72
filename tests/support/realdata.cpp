// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/realdata.h"

#include "support/testsupport.h"

#include <algorithm>
#include <filesystem>

namespace tessaplex::test {

namespace fs = std::filesystem;

std::vector<std::string> scriptFilesUnder(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        if (extension == ".scp")
            names.push_back(fs::relative(entry.path(), folder).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void writeShardSettings(const std::string &startDirectory, const std::string &scriptFolder,
                        const std::string &worldFile) {
    writeFile(startDirectory + "qelm.ini",
              "[Custom]\r\nItemFiles=" + scriptFolder + "\r\nWorldfile=" + worldFile + "\r\n");
    std::string list;
    for (std::string name : scriptFilesUnder(scriptFolder)) {
        std::replace(name.begin(), name.end(), '/', '\\');
        list += name + "\r\n";
    }
    writeFile(startDirectory + "qelmfile.txt", list);
}

} // namespace tessaplex::test
