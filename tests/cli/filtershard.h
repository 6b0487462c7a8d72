// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/testsupport.h"

#include <string>

namespace tessaplex::test {

// A start directory with qelm.ini and a small world file, for the find and filter commands.
// Every section is four lines, so item k (from 1) starts at line 4 x (k - 1):
//   1: 0eed at 1000,500 ATTR 010      4: 0eed at 1000,500 ATTR 10
//   2: 0eed at 1000,7   ATTR 010      5: 0eed at 5,5      ATTR 08010
//   3: 04eed at 12,500  ATTR 08010    6: 01   at 1000,500 ATTR 010
class FilterShard {
public:
    explicit FilterShard(const std::string &extraSettings = {}) {
        writeFile(dir.file("world.scp"), "[WORLDITEM 0eed]\nP=1000,500,0\nATTR=010\n\n"
                                         "[WORLDITEM 0eed]\nP=1000,7\nATTR=010\n\n"
                                         "[WORLDITEM 04eed]\nP=12,500,5\nATTR=08010\n\n"
                                         "[WORLDITEM 0eed]\nP=1000,500,0\nATTR=10\n\n"
                                         "[WORLDITEM 0eed]\nP=5,5,0\nATTR=08010\n\n"
                                         "[WORLDITEM 01]\nP=1000,500\nATTR=010\n\n");
        writeSettings(extraSettings);
    }

    void writeSettings(const std::string &extra) const {
        writeFile(dir.file("qelm.ini"), "[Custom]\r\nWorldfile=" + dir.file("world.scp") +
                                            "\r\nItemFiles=" + dir.path() + "\r\n" + extra);
    }

    TempDir dir;
};

} // namespace tessaplex::test
