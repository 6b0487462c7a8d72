// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/patchshard.h"

#include "io/realfilesystem.h"
#include "selection/marks.h"
#include "world/linelist.h"

#include <filesystem>

namespace tessaplex::test {

namespace fs = std::filesystem;

std::string indexBytes(std::uint32_t blockCount,
                       const std::vector<std::pair<std::uint32_t, formats::IndexRecord>> &records) {
    std::string bytes(std::size_t{blockCount} * 12, '\xFF');
    for (std::uint32_t block = 0; block < blockCount; ++block)
        bytes.replace(std::size_t{block} * 12 + 8, 4, 4, '\0');
    for (const auto &[block, record] : records) {
        unsigned char encoded[12];
        record.encode(encoded);
        bytes.replace(std::size_t{block} * 12, 12, reinterpret_cast<const char *>(encoded), 12);
    }
    return bytes;
}

formats::IndexRecord indexRecordAt(std::string_view bytes, std::uint32_t block) {
    return formats::IndexRecord::decode(reinterpret_cast<const unsigned char *>(bytes.data()) +
                                        std::size_t{block} * 12);
}

std::string staticBytes(std::uint16_t id, std::uint8_t x, std::uint8_t y, std::uint8_t z,
                        std::uint16_t color) {
    const char bytes[7] = {static_cast<char>(id & 0xFF), static_cast<char>(id >> 8),
                           static_cast<char>(x),         static_cast<char>(y),
                           static_cast<char>(z),         static_cast<char>(color & 0xFF),
                           static_cast<char>(color >> 8)};
    return std::string(bytes, 7);
}

std::string worldItem(std::string_view id, std::string_view position, std::string_view color,
                      std::string_view lineEnd) {
    std::string text = "[WORLDITEM " + std::string(id) + "]" + std::string(lineEnd);
    text += "SERIAL=040000a1" + std::string(lineEnd);
    if (!position.empty())
        text += "P=" + std::string(position) + std::string(lineEnd);
    if (!color.empty())
        text += "COLOR=" + std::string(color) + std::string(lineEnd);
    text += std::string(lineEnd);
    return text;
}

PatchShard::PatchShard()
    : world(dir.file("save/world.scp"))
    , statics(dir.file("map/statics0.mul"))
    , staidx(dir.file("map/staidx0.mul"))
    , session(dir.path()) {
    fs::create_directories(dir.file("save"));
    fs::create_directories(dir.file("map"));
    fs::create_directories(dir.file("scripts"));
    setSetting(app::keys::ItemFiles, dir.file("scripts"));
    setSetting(app::keys::WorldFileWritten, world);
    setSetting(app::keys::Statics, statics);
    setSetting(app::keys::Staidx, staidx);
}

void PatchShard::setSetting(std::string_view key, const std::string &value) {
    session.settings().writeText(app::SettingsSection, key, value);
}

void PatchShard::writeFiles(std::string_view worldBytes, std::string_view index,
                            std::string_view data) {
    writeFile(world, worldBytes);
    writeFile(staidx, index);
    writeFile(statics, data);
}

int PatchShard::analyse() {
    world::LineList lines;
    lines.readFile(world);
    ProgressGauge quiet;
    session.analyse("0", std::to_string(lines.size()), quiet);
    return session.table().itemCount();
}

void PatchShard::mark(std::initializer_list<int> rows) {
    for (int row : rows)
        selection::setMark(session.table(), row);
}

app::Session::PatchOutcome PatchShard::patch() {
    io::RealFileSystem files;
    return patch(files);
}

app::Session::PatchOutcome PatchShard::patch(io::FileSystem &files) {
    return session.patch(gauge, files);
}

std::map<std::string, std::string> PatchShard::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(dir.path())) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir.path()).generic_string()] =
                readFile(entry.path().string());
    }
    return files;
}

std::string differences(const std::map<std::string, std::string> &expected,
                        const std::map<std::string, std::string> &actual) {
    std::string text;
    for (const auto &[name, bytes] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end())
            text += "missing " + name + "\n";
        else if (found->second != bytes)
            text += "changed " + name + "\n";
    }
    for (const auto &entry : actual) {
        if (!expected.count(entry.first))
            text += "extra " + entry.first + "\n";
    }
    return text;
}

} // namespace tessaplex::test
