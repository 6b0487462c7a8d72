// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemscripts.h"

#include "outputfile.h"
#include "random.h"
#include "textformat.h"

#include <algorithm>
#include <filesystem>

namespace tessaplex::bench {

namespace {

constexpr const char *Words[] = {"barrel", "chair",  "table", "lamp",   "torch", "crate", "stone",
                                 "wall",   "floor",  "rug",   "door",   "sign",  "plant", "rock",
                                 "tree",   "bench",  "bed",   "shelf",  "anvil", "forge", "statue",
                                 "fence",  "column", "stair", "window", "roof",  "bush",  "flower"};
constexpr std::uint32_t WordCount = sizeof Words / sizeof Words[0];

// Definitions per script file, about what a real item script pack holds per file.
constexpr std::uint32_t DefsPerFile = 500;

enum class Spelling { Upper, LowerKey, Named };

} // namespace

ItemScripts::ItemScripts(Random &random, std::uint32_t defCount) {
    m_defs.reserve(defCount);
    for (std::uint32_t k = 0; k < defCount; ++k) {
        Def def;
        def.name = "i_";
        def.name += Words[random.below(WordCount)];
        def.name += '_';
        appendInt(def.name, k);
        def.id = 1 + random.below(0x3fff);
        // Real packs spell a few keys in lower case and give many sections a name instead of a
        // number; neither defines a def name for the catalog.
        def.defined = random.below(100) >= 4;
        m_defs.push_back(std::move(def));
    }
}

std::uint32_t ItemScripts::definedCount() const {
    return static_cast<std::uint32_t>(
        std::count_if(m_defs.begin(), m_defs.end(), [](const Def &d) { return d.defined; }));
}

int ItemScripts::write(const std::string &folder, const std::string &listFolder, bool unixLineEnds,
                       Random &random) const {
    std::filesystem::create_directories(folder + "items");
    const auto files =
        static_cast<int>(std::max<std::size_t>(1, (m_defs.size() + DefsPerFile - 1) / DefsPerFile));
    OutputFile list(listFolder + "qelmfile.txt", unixLineEnds);
    std::string text;
    for (int f = 0; f < files; ++f) {
        std::string name = "sphereitem_";
        appendInt(name, f + 1);
        name += ".scp";
        list.line("items\\" + name);

        OutputFile out(folder + "items/" + name, unixLineEnds);
        out.line("// Synthetic item definitions, generated for benchmarks and tests");
        out.line("");
        const std::size_t first = static_cast<std::size_t>(f) * DefsPerFile;
        const std::size_t last = std::min(m_defs.size(), first + DefsPerFile);
        for (std::size_t k = first; k < last; ++k) {
            const Def &def = m_defs[k];
            const Spelling spelling = def.defined          ? Spelling::Upper
                                      : random.percent(50) ? Spelling::LowerKey
                                                           : Spelling::Named;
            text = random.percent(10) ? "[itemdef " : "[ITEMDEF ";
            if (spelling == Spelling::Named)
                text += def.name;
            else
                appendHex(text, def.id, 4);
            text += ']';
            out.line(text);
            if (spelling == Spelling::Named) {
                text = "ID=0";
                appendHex(text, def.id);
            } else {
                text = spelling == Spelling::Upper ? "DEFNAME=" : "defname=";
                text += def.name;
            }
            out.line(text);
            const std::string_view word =
                std::string_view(def.name).substr(2, def.name.rfind('_') - 2);
            out.line("NAME=" + std::string(word));
            out.line(random.percent(30) ? "TYPE=t_normal" : "TYPE=t_furniture");
            text = "VALUE=";
            appendInt(text, random.between(1, 500));
            out.line(text);
            text = "WEIGHT=";
            appendInt(text, random.between(1, 50));
            out.line(text);
            out.line("CATEGORY=Decoration");
            out.line("SUBSECTION=" + std::string(word));
            out.line("DESCRIPTION=" + std::string(word));
            out.line("");
        }
        out.line("[EOF]");
        out.close();
    }
    list.close();
    return files;
}

} // namespace tessaplex::bench
