// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"

#include "app/startdirectory.h"
#include "world/error.h"
#include "world/itemnamecatalog.h"

#include <filesystem>

namespace tessaplex::app {

bool fileExists(const std::string &path) {
    if (path.empty())
        return false;
    std::error_code ec;
    const auto status = std::filesystem::status(nativePath(path), ec);
    // Only a regular file (or a link to one): reading a pipe or a device such as /dev/zero as a
    // world file would never end.
    return !ec && std::filesystem::is_regular_file(status);
}

Session::Session(std::string startDirectory)
    : m_startDirectory(withTrailingSeparator(std::move(startDirectory)))
    , m_settings(m_startDirectory + SettingsFileName) {}

std::string Session::ownFilePath(const char *fileName) const {
    return m_startDirectory + fileName;
}

void Session::readScriptFileList() {
    const std::string path = ownFilePath(ScriptListFileName);
    if (!fileExists(path))
        return; // the holder keeps the list of the last analysis that found the file
    world::LineList list;
    list.readFile(path);
    m_scriptFileList.clear();
    for (std::size_t i = 0; i < list.size(); ++i)
        m_scriptFileList.emplace_back(list.line(i));
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
    const std::string itemFolder = m_settings.readText(SettingsSection, keys::ItemFiles);
    if (itemFolder.empty())
        throw Error("Range check error");

    world::ItemNameCatalog catalog;
    readScriptFileList();
    const std::string folder = withTrailingSeparator(itemFolder);
    {
        world::LineList script;
        for (const std::string &name : m_scriptFileList) {
            const std::string path = nativePath(folder + name);
            if (!fileExists(path))
                continue;
            script.readFile(path);
            catalog.scan(script);
        }
    }

    m_lines.clear();
    const std::string worldFile = m_settings.readText(SettingsSection, keys::WorldFileRead);
    if (!fileExists(worldFile))
        return world::AnalyseOutcome::NothingToList;
    m_lines.readFile(nativePath(worldFile));

    const std::string lines = linesText ? std::string(*linesText) : std::to_string(m_lines.size());
    const auto outcome =
        world::listItems(m_lines, world::lineWindow(startText, lines), catalog, m_table, gauge);
    if (outcome == world::AnalyseOutcome::Listed) {
        m_analysedWorldFile = m_lines.sourcePath();
        m_analysedGeneration = m_lines.generation();
    }
    return outcome;
}

std::optional<world::WorldFileInfo> Session::worldFileInfo() {
    const std::string worldFile = m_settings.readText(SettingsSection, keys::WorldFileRead);
    if (!fileExists(worldFile))
        return std::nullopt;
    m_lines.readFile(nativePath(worldFile));
    world::WorldFileInfo info = world::tableInfo(m_table);
    info.lines = m_lines.size();
    return info;
}

} // namespace tessaplex::app
