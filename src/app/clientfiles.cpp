// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clientfiles.h"

#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "formats/huefile.h"
#include "formats/tiledatafile.h"
#include "formats/uopfile.h"
#include "io/inputfile.h"
#include "io/memorybytesource.h"
#include "io/realfilesystem.h"

#include <cstdio>
#include <unordered_map>
#include <utility>

namespace tessaplex::app {

namespace {

// What was read from one file, kept while the file's status stays the same: a file replaced or
// written to since gets another size, modification time or change time (or another inode), and
// is read anew at the next call.
template <typename T> class Cached {
public:
    // The value kept for the file at path, T() again when the file is another or has changed.
    T &of(io::FileSystem &files, const std::string &path) {
        const std::optional<io::FileStatus> now = files.status(path);
        if (!now || m_path != path || *now != m_status) {
            m_value = T();
            // Without a status nothing tells a change later: the next call starts afresh.
            m_path = now ? path : std::string();
            m_status = now.value_or(io::FileStatus());
        }
        return m_value;
    }

private:
    std::string m_path;
    io::FileStatus m_status;
    T m_value{};
};

io::InputFile openClientFile(io::FileSystem &files, const std::string &path) {
    std::optional<io::InputFile> file = io::InputFile::open(files, nativePath(path));
    if (!file)
        throw Error("Cannot open file " + path);
    return std::move(*file);
}

std::string entryText(std::uint32_t entry) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(entry));
    return text;
}

} // namespace

struct ClientFiles::Cache {
    io::RealFileSystem files;
    Cached<std::optional<formats::UopTable>> uop;
    // By hue number, and by item ID: read one record at a time, as the items ask for them.
    Cached<std::unordered_map<std::uint32_t, std::optional<formats::Hue>>> hues;
    Cached<std::unordered_map<std::uint32_t, std::optional<formats::ItemTileRecord>>> tiledata;

    // The tiledata record of item ID id; nothing when "Tiledata" is empty or has none.
    const std::optional<formats::ItemTileRecord> *tileRecord(const Settings &settings,
                                                             std::uint32_t id) {
        const std::string path = settings.readText(SettingsSection, keys::Tiledata);
        if (path.empty())
            return nullptr;
        auto &records = tiledata.of(files, nativePath(path));
        auto found = records.find(id);
        if (found == records.end()) {
            io::InputFile file = openClientFile(files, path);
            found = records.emplace(id, formats::readItemTileRecord(file, id)).first;
        }
        return &found->second;
    }

    // The pixels of entry as an item of that COLOR value shows them.
    art::PixelColours coloursOf(const Settings &settings, std::uint32_t entry,
                                std::optional<std::uint32_t> color) {
        if (!color)
            return {};
        const std::string path = settings.readText(SettingsSection, keys::Hues);
        if (path.empty())
            return {};
        auto &known = hues.of(files, nativePath(path));
        const std::uint32_t number = *color & formats::HueNumberMask;
        auto found = known.find(number);
        if (found == known.end()) {
            io::InputFile file = openClientFile(files, path);
            found = known.emplace(number, formats::readHue(file, number)).first;
        }
        if (!found->second)
            return {};
        bool partial = (*color & formats::PartialHueBit) != 0;
        if (!partial && entry >= formats::ItemArtBase) {
            const auto *record = tileRecord(settings, entry - formats::ItemArtBase);
            partial = record && *record && ((*record)->flags & formats::PartialHueFlag) != 0;
        }
        return art::PixelColours(*found->second, partial);
    }

    art::DrawOutcome drawFromUop(io::InputFile &artData, const std::string &path,
                                 std::uint32_t entry, const art::PixelColours &colours,
                                 art::PixelCanvas &canvas) {
        std::optional<formats::UopTable> &table = uop.of(files, nativePath(path));
        if (!table)
            table = formats::UopTable::read(artData);
        if (!table->problem().empty())
            throw Error("The art file " + path + " is damaged: " + table->problem());
        const std::optional<formats::UopEntry> found =
            table->find(artData, formats::uopNameHash(formats::artUopName(entry)));
        if (!found)
            return art::DrawOutcome::Empty;
        const formats::UopEntryBytes record = formats::readUopEntry(artData, *found);
        if (!record.problem.empty()) {
            throw Error("The art file " + path + " is damaged at art entry " + entryText(entry) +
                        ": " + record.problem);
        }
        io::MemoryByteSource bytes(record.bytes);
        return art::drawArtRecord(bytes, 0, canvas, colours);
    }
};

ClientFiles::ClientFiles()
    : m_cache(std::make_unique<Cache>()) {}

ClientFiles::~ClientFiles() = default;

art::DrawOutcome ClientFiles::drawArt(const Settings &settings, std::uint32_t entry,
                                      std::optional<std::uint32_t> color,
                                      art::PixelCanvas &canvas) {
    const std::string artPath = settings.readText(SettingsSection, keys::Art);
    io::InputFile artData = openClientFile(m_cache->files, artPath);
    // The first bytes tell the kind of file, not its name: operators rename files.
    unsigned char magic[4];
    const bool uop =
        artData.readAt(0, magic, sizeof magic) == sizeof magic && formats::isUopMagic(magic);
    if (uop) {
        const art::PixelColours colours = m_cache->coloursOf(settings, entry, color);
        return m_cache->drawFromUop(artData, artPath, entry, colours, canvas);
    }
    io::InputFile artIndex =
        openClientFile(m_cache->files, settings.readText(SettingsSection, keys::ArtIdx));
    const art::PixelColours colours = m_cache->coloursOf(settings, entry, color);
    return art::drawArtEntry(artData, artIndex, entry, canvas, colours);
}

std::optional<ItemTileData> ClientFiles::tileData(const Settings &settings, std::uint32_t itemId) {
    const std::optional<formats::ItemTileRecord> *record = m_cache->tileRecord(settings, itemId);
    if (!record || !*record)
        return std::nullopt;
    ItemTileData data;
    data.name = (*record)->name;
    data.flags = (*record)->flags;
    for (const formats::TileFlagName &flag : formats::ItemFlagNames) {
        if (data.flags & flag.bit)
            data.flagWords.emplace_back(flag.word);
    }
    return data;
}

} // namespace tessaplex::app
