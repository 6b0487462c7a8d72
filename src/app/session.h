// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/clientfiles.h"
#include "app/settings.h"
#include "io/filesystem.h"
#include "patch/patchplan.h"
#include "world/analyse.h"
#include "world/itemtable.h"
#include "world/linelist.h"
#include "world/worldfileinfo.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex {
class ProgressGauge;
}

namespace tessaplex::app {

// What lives longer than one command, shared by the desktop program and the CLI: the item table,
// the world file line list, the current row, the settings, the script file list holder and the
// main window's filter list. Every command of either shell is a method here or a core function
// called with these objects, so neither shell holds logic of its own.
class Session {
public:
    // startDirectory ends with a separator and holds qelm.ini, qelmfile.txt and qelmitem.txt.
    explicit Session(std::string startDirectory);

    [[nodiscard]] const std::string &startDirectory() const { return m_startDirectory; }
    [[nodiscard]] std::string ownFilePath(const char *fileName) const;

    Settings &settings() { return m_settings; }
    [[nodiscard]] const Settings &settings() const { return m_settings; }
    world::ItemTable &table() { return m_table; }
    [[nodiscard]] const world::ItemTable &table() const { return m_table; }
    world::LineList &lines() { return m_lines; }
    [[nodiscard]] const world::LineList &lines() const { return m_lines; }
    // The client's art, hue and tiledata files, read through one cache for the whole session.
    ClientFiles &clientFiles() { return m_clientFiles; }

    // The row the grid's selection reported last; 0 names no item.
    [[nodiscard]] int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row) { m_currentRow = row; }

    // The map whose items Analyse lists and PATCH writes: nothing for "as written", where "P="
    // values are read as they stand and the static files are those of the first map; else 0 to
    // 5. Taken from the "Map" setting, absent or empty meaning "as written", unless overridden
    // for this session (the CLI's --map). Throws Error for a setting that names no map.
    [[nodiscard]] std::optional<int> chosenMap() const;
    void overrideMap(std::optional<int> map) { m_mapOverride = map; }
    // The listed items of the last analysis whose "P=" carries a map number (four numbers),
    // when it was made as written; such items cannot be patched until a map is chosen.
    [[nodiscard]] std::size_t itemsWithMapNumber() const { return m_itemsWithMapNumber; }

    // Receives what a command did without being asked: the completion of an interrupted PATCH,
    // the removal of its unfinished files. Without a receiver such notices are dropped.
    void setNoticeReceiver(std::function<void(const std::string &)> receiver) {
        m_noticeReceiver = std::move(receiver);
    }

    // Completes a PATCH that a crash interrupted, or removes what one left unfinished, for the
    // static map files and world file that the settings name; the operator is told through the
    // notice receiver. Analyse, the information dialog's values and PATCH do this first; the CLI
    // before every command. Throws Error when such a PATCH cannot be completed, or when another
    // run is patching these files.
    void settleInterruptedPatch();
    void settleInterruptedPatch(io::FileSystem &files);

    std::vector<std::string> &scriptFileList() { return m_scriptFileList; }
    std::vector<std::string> &mainFilterList() { return m_mainFilterList; }

    // Analyse: builds the item-name catalog from the script files named in qelmfile.txt, reads
    // the world file into the line list and lists the items of the line window. Throws
    // Error("Range check error") when "ItemFiles" is empty. A missing world file or a window
    // beyond it lists nothing and changes no row.
    world::AnalyseOutcome analyse(std::string_view startText, std::string_view linesText,
                                  ProgressGauge &gauge);
    // Analyse with the "Lines" field holding the number of lines of the world file as this
    // analysis reads it (the CLI's default window), so that the file is read only once.
    world::AnalyseOutcome analyseAllLines(std::string_view startText, ProgressGauge &gauge);

    // The information dialog's values: the lines of the world file on disk, counted without
    // touching the lines the table was analysed from; nothing ("<FILE NOT FOUND>") when
    // "Worldfile" names no file.
    [[nodiscard]] std::optional<world::WorldFileInfo> worldFileInfo();

    // PATCH: merges the rows marked "YES" into new static map files and rewrites the world file
    // without their sections. TooManyMarks ("You can only select 500.000 items") changes nothing;
    // Finished ("Process finished") also when no row was marked. Throws Error, with every file
    // as it was, when anything stands in the way.
    enum class PatchOutcome { TooManyMarks, Finished };
    PatchOutcome patch(ProgressGauge &gauge);
    // The same on the given files (tests hand in files that fail on purpose).
    PatchOutcome patch(ProgressGauge &gauge, io::FileSystem &files);
    // Every check of PATCH, changing no file: what PATCH would write, or nothing when too many
    // rows are marked. Throws Error as patch() does; with no marked row the plan is empty.
    [[nodiscard]] std::optional<patch::PatchPlan> planPatch() const;
    [[nodiscard]] std::optional<patch::PatchPlan> planPatch(io::FileSystem &files) const;

    // The world file the table was analysed from; PATCH refuses to rewrite another.
    [[nodiscard]] const std::string &analysedWorldFile() const { return m_analysedWorldFile; }
    // The map the table was analysed for (nothing: as written); its blocks are that map's.
    [[nodiscard]] std::optional<int> analysedMap() const { return m_analysedMap; }
    // Whether lines() still holds the bytes the table was analysed from: an Analyse that listed
    // nothing leaves the table as it was, but may have read other bytes.
    [[nodiscard]] bool linesAnalysed() const { return m_linesAnalysed; }

private:
    void notify(const std::vector<std::string> &notices);
    void readScriptFileList();
    // linesText null: the number of lines of the world file.
    world::AnalyseOutcome analyseWindow(std::string_view startText,
                                        const std::string_view *linesText, ProgressGauge &gauge);

    std::string m_startDirectory;
    Settings m_settings;
    world::ItemTable m_table;
    ClientFiles m_clientFiles;
    world::LineList m_lines;
    int m_currentRow = 0;
    std::vector<std::string> m_scriptFileList;
    std::vector<std::string> m_mainFilterList;
    std::function<void(const std::string &)> m_noticeReceiver;
    std::optional<std::optional<int>> m_mapOverride;
    std::optional<int> m_analysedMap;
    std::size_t m_itemsWithMapNumber = 0;
    std::string m_analysedWorldFile;
    std::optional<io::FileStatus> m_analysedStatus;
    bool m_linesAnalysed = false;
};

// Keys of the settings file, all in section "Custom".
namespace keys {
inline constexpr std::string_view Staidx = "Staidx";
inline constexpr std::string_view Statics = "Statics";
inline constexpr std::string_view WorldFileRead = "Worldfile";
inline constexpr std::string_view WorldFileWritten = "WorldFile";
inline constexpr std::string_view ArtIdx = "ArtIdx";
inline constexpr std::string_view Art = "Art";
inline constexpr std::string_view Hues = "Hues";
inline constexpr std::string_view Tiledata = "Tiledata";
inline constexpr std::string_view ShowHue = "ShowHue";
inline constexpr std::string_view ItemFiles = "ItemFiles";
inline constexpr std::string_view Unix = "Unix";
inline constexpr std::string_view X1 = "X1";
inline constexpr std::string_view Y1 = "Y1";
inline constexpr std::string_view X2 = "X2";
inline constexpr std::string_view Y2 = "Y2";
inline constexpr std::string_view FilterArea = "FilterArea";
inline constexpr std::string_view Map = "Map";
} // namespace keys

} // namespace tessaplex::app
