// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one art preview as the row selection does: open both art files, read the index record
// and the art record, draw onto the 131 x 201 canvas, close. The goal is well under 2 ms, so that
// moving through the grid with the arrow keys stays fluid, also from a UOP file for the first
// drawing after start, which reads the file's whole table.
#include "app/artpreview.h"
#include "app/clientfiles.h"
#include "app/settings.h"
#include "art/artdrawing.h"
#include "art/rgbcanvas.h"
#include "extraclientfiles.h"
#include "formats/uopfile.h"
#include "io/memorybytesource.h"
#include "uopwriter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace tessaplex;

namespace {

constexpr std::uint32_t RawEntry = 0x4000;
constexpr std::uint32_t TreeEntry = 0x4001;
constexpr std::uint32_t FullEntry = 0x4002;
// The same three records stored with zlib in the UOP file.
constexpr std::uint32_t ZlibOffset = 3;
// As many entries as the client's own art file holds: land tiles and 0x10000 items.
constexpr std::uint32_t UopEntries = 0x14000;

void put16(std::string &out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string &out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A run record of the given size whose rows hold runsPerRow runs separated by one pixel.
std::string runRecord(int width, int height, int runsPerRow) {
    std::string table, data;
    const int runLength = width / runsPerRow - 1;
    for (int y = 0; y < height; ++y) {
        put16(table, static_cast<unsigned>(data.size() / 2));
        for (int r = 0; r < runsPerRow; ++r) {
            put16(data, 1);
            put16(data, static_cast<unsigned>(runLength));
            for (int k = 0; k < runLength; ++k)
                put16(data, static_cast<unsigned>((y * 31 + k) & 0x7FFF));
        }
        put32(data, 0);
    }
    std::string record;
    put32(record, 1);
    put16(record, static_cast<unsigned>(width));
    put16(record, static_cast<unsigned>(height));
    return record + table + data;
}

// Art files in a temporary folder: a raw tile, a tree-sized run record (44 x 120, a few runs a
// row) and one that covers the whole preview (131 x 201, many short runs), behind 0x4000 empty
// entries so that the index record lies where an item's does.
class ArtFolder {
public:
    ArtFolder() {
        m_dir = std::filesystem::temp_directory_path() / "tessaplex-art-bench";
        std::filesystem::create_directories(m_dir);
        std::string raw;
        for (int i = 0; i < 1012; ++i)
            put16(raw, static_cast<unsigned>(i * 37 & 0x7FFF));
        const std::vector<std::string> records = {raw, runRecord(44, 120, 4),
                                                  runRecord(131, 201, 16)};
        std::string index;
        for (std::uint32_t n = 0; n < RawEntry; ++n) {
            put32(index, 0xFFFFFFFF);
            put32(index, 0);
            put32(index, 0);
        }
        for (const std::string &record : records) {
            m_lookups.push_back(m_data.size());
            put32(index, static_cast<std::uint32_t>(m_data.size()));
            put32(index, static_cast<std::uint32_t>(record.size()));
            put32(index, 0);
            m_data += record;
        }
        write("art.mul", m_data);
        write("artidx.mul", index);
        write("qelm.ini", "[Custom]\nArt=" + (m_dir / "art.mul").string() +
                              "\nArtIdx=" + (m_dir / "artidx.mul").string() + "\n");
        writeUop(records);
        bench::ExtraClientFiles::writeHues((m_dir / "hues.mul").string());
        bench::ExtraClientFiles::writeTiledata((m_dir / "tiledata.mul").string());
        write("uop.ini", "[Custom]\nArt=" + (m_dir / "art.uop").string() + "\n");
        write("hued.ini", "[Custom]\nArt=" + (m_dir / "art.uop").string() +
                              "\nHues=" + (m_dir / "hues.mul").string() +
                              "\nTiledata=" + (m_dir / "tiledata.mul").string() + "\n");
    }
    ~ArtFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    [[nodiscard]] std::string settingsPath(const char *name = "qelm.ini") const {
        return (m_dir / name).string();
    }
    [[nodiscard]] const std::string &data() const { return m_data; }
    // Where the raw, the tree and the full record start in the data file.
    [[nodiscard]] std::uint64_t lookup(std::int64_t which) const {
        return m_lookups.at(static_cast<std::size_t>(which));
    }

private:
    // Every entry below UopEntries: the three records stored at their entries and with zlib three
    // entries on, every other entry sharing the raw record's bytes.
    void writeUop(const std::vector<std::string> &records) {
        bench::UopWriter writer;
        std::vector<std::size_t> stored, zlib;
        for (const std::string &record : records) {
            stored.push_back(writer.addData(record, false));
            zlib.push_back(writer.addData(record, true));
        }
        for (std::uint32_t n = 0; n < UopEntries; ++n) {
            std::size_t data = stored[0];
            if (n >= RawEntry && n < RawEntry + 2 * ZlibOffset) {
                const std::size_t which = (n - RawEntry) % ZlibOffset;
                data = n - RawEntry < ZlibOffset ? stored[which] : zlib[which];
            }
            writer.addEntry(formats::artUopName(n), data);
        }
        writer.write((m_dir / "art.uop").string());
    }
    void write(const char *name, const std::string &bytes) {
        std::ofstream(m_dir / name, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::filesystem::path m_dir;
    std::string m_data;
    std::vector<std::uint64_t> m_lookups;
};

ArtFolder &folder() {
    static ArtFolder instance;
    return instance;
}

// The whole preview, files opened and closed each time.
void previewFromFiles(benchmark::State &state) {
    const app::Settings settings(folder().settingsPath());
    art::RgbCanvas canvas(131, 201);
    const auto entry = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        const art::DrawOutcome outcome = app::previewArt(settings, entry, canvas);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(previewFromFiles)
    ->Arg(RawEntry)
    ->Arg(TreeEntry)
    ->Arg(FullEntry)
    ->Unit(benchmark::kMicrosecond);

// The first drawing after start from a UOP file: a fresh holder reads the whole table. Entries
// RawEntry to FullEntry are stored, the next three the same records with zlib.
void firstPreviewFromUop(benchmark::State &state) {
    const app::Settings settings(folder().settingsPath("uop.ini"));
    art::RgbCanvas canvas(131, 201);
    const auto entry = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        app::ClientFiles files;
        const art::DrawOutcome outcome = files.drawArt(settings, entry, std::nullopt, canvas);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(firstPreviewFromUop)
    ->DenseRange(RawEntry, FullEntry + ZlibOffset)
    ->Unit(benchmark::kMicrosecond);

// The first drawing in a hue: the table, the hues and the tiledata all read.
void firstHuedPreviewFromUop(benchmark::State &state) {
    const app::Settings settings(folder().settingsPath("hued.ini"));
    art::RgbCanvas canvas(131, 201);
    for (auto _ : state) {
        app::ClientFiles files;
        const art::DrawOutcome outcome = files.drawArt(settings, TreeEntry, 1153, canvas);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(firstHuedPreviewFromUop)->Unit(benchmark::kMicrosecond);

// Moving through the grid: what was read is kept, each drawing opens the file and reads its
// entry. The second argument 1 draws in a hue, with hues.mul and tiledata.mul named.
void previewFromUop(benchmark::State &state) {
    const bool hued = state.range(1) != 0;
    const app::Settings settings(folder().settingsPath(hued ? "hued.ini" : "uop.ini"));
    art::RgbCanvas canvas(131, 201);
    const auto entry = static_cast<std::uint32_t>(state.range(0));
    const std::optional<std::uint32_t> color =
        hued ? std::optional<std::uint32_t>(1153) : std::nullopt;
    app::ClientFiles files;
    (void)files.drawArt(settings, entry, color, canvas);
    for (auto _ : state) {
        const art::DrawOutcome outcome = files.drawArt(settings, entry, color, canvas);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(previewFromUop)
    ->ArgsProduct({{RawEntry, FullEntry, FullEntry + ZlibOffset}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The drawing alone, from bytes in memory: what is left when the files cost nothing.
void drawFromMemory(benchmark::State &state) {
    io::MemoryByteSource data(folder().data());
    art::RgbCanvas canvas(131, 201);
    const std::uint64_t lookup = folder().lookup(state.range(0));
    for (auto _ : state) {
        const art::DrawOutcome outcome = art::drawArtRecord(data, lookup, canvas);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(drawFromMemory)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
