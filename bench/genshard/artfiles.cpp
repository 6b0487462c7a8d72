// SPDX-License-Identifier: GPL-3.0-or-later
#include "artfiles.h"

#include "app/settings.h"
#include "outputfile.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cinttypes>
#include <cmath>

namespace tessaplex::bench {

namespace {

// A colour of 8-bit components, turned into an art pixel only when stored.
struct Colour {
    int r, g, b;
};

// The colour scaled by factor (1 keeps it), clamped to the 8-bit range.
Colour shade(Colour c, double factor) {
    const auto scale = [factor](int v) {
        return std::clamp(static_cast<int>(std::lround(v * factor)), 0, 255);
    };
    return {scale(c.r), scale(c.g), scale(c.b)};
}

Colour mix(Colour a, Colour b, double t) {
    const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

// 5 bits a component: red in bits 14-10, green 9-5, blue 4-0.
std::uint16_t artPixel(Colour c) {
    const auto five = [](int v) { return static_cast<unsigned>(std::clamp(v, 0, 255) * 31 / 255); };
    return static_cast<std::uint16_t>(five(c.r) << 10 | five(c.g) << 5 | five(c.b));
}

// A fixed pseudo-random value in [0, 1) for a position: texture that comes out the same on every
// run and platform.
double noise(int x, int y, unsigned salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                      static_cast<std::uint32_t>(y) * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return (h & 0xFFFF) / 65536.0;
}

void put16(std::string &out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// ---- floor tiles: raw records ----

// The 1012 pixels of a raw record, row by row through the 44 x 44 diamond, each coloured by
// its position in the 44 x 44 square.
template <typename Paint> std::string rawRecord(Paint paint) {
    std::string out;
    for (int half = 0; half < 2; ++half) {
        for (int r = 0; r < 22; ++r) {
            const int width = half == 0 ? 2 * (r + 1) : 44 - 2 * r;
            const int left = half == 0 ? 22 - (r + 1) : r;
            const int y = half == 0 ? r : 22 + r;
            for (int k = 0; k < width; ++k) {
                const int x = left + k;
                // The diamond's rim a little darker, so that neighbouring tiles stay apart.
                const bool rim = k == 0 || k == width - 1;
                put16(out, artPixel(shade(paint(x, y), rim ? 0.8 : 1.0)));
            }
        }
    }
    return out;
}

Colour stoneTile(int x, int y) {
    // Flagstones along the diamond's edges: u and v run parallel to them.
    const int u = x + 2 * y + 100;
    const int v = 2 * y - x + 100;
    if (u % 22 < 2 || v % 22 < 2)
        return {70, 66, 60};
    const double grain = 0.85 + 0.3 * noise(x, y, 1);
    const double stone = 0.9 + 0.2 * noise(u / 22, v / 22, 2);
    return shade({150, 146, 138}, grain * stone);
}

Colour grassTile(int x, int y) {
    const double n = noise(x, y, 3);
    if (n > 0.93)
        return {40, 110, 30};
    if (n < 0.04)
        return {200, 200, 70}; // a flower here and there
    return shade({70, 150, 50}, 0.8 + 0.35 * noise(x / 2, y, 4));
}

Colour sandTile(int x, int y) {
    const double ripple = 0.5 + 0.5 * std::sin((x + 3 * y) * 0.45);
    return shade({214, 190, 130}, 0.88 + 0.1 * ripple + 0.08 * noise(x, y, 5));
}

Colour waterTile(int x, int y) {
    const double wave = std::sin(x * 0.5 + y * 0.9) + std::sin(x * 0.21 - y * 0.37);
    if (wave > 1.55)
        return {170, 210, 250}; // crests
    return shade({40, 90, 180}, 0.85 + 0.12 * wave + 0.06 * noise(x, y, 6));
}

// ---- objects: run records ----

// A picture with see-through pixels, turned into a run record: the runs of a row are its
// stretches of pixels that are not see-through.
class Sprite {
public:
    Sprite(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_pixels(static_cast<std::size_t>(width * height), -1) {}

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }

    void set(int x, int y, Colour c) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_height)
            m_pixels[static_cast<std::size_t>(y * m_width + x)] = artPixel(c);
    }
    [[nodiscard]] bool isSet(int x, int y) const {
        return x >= 0 && y >= 0 && x < m_width && y < m_height &&
               m_pixels[static_cast<std::size_t>(y * m_width + x)] >= 0;
    }

    // Darkens every set pixel that borders a see-through one, for a crisp outline.
    void outline(double factor) {
        std::vector<std::pair<int, int>> edge;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (isSet(x, y) &&
                    (!isSet(x - 1, y) || !isSet(x + 1, y) || !isSet(x, y - 1) || !isSet(x, y + 1)))
                    edge.emplace_back(x, y);
            }
        }
        for (const auto &[x, y] : edge) {
            const auto value =
                static_cast<unsigned>(m_pixels[static_cast<std::size_t>(y * m_width + x)]);
            const Colour c{static_cast<int>((value >> 10 & 31) * 255 / 31),
                           static_cast<int>((value >> 5 & 31) * 255 / 31),
                           static_cast<int>((value & 31) * 255 / 31)};
            set(x, y, shade(c, factor));
        }
    }

    [[nodiscard]] std::string runRecord() const {
        std::string table;
        std::string data;
        for (int y = 0; y < m_height; ++y) {
            put16(table, static_cast<unsigned>(data.size() / 2));
            int end = 0; // where the previous run ended
            int x = 0;
            while (x < m_width) {
                if (!isSet(x, y)) {
                    ++x;
                    continue;
                }
                int stop = x;
                while (stop < m_width && isSet(stop, y))
                    ++stop;
                put16(data, static_cast<unsigned>(x - end));
                put16(data, static_cast<unsigned>(stop - x));
                for (int k = x; k < stop; ++k)
                    put16(data, static_cast<unsigned>(
                                    m_pixels[static_cast<std::size_t>(y * m_width + k)]));
                end = x = stop;
            }
            put16(data, 0);
            put16(data, 0);
        }
        std::string record;
        put16(record, 1); // flag 1: a run record
        put16(record, 0);
        put16(record, static_cast<unsigned>(m_width));
        put16(record, static_cast<unsigned>(m_height));
        return record + table + data;
    }

private:
    int m_width;
    int m_height;
    std::vector<int> m_pixels;
};

// Light from the left: 1.25 at the left edge of a shape, 0.7 at its right edge.
double lightAcross(double position) {
    return 1.25 - 0.55 * std::clamp(position, 0.0, 1.0);
}

std::string barrel() {
    constexpr int W = 34, H = 44;
    Sprite s(W, H);
    const Colour wood{150, 96, 48};
    const Colour iron{60, 60, 66};
    for (int y = 0; y < H; ++y) {
        // Bulging staves: widest in the middle.
        const double half = 12.5 + 3.0 * std::sin(3.14159 * y / (H - 1));
        for (int x = 0; x < W; ++x) {
            const double dx = x + 0.5 - W / 2.0;
            if (std::abs(dx) > half)
                continue;
            const double across = (dx + half) / (2 * half);
            const bool hoop = (y >= 8 && y <= 10) || (y >= 33 && y <= 35);
            Colour c = hoop ? iron : wood;
            if (!hoop && static_cast<int>(std::floor(across * 7)) % 2 == 1)
                c = shade(c, 0.88); // alternate staves
            s.set(x, y, shade(c, lightAcross(across) * (0.92 + 0.1 * noise(x, y, 7))));
        }
    }
    // The lid seen from above: an ellipse of end-grain wood inside the top rim.
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < W; ++x) {
            const double ex = (x + 0.5 - W / 2.0) / 11.0;
            const double ey = (y - 3.0) / 3.0;
            if (ex * ex + ey * ey <= 1.0)
                s.set(x, y, shade({178, 128, 74}, 0.95 + 0.1 * noise(x, y, 8)));
        }
    }
    s.outline(0.6);
    return s.runRecord();
}

std::string lampPost() {
    constexpr int W = 24, H = 100;
    Sprite s(W, H);
    const Colour iron{48, 50, 56};
    // Foot and pole.
    for (int y = 88; y < H; ++y) {
        for (int x = 5; x < 19; ++x)
            s.set(x, y, shade(iron, lightAcross((x - 5) / 14.0)));
    }
    for (int y = 26; y < 88; ++y) {
        for (int x = 10; x < 14; ++x)
            s.set(x, y, shade(iron, x == 10 ? 1.8 : lightAcross((x - 10) / 4.0)));
    }
    // Lantern: a frame around glowing glass, under a pointed cap.
    for (int y = 8; y < 26; ++y) {
        for (int x = 4; x < 20; ++x) {
            const bool glass = y >= 10 && y < 24 && x >= 6 && x < 18 && x != 11 && x != 12;
            if (glass) {
                const double d = std::hypot(x - 11.5, y - 16.5) / 8.0;
                s.set(x, y, mix({255, 250, 200}, {240, 170, 40}, std::clamp(d, 0.0, 1.0)));
            } else {
                s.set(x, y, iron);
            }
        }
    }
    for (int y = 0; y < 8; ++y) {
        const int half = y; // widening towards the lantern
        for (int x = 12 - half - 1; x <= 12 + half; ++x)
            s.set(x, y, shade(iron, 1.2));
    }
    s.outline(0.7);
    return s.runRecord();
}

std::string chest() {
    constexpr int W = 46, H = 36;
    Sprite s(W, H);
    const Colour wood{132, 78, 36};
    const Colour band{90, 90, 96};
    const Colour gold{230, 190, 60};
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            // A rounded lid over a box.
            if (y < 12) {
                const double ex = (x + 0.5 - W / 2.0) / (W / 2.0);
                const double ey = (12.0 - y) / 12.0;
                if (ex * ex + ey * ey > 1.0 && y < 11)
                    continue;
            }
            Colour c = y < 12 ? shade(wood, 1.12) : wood;
            if (y == 11 || y == 12)
                c = shade(wood, 0.55); // the gap under the lid
            else if (y > 12 && (y - 13) % 6 == 5)
                c = shade(wood, 0.8); // planks
            if ((x >= 6 && x < 9) || (x >= W - 9 && x < W - 6))
                c = band;
            if (x >= 19 && x < 27 && y >= 10 && y < 19)
                c = (x >= 22 && x < 24 && y >= 13 && y < 17) ? Colour{30, 20, 10} : gold;
            s.set(x, y, shade(c, lightAcross(x / double(W)) * (0.93 + 0.09 * noise(x, y, 9))));
        }
    }
    s.outline(0.55);
    return s.runRecord();
}

std::string tree() {
    constexpr int W = 84, H = 124;
    Sprite s(W, H);
    const Colour bark{96, 64, 36};
    // Trunk, flaring into roots at the foot.
    for (int y = 66; y < H; ++y) {
        const double flare = y > 110 ? (y - 110) * 0.6 : 0.0;
        const double half = 6.0 + flare;
        for (int x = 0; x < W; ++x) {
            const double dx = x + 0.5 - W / 2.0;
            if (std::abs(dx) > half)
                continue;
            const double across = (dx + half) / (2 * half);
            const double grain = noise(x, y / 3, 10) > 0.8 ? 0.75 : 1.0;
            s.set(x, y, shade(bark, lightAcross(across) * grain));
        }
    }
    // Crown: overlapping round clumps of leaves, lit from the upper left.
    struct Clump {
        double x, y, r;
    };
    const Clump clumps[] = {{42, 44, 28}, {22, 56, 18}, {62, 56, 18}, {42, 20, 18},
                            {27, 32, 17}, {57, 32, 17}, {42, 66, 16}};
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < W; ++x) {
            double best = 2.0;
            for (const Clump &c : clumps)
                best = std::min(best, std::hypot(x - c.x, y - c.y) / c.r);
            if (best > 1.0)
                continue;
            const double light = 1.2 - 0.5 * std::clamp((x + y) / double(W + 90), 0.0, 1.0);
            const double leaves = noise(x / 2, y / 2, 11) > 0.75 ? 0.78 : 1.0;
            s.set(x, y, shade({60, 132, 48}, light * leaves * (0.95 + 0.15 * (1.0 - best))));
        }
    }
    s.outline(0.55);
    return s.runRecord();
}

} // namespace

std::vector<std::string> ArtFiles::records() {
    return {rawRecord(stoneTile),
            rawRecord(grassTile),
            rawRecord(sandTile),
            rawRecord(waterTile),
            barrel(),
            lampPost(),
            chest(),
            tree()};
}

ArtFiles::Graphic ArtFiles::graphicOf(std::uint32_t entry) {
    if (entry < 0x4000)
        return static_cast<Graphic>(entry % 4);
    return static_cast<Graphic>(entry % Count);
}

void ArtFiles::write(const std::string &indexPath, const std::string &dataPath) {
    const std::vector<std::string> graphics = records();
    std::vector<std::uint32_t> lookups;
    OutputFile data(dataPath);
    for (const std::string &record : graphics) {
        lookups.push_back(static_cast<std::uint32_t>(data.bytesWritten()));
        data.write(record);
    }
    data.close();
    OutputFile index(indexPath);
    for (std::uint32_t entry = 0; entry < EntryCount; ++entry) {
        const Graphic graphic = graphicOf(entry);
        index.u32(lookups[graphic]);
        index.u32(static_cast<std::uint32_t>(graphics[graphic].size()));
        index.u32(0);
    }
    index.close();
}

void ArtFiles::addOptions(CLI::App &program) {
    program.add_flag("--art", m_wanted,
                     "Also write the art files artidx.mul and art.mul (floor tiles, a barrel, a "
                     "lamp post, a chest and a tree for every item ID) and name them in qelm.ini "
                     "(ArtIdx, Art)");
}

void ArtFiles::write(const ShardContext &shard, app::Settings &settings, std::FILE *report) {
    const std::string index = shard.folder + "artidx.mul";
    const std::string data = shard.folder + "art.mul";
    write(index, data);
    settings.writeText(app::SettingsSection, "ArtIdx", index);
    settings.writeText(app::SettingsSection, "Art", data);
    std::fprintf(report, "artidx=%s\nart=%s\nartentries=%" PRIu32 "\nartgraphics=%zu\n",
                 index.c_str(), data.c_str(), EntryCount, static_cast<std::size_t>(Count));
}

std::unique_ptr<ShardPart> makeArtFiles() {
    return std::make_unique<ArtFiles>();
}

} // namespace tessaplex::bench
