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
#include "io/wholefile.h"

#include <cstdio>
#include <utility>

namespace tessaplex::app {

namespace {

// Far above any real hue or tiledata file; a larger one is no such file.
constexpr std::uint64_t MaxHuesBytes = 16 * 1024 * 1024;
constexpr std::uint64_t MaxTiledataBytes = 64 * 1024 * 1024;

// What was read from one file, kept while the file's status stays the same: a file replaced or
// written to since gets another size, modification time or change time (or another inode), and
// is read anew at the next call.
template <typename T> class Cached {
public:
    template <typename Load>
    const T &get(io::FileSystem &files, const std::string &path, Load load) {
        const std::optional<io::FileStatus> now = files.status(path);
        if (m_value && now && m_path == path && *now == m_status)
            return *m_value;
        m_value.reset();
        m_path.clear();
        m_value.emplace(load());
        // Without a status nothing tells a change later: the next call reads again.
        if (now) {
            m_path = path;
            m_status = *now;
        }
        return *m_value;
    }

private:
    std::string m_path;
    io::FileStatus m_status;
    std::optional<T> m_value;
};

io::InputFile openClientFile(io::FileSystem &files, const std::string &path) {
    std::optional<io::InputFile> file = io::InputFile::open(files, nativePath(path));
    if (!file)
        throw Error("Cannot open file " + path);
    return std::move(*file);
}

std::string readWhole(io::FileSystem &files, const std::string &path, std::uint64_t maxBytes) {
    std::optional<std::string> bytes = io::WholeFile::readAll(files, nativePath(path), maxBytes);
    if (!bytes)
        throw Error("Cannot open file " + path);
    return std::move(*bytes);
}

std::string entryText(std::uint32_t entry) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(entry));
    return text;
}

} // namespace

struct ClientFiles::Cache {
    io::RealFileSystem files;
    Cached<formats::UopTable> uop;
    Cached<formats::HueTable> hues;
    Cached<formats::TileDataItems> tiledata;

    const formats::TileDataItems *tiledataOf(const Settings &settings) {
        const std::string path = settings.readText(SettingsSection, keys::Tiledata);
        if (path.empty())
            return nullptr;
        return &tiledata.get(files, nativePath(path), [&] {
            return formats::TileDataItems(readWhole(files, path, MaxTiledataBytes));
        });
    }

    // The pixels of entry as an item of that COLOR value shows them.
    art::PixelColours coloursOf(const Settings &settings, std::uint32_t entry,
                                std::optional<std::uint32_t> color) {
        if (!color)
            return {};
        const std::string path = settings.readText(SettingsSection, keys::Hues);
        if (path.empty())
            return {};
        const formats::HueTable &table = hues.get(files, nativePath(path), [&] {
            return formats::HueTable::parse(readWhole(files, path, MaxHuesBytes));
        });
        const formats::Hue *hue = table.ofColor(*color);
        if (!hue)
            return {};
        bool partial = (*color & formats::PartialHueBit) != 0;
        if (!partial && entry >= formats::ItemArtBase) {
            const formats::TileDataItems *items = tiledataOf(settings);
            const auto record = items ? items->item(entry - formats::ItemArtBase) : std::nullopt;
            partial = record && (record->flags & formats::PartialHueFlag) != 0;
        }
        return art::PixelColours(*hue, partial);
    }

    art::DrawOutcome drawFromUop(io::InputFile &artData, const std::string &path,
                                 std::uint32_t entry, const art::PixelColours &colours,
                                 art::PixelCanvas &canvas) {
        const formats::UopTable &table =
            uop.get(files, nativePath(path), [&] { return formats::UopTable::read(artData); });
        if (!table.problem().empty())
            throw Error("The art file " + path + " is damaged: " + table.problem());
        const formats::UopEntry *found =
            table.find(formats::uopNameHash(formats::artUopName(entry)));
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
    const formats::TileDataItems *items = m_cache->tiledataOf(settings);
    if (!items)
        return std::nullopt;
    std::optional<formats::ItemTileRecord> record = items->item(itemId);
    if (!record)
        return std::nullopt;
    ItemTileData data;
    data.name = std::move(record->name);
    data.flags = record->flags;
    for (const formats::TileFlagName &flag : formats::ItemFlagNames) {
        if (data.flags & flag.bit)
            data.flagWords.emplace_back(flag.word);
    }
    return data;
}

} // namespace tessaplex::app
