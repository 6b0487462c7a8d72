// SPDX-License-Identifier: GPL-3.0-or-later
#include "extraclientfiles.h"

#include "app/settings.h"
#include "artfiles.h"
#include "formats/artentry.h"
#include "formats/tiledatafile.h"
#include "formats/uopfile.h"
#include "outputfile.h"
#include "uopwriter.h"

#include <CLI/CLI.hpp>

#include <cinttypes>
#include <cmath>

namespace tessaplex::bench {

namespace {

struct ItemKind {
    const char *name;
    std::uint64_t flags;
};

// By ArtFiles::Graphic.
constexpr ItemKind ItemKinds[] = {
    {"stone floor", 0x1 | 0x200},             // Background, Surface
    {"grass", 0x1 | 0x200},                   // Background, Surface
    {"sand", 0x1 | 0x200},                    // Background, Surface
    {"water", 0x1 | 0x40},                    // Background, Impassable
    {"barrel", 0x40 | 0x200000},              // Impassable, Container
    {"lamp post", 0x40 | 0x40000 | 0x800000}, // Impassable, PartialHue, LightSource
    {"chest", 0x200 | 0x200000},              // Surface, Container
    {"tree", 0x40 | 0x20000},                 // Impassable, Foliage
};

constexpr std::uint32_t TiledataItems = 0x10000;

} // namespace

const char *ExtraClientFiles::itemName(std::uint32_t id) {
    return ItemKinds[ArtFiles::graphicOf(formats::ItemArtBase + id)].name;
}

std::uint64_t ExtraClientFiles::itemFlags(std::uint32_t id) {
    return ItemKinds[ArtFiles::graphicOf(formats::ItemArtBase + id)].flags;
}

std::uint16_t ExtraClientFiles::hueColour(std::uint32_t hue, unsigned k) {
    // Hues spread round the colour circle by the golden angle, in five strengths of colour; each
    // runs from black (k = 0) to its full brightness (k = 31).
    const double angle = std::fmod(hue * 137.508, 360.0) / 60.0;
    const double saturation = 0.4 + 0.15 * (hue / 7 % 5);
    const double value = k / 31.0;
    const double chroma = value * saturation;
    const double x = chroma * (1 - std::fabs(std::fmod(angle, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(angle)) {
    case 0:
        r = chroma, g = x;
        break;
    case 1:
        r = x, g = chroma;
        break;
    case 2:
        g = chroma, b = x;
        break;
    case 3:
        g = x, b = chroma;
        break;
    case 4:
        r = x, b = chroma;
        break;
    default:
        r = chroma, b = x;
        break;
    }
    const double grey = value - chroma;
    const auto five = [grey](double c) {
        return static_cast<unsigned>(std::lround((c + grey) * 31)) & 0x1F;
    };
    return static_cast<std::uint16_t>(five(r) << 10 | five(g) << 5 | five(b));
}

void ExtraClientFiles::writeUop(const std::string &path) {
    UopWriter writer;
    const std::vector<std::string> records = ArtFiles::records();
    std::vector<std::size_t> stored, zlib;
    for (const std::string &record : records) {
        stored.push_back(writer.addData(record, false));
        zlib.push_back(writer.addData(record, true));
    }
    for (std::uint32_t entry = 0; entry < ArtFiles::EntryCount; ++entry) {
        const ArtFiles::Graphic graphic = ArtFiles::graphicOf(entry);
        writer.addEntry(formats::artUopName(entry),
                        zlibEntry(entry) ? zlib[graphic] : stored[graphic]);
    }
    writer.write(path);
}

void ExtraClientFiles::writeHues(const std::string &path) {
    OutputFile out(path);
    for (std::uint32_t hue = 1; hue <= HueCount; ++hue) {
        if ((hue - 1) % 8 == 0)
            out.u32(0); // the group's header
        for (unsigned k = 0; k < 32; ++k)
            out.u16(hueColour(hue, k));
        out.u16(0);  // table start
        out.u16(31); // table end
        std::string name = "hue " + std::to_string(hue);
        name.resize(20, '\0');
        out.write(name);
    }
    out.close();
}

void ExtraClientFiles::writeTiledata(const std::string &path) {
    OutputFile out(path);
    // Land records: 26 or 30 bytes after the file's layout; the new one, all zero.
    for (std::size_t group = 0; group < formats::TileDataLandGroups; ++group) {
        out.u32(0);
        out.write(std::string(formats::TileDataRecordsPerGroup * 30, '\0'));
    }
    for (std::uint32_t id = 0; id < TiledataItems; ++id) {
        if (id % formats::TileDataRecordsPerGroup == 0)
            out.u32(0);
        const bool shown = id < ArtFiles::EntryCount - formats::ItemArtBase;
        const std::uint64_t flags = shown ? itemFlags(id) : 0;
        out.u32(static_cast<std::uint32_t>(flags));
        out.u32(static_cast<std::uint32_t>(flags >> 32));
        // weight, quality, misc, animation, hue, light, height
        out.write(std::string(1 + 1 + 4 + 2 + 2 + 2 + 1, '\0'));
        std::string name = shown ? itemName(id) : "";
        name.resize(formats::TileDataNameSize, '\0');
        out.write(name);
    }
    out.close();
}

void ExtraClientFiles::addOptions(CLI::App &program) {
    program.add_flag("--uop", m_uop,
                     "Also write the art as artLegacyMUL.uop (stored and zlib entries) and name it "
                     "in qelm.ini as Art");
    program.add_flag("--hues", m_hues, "Also write hues.mul and name it in qelm.ini (Hues)");
    program.add_flag("--tiledata", m_tiledata,
                     "Also write tiledata.mul (a name and flags for every item ID) and name it in "
                     "qelm.ini (Tiledata)");
}

void ExtraClientFiles::write(const ShardContext &shard, app::Settings &settings,
                             std::FILE *report) {
    if (m_uop) {
        const std::string path = shard.folder + "artLegacyMUL.uop";
        writeUop(path);
        settings.writeText(app::SettingsSection, "Art", path);
        std::fprintf(report, "artuop=%s\n", path.c_str());
    }
    if (m_hues) {
        const std::string path = shard.folder + "hues.mul";
        writeHues(path);
        settings.writeText(app::SettingsSection, "Hues", path);
        std::fprintf(report, "hues=%s\nhuecount=%" PRIu32 "\n", path.c_str(), HueCount);
    }
    if (m_tiledata) {
        const std::string path = shard.folder + "tiledata.mul";
        writeTiledata(path);
        settings.writeText(app::SettingsSection, "Tiledata", path);
        std::fprintf(report, "tiledata=%s\n", path.c_str());
    }
}

std::unique_ptr<ShardPart> makeExtraClientFiles() {
    return std::make_unique<ExtraClientFiles>();
}

} // namespace tessaplex::bench
