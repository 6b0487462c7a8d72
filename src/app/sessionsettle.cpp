// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/patchtargets.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "formats/mapgeometry.h"
#include "io/realfilesystem.h"
#include "patch/patchcompletion.h"

namespace tessaplex::app {

std::vector<std::string> patchTargets(const Settings &settings, io::FileSystem &files) {
    std::vector<std::string> targets;
    for (std::string_view key : {keys::Staidx, keys::Statics, keys::WorldFileRead}) {
        const std::string path = settings.readText(SettingsSection, key);
        if (path.empty())
            continue;
        // A link that leads nowhere names no file that a PATCH could have replaced.
        if (const auto followed = files.followLinks(nativePath(path)))
            targets.push_back(*followed);
    }
    return targets;
}

std::optional<int> Session::chosenMap() const {
    if (m_mapOverride)
        return *m_mapOverride;
    const std::string text = m_settings.readText(SettingsSection, keys::Map);
    if (text.empty())
        return std::nullopt;
    if (text.size() == 1 && text[0] >= '0' && text[0] < '0' + formats::MapCount)
        return text[0] - '0';
    throw Error("The \"Map\" setting is \"" + text +
                "\"; it must be empty (as written) or a map number from 0 to 5");
}

void Session::settleInterruptedPatch() {
    io::RealFileSystem files;
    settleInterruptedPatch(files);
}

void Session::settleInterruptedPatch(io::FileSystem &files) {
    const std::vector<std::string> targets = patchTargets(m_settings, files);
    const auto locks = patch::lockFoldersOf(files, targets);
    notify(patch::settleInterruptedPatch(files, targets));
}

void Session::notify(const std::vector<std::string> &notices) {
    for (const std::string &notice : notices) {
        if (m_noticeReceiver)
            m_noticeReceiver(notice);
    }
}

} // namespace tessaplex::app
