// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/referencelines.h"

#include "world/linelist.h"

namespace tessaplex::test {

std::vector<std::string> linesOf(const world::LineList &list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i)
        lines.emplace_back(list.line(i));
    return lines;
}

std::vector<std::string> referenceLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current.push_back(c);
            open = true;
        }
    }
    if (open)
        lines.push_back(current);
    return lines;
}

} // namespace tessaplex::test
