// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/patchcompletion.h"

#include "base/error.h"
#include "io/digest.h"
#include "io/systempath.h"
#include "io/wholefile.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace tessaplex::patch {

namespace {

// Whether the file at path, now of status now, is the one recorded. A rename moves the change
// time, so a file that kept its size and modification time is compared by its bytes.
bool holds(io::FileSystem &files, const FileIdentity &recorded,
           const std::optional<io::FileStatus> &now, const std::string &path) {
    if (!now)
        return false;
    if (*now == recorded.status)
        return true;
    if (now->size != recorded.status.size || now->modified != recorded.status.modified)
        return false;
    const auto read = io::digestOfFile(files, path);
    return read && read->size == recorded.status.size && read->digest == recorded.digest;
}

std::string listed(const std::vector<std::string> &names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// What each file of the journal holds now, for an operator who must sort them out by hand.
std::string whichFileIsWhich(io::FileSystem &files, const PatchJournal &journal) {
    std::string text;
    std::vector<std::string> journals;
    for (const JournalEntry &e : journal.entries) {
        const auto now = files.status(e.target);
        text += " The " + e.role + " " + e.target;
        if (!now)
            text += " is missing";
        else if (holds(files, e.before, now, e.target))
            text += " holds its contents from before the PATCH";
        else if (holds(files, e.after, now, e.target))
            text += " holds its patched contents";
        else
            text += " holds contents that PATCH did not write";
        if (files.exists(e.replacement))
            text += "; the patched contents are in " + e.replacement;
        if (!e.backup.empty() && files.exists(e.backup))
            text += "; the contents from before the PATCH are in " + e.backup;
        text += ".";
        journals.push_back(journalNameFor(e.target));
    }
    return text + " Put the right file under each name, then remove " + listed(journals) + ".";
}

Error cannotComplete(io::FileSystem &files, const PatchJournal &journal, const std::string &why) {
    return Error("An interrupted PATCH cannot be completed: " + why + "." +
                 whichFileIsWhich(files, journal));
}

// A step that failed where nothing is in doubt: the journal stays, and the next run retries.
Error stepFailed(const PatchJournal &journal, const std::string &what) {
    return Error(what + ". The new files of the PATCH are complete and recorded in " +
                 journalNameFor(journal.entries.front().target) +
                 "; the next run of Tessaplex puts them in place");
}

} // namespace

void syncFoldersOf(io::FileSystem &files, const PatchJournal &journal) {
    std::vector<std::string> done;
    for (const JournalEntry &e : journal.entries) {
        const std::string folder =
            io::comparablePath(io::pathText(io::systemPath(e.target).parent_path()));
        if (std::find(done.begin(), done.end(), folder) == done.end()) {
            done.push_back(folder);
            files.syncFolderOf(e.target);
        }
    }
}

std::string completePatch(io::FileSystem &files, const PatchJournal &journal) {
    struct Step {
        const JournalEntry *entry;
        std::optional<io::FileStatus> target; // the target as it was looked at; nothing: missing
    };
    std::vector<Step> switches;
    for (const JournalEntry &e : journal.entries) {
        const auto target = files.status(e.target);
        if (files.exists(e.replacement)) {
            if (target && !holds(files, e.before, target, e.target))
                throw cannotComplete(files, journal,
                                     "the " + e.role + " " + e.target +
                                         " was changed by another program after PATCH read it");
            if (target && !e.backup.empty() && files.exists(e.backup))
                throw cannotComplete(files, journal,
                                     "both " + e.target + " and " + e.backup + " exist");
            if (!holds(files, e.after, files.status(e.replacement), e.replacement))
                throw cannotComplete(files, journal,
                                     "the new " + e.role + " " + e.replacement +
                                         " is not the file that PATCH wrote");
            switches.push_back({&e, target});
        } else if (!holds(files, e.after, target, e.target)) {
            // The world file is switched last: changed after that, it was the server's save
            // after a finished switch.
            const bool savedSince = &e == &journal.entries.back() && target &&
                                    !holds(files, e.before, target, e.target);
            if (!savedSince)
                throw cannotComplete(files, journal,
                                     "the new " + e.role + " " + e.replacement + " is missing");
        }
    }

    using Mode = io::FileSystem::Rename;
    for (const Step &step : switches) {
        const JournalEntry &e = *step.entry;
        if (step.target) {
            const auto again = files.status(e.target);
            if (!again || *again != *step.target)
                throw cannotComplete(files, journal,
                                     "the " + e.role + " " + e.target +
                                         " was changed by another program during PATCH");
            if (!e.backup.empty() && !files.rename(e.target, e.backup, Mode::NoReplace))
                throw stepFailed(journal, "Cannot rename " + e.target + " to " + e.backup);
        }
        const Mode mode = e.backup.empty() && step.target ? Mode::Replace : Mode::NoReplace;
        if (!files.rename(e.replacement, e.target, mode))
            throw stepFailed(journal, "Cannot rename " + e.replacement + " to " + e.target);
    }
    // The new names must be on the disk before the last copies of the old files go.
    syncFoldersOf(files, journal);

    std::vector<std::string> targets;
    for (const JournalEntry &e : journal.entries) {
        if (!e.backup.empty() && files.exists(e.backup) && !files.remove(e.backup))
            throw stepFailed(journal, "Cannot remove " + e.backup);
        targets.push_back(e.target);
    }
    for (const JournalEntry &e : journal.entries) {
        const std::string name = journalNameFor(e.target);
        if (files.exists(name) && !files.remove(name))
            throw stepFailed(journal, "Cannot remove " + name);
    }
    // The journals' removal need not wait for the disk: a journal that comes back after a power
    // failure finds its patch complete, and the next run only removes it.
    return "An interrupted PATCH was completed: " + listed(targets) + " now hold its results.";
}

std::vector<std::string> settleInterruptedPatch(io::FileSystem &files,
                                                const std::vector<std::string> &targets) {
    std::vector<std::string> notices;
    std::optional<PatchJournal> journal;
    std::vector<std::string> unfinished;
    for (const std::string &target : targets) {
        const std::string name = journalNameFor(target);
        if (!files.exists(name))
            continue;
        // Larger than any journal: throws rather than take another file for one.
        const std::optional<std::string> text = io::WholeFile::readAll(files, name, MaxJournalSize);
        if (!text)
            continue;
        auto parsed = PatchJournal::parse(*text);
        if (parsed && !journal)
            journal = std::move(parsed);
        else if (!parsed)
            unfinished.push_back(name); // cut short by a crash before anything was switched
    }
    if (journal)
        notices.push_back(completePatch(files, *journal));

    std::vector<std::string> removed;
    for (const std::string &name : unfinished) {
        if (files.exists(name) && !files.remove(name))
            throw Error("Cannot remove " + name + ", left by an interrupted PATCH");
        removed.push_back(name);
    }
    if (!journal) {
        for (const std::string &target : targets) {
            const std::string name = replacementNameFor(target);
            if (!files.exists(name))
                continue;
            if (!files.remove(name))
                throw Error("Cannot remove " + name + ", left by an interrupted PATCH");
            removed.push_back(name);
        }
    }
    if (!removed.empty())
        notices.push_back("A PATCH was interrupted before it replaced any file; its unfinished " +
                          std::string(removed.size() == 1 ? "file " : "files ") + listed(removed) +
                          (removed.size() == 1 ? " was" : " were") + " removed.");
    return notices;
}

std::vector<std::unique_ptr<io::FolderLock>>
lockFoldersOf(io::FileSystem &files, const std::vector<std::string> &targets) {
    namespace fs = std::filesystem;
    // One lock a folder: a second lock of the same folder would wait for the first.
    std::vector<std::pair<std::string, std::string>> folders; // canonical folder, a target in it
    for (const std::string &target : targets) {
        std::error_code ec;
        fs::path folder = io::systemPath(target).parent_path();
        folder = fs::weakly_canonical(folder.empty() ? fs::path(".") : folder, ec);
        if (ec)
            folder = io::systemPath(target).parent_path();
        folders.emplace_back(io::pathText(folder), target);
    }
    std::sort(folders.begin(), folders.end());
    std::vector<std::unique_ptr<io::FolderLock>> locks;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0 &&
            io::comparablePath(folders[i].first) == io::comparablePath(folders[i - 1].first))
            continue;
        auto lock = files.lockFolderOf(folders[i].second);
        if (!lock)
            throw Error("Another run of Tessaplex is patching the files in " + folders[i].first +
                        "; try again when it has finished");
        locks.push_back(std::move(lock));
    }
    return locks;
}

} // namespace tessaplex::patch
