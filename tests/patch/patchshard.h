// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/session.h"
#include "formats/indexrecord.h"
#include "support/recordinggauge.h"
#include "support/testsupport.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaplex::test {

// Index file bytes of blockCount records, all empty (0xFFFFFFFF, 0xFFFFFFFF, extra 0) but the
// given ones.
[[nodiscard]] std::string
indexBytes(std::uint32_t blockCount,
           const std::vector<std::pair<std::uint32_t, formats::IndexRecord>> &records = {});
[[nodiscard]] formats::IndexRecord indexRecordAt(std::string_view bytes, std::uint32_t block);
// The 7 bytes of a static record, spelt out byte by byte.
[[nodiscard]] std::string staticBytes(std::uint16_t id, std::uint8_t x, std::uint8_t y,
                                      std::uint8_t z, std::uint16_t color);

// A world file section: the "[WORLDITEM id]" line, a serial, "P=position" (none when empty),
// "COLOR=color" (none when empty) and the empty line, each ended by lineEnd.
[[nodiscard]] std::string worldItem(std::string_view id, std::string_view position,
                                    std::string_view color = {}, std::string_view lineEnd = "\r\n");

// A shard in a temporary folder: a settings file naming a world file (save/world.scp) and the
// static map files (map/statics0.mul, map/staidx0.mul), and a session started there.
class PatchShard {
public:
    PatchShard();

    TempDir dir;
    std::string world, statics, staidx;
    app::Session session;

    void setSetting(std::string_view key, const std::string &value);
    void writeFiles(std::string_view worldBytes, std::string_view indexBytes,
                    std::string_view dataBytes);
    // Analyses every line of the world file; returns the number of listed items.
    int analyse();
    void mark(std::initializer_list<int> rows);
    app::Session::PatchOutcome patch();
    app::Session::PatchOutcome patch(io::FileSystem &files);

    // Every file below the folder, by path relative to it, with its bytes.
    [[nodiscard]] std::map<std::string, std::string> snapshot() const;

    RecordingGauge gauge;
};

// The files that differ between two snapshots, one name a line ("changed", "missing", "extra");
// empty when they are equal.
[[nodiscard]] std::string differences(const std::map<std::string, std::string> &expected,
                                      const std::map<std::string, std::string> &actual);

} // namespace tessaplex::test
