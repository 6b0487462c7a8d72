// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampleshard.h"

#include "app/session.h"
#include "app/settings.h"
#include "support/testsupport.h"

#include <filesystem>

namespace tessaplex::uitest {

namespace {

constexpr std::uint32_t MapBlocks = 393216;

void appendLittleEndian(std::string &out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
}

} // namespace

std::string worldItem(std::string_view idText, const std::vector<std::string> &keys) {
    std::string text = "[WORLDITEM ";
    text.append(idText);
    text += "]\r\n";
    for (const std::string &key : keys)
        text += key + "\r\n";
    text += "\r\n";
    return text;
}

std::string fourItems() {
    return "[SPHERE]\r\nVERSION=0.55\r\n\r\n" +                             // 0-2
           worldItem("0eed", {"ATTR=010", "P=1500,1000,5"}) +               // 3-6
           worldItem("0eed", {"ATTR=010", "COLOR=0480", "P=1500,1001,0"}) + // 7-11
           worldItem("0a28", {"P=8,8", "ATTR=08010"}) +                     // 12-15
           worldItem("0a28", {"CONT=040001", "P=1,1,1"}) +                  // 16-19, in a box
           worldItem("01f14", {"P=1500,1000,7"});                           // 20-22
}

void appendIndexRecord(std::string &out, std::uint32_t lookup, std::uint32_t length,
                       std::uint32_t extra) {
    appendLittleEndian(out, lookup, 4);
    appendLittleEndian(out, length, 4);
    appendLittleEndian(out, extra, 4);
}

void appendStaticRecord(std::string &out, std::uint16_t id, std::uint8_t x, std::uint8_t y,
                        std::int8_t z, std::uint16_t color) {
    appendLittleEndian(out, id, 2);
    out.push_back(static_cast<char>(x));
    out.push_back(static_cast<char>(y));
    out.push_back(static_cast<char>(z));
    appendLittleEndian(out, color, 2);
}

void writeEmptyStatics(const std::string &indexPath, const std::string &dataPath) {
    std::string index;
    index.reserve(std::size_t{MapBlocks} * 12);
    for (std::uint32_t block = 0; block < MapBlocks; ++block)
        appendIndexRecord(index, 0xffffffffu, 0xffffffffu, 0);
    test::writeFile(indexPath, index);
    test::writeFile(dataPath, {});
}

int writeSampleShard(const std::string &folder, int itemCount) {
    std::filesystem::create_directories(folder + "scripts");
    test::writeFile(folder + "scripts/items.scp",
                    "[ITEMDEF 0e77]\r\nDEFNAME=i_sample_barrel\r\n\r\n");
    test::writeFile(folder + "qelmfile.txt", "items.scp\r\n");

    std::string world = "[SPHERE]\r\nVERSION=0.55\r\n\r\n";
    int lines = 3;
    static const char *const ids[] = {"0eed", "0e77", "i_sample_barrel", "0a28", "1f14"};
    static const char *const attrs[] = {"010", "08010", "0", "010", "010"};
    for (int i = 0; i < itemCount; ++i) {
        const int x = 1400 + (i * 3) % 40;
        const int y = 1600 + (i * 7) % 40;
        std::vector<std::string> keys = {
            "SERIAL=0" + std::to_string(0x40000000 + i), "ATTR=" + std::string(attrs[i % 5]),
            "P=" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(i % 20)};
        if (i % 4 == 1)
            keys.push_back("COLOR=0" + std::to_string(400 + i % 50));
        world += worldItem(ids[i % 5], keys);
        lines += static_cast<int>(keys.size()) + 2;
    }
    test::writeFile(folder + "world.scp", world);
    writeEmptyStatics(folder + "staidx0.mul", folder + "statics0.mul");

    app::Settings settings(folder + "qelm.ini");
    const auto set = [&](std::string_view key, const std::string &value) {
        settings.writeText(app::SettingsSection, key, value);
    };
    set(app::keys::Staidx, folder + "staidx0.mul");
    set(app::keys::Statics, folder + "statics0.mul");
    set(app::keys::WorldFileWritten, folder + "world.scp");
    set(app::keys::ItemFiles, folder + "scripts");
    return lines;
}

} // namespace tessaplex::uitest
