// SPDX-License-Identifier: GPL-3.0-or-later
#include "worldsave.h"

#include "outputfile.h"
#include "random.h"
#include "shardpart.h"
#include "textformat.h"

namespace tessaplex::bench {

namespace {

constexpr std::uint32_t FirstItemSerial = 0x40000000;

struct Weighted {
    const char *text;
    std::uint32_t weight;
};

// Attribute texts as a 0.56 shard saves them: mostly 010 (move never), 08010 on statics saves.
constexpr Weighted Attributes[] = {{"010", 50}, {"08010", 15}, {"04", 10}, {"080", 5},
                                   {"01", 5},   {"014", 5},    {"020", 5}, {"090", 5}};

constexpr const char *Creatures[] = {"c_pig_big", "c_gorilla", "c_ettin", "c_horse_brown_dk",
                                     "c_man",     "c_woman",   "c_orc",   "c_llama"};

const char *pick(Random &random, const Weighted *table, std::size_t size) {
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < size; ++i)
        total += table[i].weight;
    std::uint32_t r = random.below(total);
    for (std::size_t i = 0; i < size; ++i) {
        if (r < table[i].weight)
            return table[i].text;
        r -= table[i].weight;
    }
    return table[size - 1].text;
}

class SaveWriter {
public:
    SaveWriter(OutputFile &out, Random &random, const ItemScripts &scripts,
               const WorldSave::Options &options)
        : m_out(out)
        , m_random(random)
        , m_defs(scripts.defs())
        , m_maps(options.maps)
        , m_planeOne(options.maps == std::vector<int>{0}) {
        for (int map : m_maps)
            m_sizes.push_back(mapSizeOf(map, options.mapWidth));
    }

    void fileHeader() {
        m_out.line("TITLE=Sphere World Script");
        m_out.line("VERSION=0.56b");
        number("TIME=", m_random.between(1000000, 300000000));
        number("SAVECOUNT=", m_random.between(1, 10000));
        m_out.line("");
    }

    // Writes one item section; returns whether Analyse lists it.
    bool item() {
        bool listable = true;
        m_text = "[WORLDITEM ";
        listable &= itemId(m_text);
        m_text += ']';
        m_out.line(m_text);

        m_text = "SERIAL=0";
        appendHex(m_text, FirstItemSerial + m_itemSerial++, 8);
        m_out.line(m_text);
        if (m_random.percent(15)) {
            m_text = "DISPID=";
            listable &= itemId(m_text);
            m_out.line(m_text);
        }
        if (m_random.percent(6)) {
            m_out.line("NAME=a thing of some renown");
            listable = false;
        }
        if (m_random.percent(40)) {
            m_text = "COLOR=0";
            appendHex(m_text, 1 + m_random.below(0xbff), 3);
            m_out.line(m_text);
        }
        if (m_random.percent(40))
            number("TIMER=", m_random.between(-1, 3600));
        if (m_random.percent(20))
            number("AMOUNT=", m_random.between(1, 500));
        if (m_random.percent(8)) {
            m_text = "LINK=0";
            appendHex(m_text, FirstItemSerial + m_random.below(m_itemSerial), 8);
            m_out.line(m_text);
            listable = false;
        }
        if (m_random.percent(75))
            m_out.line(std::string("ATTR=") +
                       pick(m_random, Attributes, sizeof Attributes / sizeof Attributes[0]));
        if (m_random.percent(20))
            m_out.line("TYPE=t_normal");
        if (m_random.percent(50)) {
            m_text = "MORE1=0";
            appendHex(m_text, m_random.below(0x10000));
            m_out.line(m_text);
        }
        if (m_random.percent(35)) {
            m_text = "MORE2=0";
            appendHex(m_text, m_random.below(0x1000000));
            m_out.line(m_text);
        }
        if (m_random.percent(40))
            m_out.line(m_random.percent(60) ? "MOREP=-1,-1" : "MOREP=1500,1000,0");
        if (m_random.percent(10))
            number("LAYER=", m_random.between(1, 30));
        if (m_random.percent(8))
            number("TAG.RESISTED=", m_random.between(0, 100));
        const bool contained = m_random.percent(28);
        if (contained) {
            m_text = "CONT=0";
            appendHex(m_text, m_random.below(FirstItemSerial), 5);
            m_out.line(m_text);
            listable = false;
        }
        if (m_random.percent(95))
            position(contained);
        m_out.line("");
        return listable;
    }

    void character() {
        m_text = "[WORLDCHAR ";
        m_text += Creatures[m_random.below(sizeof Creatures / sizeof Creatures[0])];
        m_text += ']';
        m_out.line(m_text);
        m_text = "CREATE=0";
        appendHex(m_text, m_random.below(0x100000), 5);
        m_out.line(m_text);
        m_text = "SERIAL=0";
        appendHex(m_text, m_charSerial++, 5);
        m_out.line(m_text);
        m_out.line("TIMER=0");
        m_out.line("NPC=1");
        m_out.line("HOMEDIST=100");
        position(false);
        number("DIR=", m_random.between(0, 7));
        m_out.line("FLAGS=030000000");
        for (const char *key : {"HITS=", "STAM=", "MANA=", "FOOD="})
            number(key, m_random.between(0, 100));
        position(false, "HOME=");
        for (const char *key : {"OSTR=", "OINT=", "ODEX=", "OFOOD=", "OKARMA=", "OFAME="})
            number(key, m_random.between(-200, 200));
        for (const char *key : {"Parrying=", "MagicResistance=", "Tactics=", "Wrestling="})
            number(key, m_random.between(0, 1000));
        m_out.line("");
    }

private:
    // Appends an item ID: hex with a leading 0, or a def name. Returns whether it resolves.
    bool itemId(std::string &text) {
        const std::uint32_t r = m_random.below(100);
        if (m_defs.empty() || r < 15) {
            text += '0';
            appendHex(text, 1 + m_random.below(0x3fff));
            return true;
        }
        if (r < 16) {
            // A def name of a script the shard no longer has.
            text += "i_lost_";
            appendInt(text, m_random.below(1000));
            return false;
        }
        const ItemScripts::Def &def =
            m_defs[m_random.below(static_cast<std::uint32_t>(m_defs.size()))];
        text += def.name;
        return def.defined;
    }

    // P= with two, three or four numbers, as real saves mix them: x,y or x,y,z on map 0, always
    // x,y,z,m on another map.
    void position(bool contained, const char *key = "P=") {
        m_text = key;
        if (contained) {
            appendInt(m_text, m_random.between(20, 150));
            m_text += ',';
            appendInt(m_text, m_random.between(20, 150));
            m_out.line(m_text);
            return;
        }
        // A single map costs no draw, so the default shard keeps its bytes.
        const std::size_t which =
            m_maps.size() > 1 ? m_random.below(static_cast<std::uint32_t>(m_maps.size())) : 0;
        const int map = m_maps[which];
        const formats::MapSize &size = m_sizes[which];
        appendInt(m_text, m_random.between(0, size.width - 1));
        m_text += ',';
        appendInt(m_text, m_random.between(0, size.height - 1));
        const std::uint32_t parts = m_random.below(10);
        if (map != 0 || parts >= 5) {
            m_text += ',';
            appendInt(m_text, m_random.between(-128, 127));
        }
        if (map != 0) {
            m_text += ',';
            appendInt(m_text, map);
        } else if (parts == 9 && m_planeOne) {
            // The map-0-only shard has always put a tenth of its positions on plane 1; it keeps
            // them, so that every figure measured on it stays comparable.
            m_text += ",1";
        }
        m_out.line(m_text);
    }

    void number(const char *key, std::int64_t value) {
        m_text = key;
        appendInt(m_text, value);
        m_out.line(m_text);
    }

    OutputFile &m_out;
    Random &m_random;
    const std::vector<ItemScripts::Def> &m_defs;
    const std::vector<int> &m_maps;
    std::vector<formats::MapSize> m_sizes; // of m_maps, in its order
    bool m_planeOne;
    std::uint32_t m_itemSerial = 0;
    std::uint32_t m_charSerial = 0x1000;
    std::string m_text;
};

} // namespace

WorldSave::WorldSave(const ItemScripts &scripts, Options options)
    : m_scripts(scripts)
    , m_options(options) {}

WorldSave::Stats WorldSave::write(const std::string &path, Random &random) const {
    OutputFile out(path, m_options.unixLineEnds);
    SaveWriter writer(out, random, m_scripts, m_options);
    Stats stats;
    writer.fileHeader();
    for (std::uint64_t i = 0; i < m_options.items; ++i) {
        if (random.percent(8)) {
            writer.character();
            ++stats.characters;
        }
        if (writer.item())
            ++stats.listable;
    }
    stats.items = m_options.items;
    out.line("[EOF]");
    out.close();
    stats.lines = out.linesWritten();
    stats.bytes = out.bytesWritten();
    return stats;
}

} // namespace tessaplex::bench
