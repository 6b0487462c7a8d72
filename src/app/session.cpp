// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"

#include "app/startdirectory.h"
#include "base/error.h"
#include "io/realfilesystem.h"
#include "io/systempath.h"
#include "io/wholefile.h"
#include "world/itemnamecatalog.h"

#include <cstdint>
#include <filesystem>
#include <limits>

namespace tessaplex::app {

namespace {

// A list of file names holds some hundred lines; anything near this is no such list.
constexpr std::uint64_t MaxScriptListSize = std::uint64_t{4} << 20;
// The largest item scripts of big shards hold a few megabytes.
constexpr std::uint64_t MaxScriptSize = std::uint64_t{256} << 20;

// Whether a file is there to be read: false when it is absent; throws Error("Cannot open file
// <path>") for anything there that cannot be read. The line list reading it sets its own bound.
bool isPresent(const std::string &path) {
    return io::WholeFile::open(path, std::numeric_limits<std::uint64_t>::max()).has_value();
}

} // namespace

Session::Session(std::string startDirectory)
    : m_startDirectory(withTrailingSeparator(std::move(startDirectory)))
    , m_settings(m_startDirectory + SettingsFileName) {}

std::string Session::ownFilePath(const char *fileName) const {
    return m_startDirectory + fileName;
}

void Session::readScriptFileList() {
    const std::string path = ownFilePath(ScriptListFileName);
    const std::optional<std::string> bytes = io::WholeFile::readAll(path, MaxScriptListSize);
    if (!bytes)
        return; // the holder keeps the list of the last analysis that found the file
    world::LineList list;
    list.setBytes(*bytes, path);
    m_scriptFileList.clear();
    (void)list.forEachLine(0, list.size(), [this](std::size_t, std::string_view line) {
        m_scriptFileList.emplace_back(line);
        return true;
    });
}

world::AnalyseOutcome Session::analyse(std::string_view startText, std::string_view linesText,
                                       ProgressGauge &gauge) {
    return analyseWindow(startText, &linesText, gauge);
}

world::AnalyseOutcome Session::analyseAllLines(std::string_view startText, ProgressGauge &gauge) {
    return analyseWindow(startText, nullptr, gauge);
}

world::AnalyseOutcome Session::analyseWindow(std::string_view startText,
                                             const std::string_view *linesText,
                                             ProgressGauge &gauge) {
    settleInterruptedPatch(); // the world file read below may be one a crash left half switched
    const std::string itemFolder = m_settings.readText(SettingsSection, keys::ItemFiles);
    if (itemFolder.empty())
        throw Error("Range check error");

    world::ItemNameCatalog catalog;
    readScriptFileList();
    const std::string folder = withTrailingSeparator(itemFolder);
    {
        world::LineList script;
        for (const std::string &name : m_scriptFileList) {
            if (name.empty())
                continue; // an empty line names no file, not the folder itself
            const std::string path = nativePath(folder + name);
            const std::optional<std::string> bytes = io::WholeFile::readAll(path, MaxScriptSize);
            if (!bytes)
                continue;
            script.setBytes(*bytes, path);
            catalog.scan(script);
        }
    }

    m_lines.clear();
    const std::string worldFile =
        nativePath(m_settings.readText(SettingsSection, keys::WorldFileRead));
    if (!isPresent(worldFile)) {
        m_linesAnalysed = false;
        return world::AnalyseOutcome::NothingToList;
    }
    // Taken before the read: a change during it moves the change time, so it shows next time.
    const std::optional<io::FileStatus> status = io::RealFileSystem().status(worldFile);
    m_lines.readFile(worldFile);

    world::LineWindow window = world::lineWindow(startText, linesText ? *linesText : "0");
    window.toTheEnd = !linesText;
    const std::optional<int> map = chosenMap();
    const auto outcome = world::listItems(m_lines, window, catalog, m_table, gauge, map);
    if (outcome == world::AnalyseOutcome::Listed) {
        m_analysedWorldFile = m_lines.sourcePath();
        m_analysedStatus = status;
        m_analysedMap = map;
        m_itemsWithMapNumber = map ? 0 : m_table.itemsWithMapNumber();
    }
    // A table left from before lists lines of other bytes now, unless the file is unchanged.
    m_linesAnalysed =
        outcome == world::AnalyseOutcome::Listed ||
        (m_linesAnalysed &&
         io::comparablePath(m_lines.sourcePath()) == io::comparablePath(m_analysedWorldFile) &&
         status && status == m_analysedStatus);
    return outcome;
}

std::optional<world::WorldFileInfo> Session::worldFileInfo() {
    settleInterruptedPatch();
    const std::string worldFile =
        nativePath(m_settings.readText(SettingsSection, keys::WorldFileRead));
    if (!isPresent(worldFile))
        return std::nullopt;
    // Counted on a copy of its own: the lines the table was analysed from stay what PATCH
    // rewrites.
    world::LineList onDisk;
    onDisk.readFile(worldFile);
    world::WorldFileInfo info = world::tableInfo(m_table);
    info.lines = onDisk.size();
    return info;
}

} // namespace tessaplex::app
