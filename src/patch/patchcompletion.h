// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"
#include "patch/patchjournal.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaplex::patch {

// Syncs each folder that holds a target of the journal once, so that names made or changed there
// are on the disk.
void syncFoldersOf(io::FileSystem &files, const PatchJournal &journal);

// Puts the new files of a recorded PATCH in place, whatever part of that a run before did:
// each target that still holds what PATCH read is switched to its replacement (a static map
// file by way of its backup name), then the backups and the journals are removed. Nothing is
// switched unless every file is as the journal expects. Returns the notice for the operator.
// Throws Error, the journal kept, when it cannot finish; the text then says which file holds
// what.
std::string completePatch(io::FileSystem &files, const PatchJournal &journal);

// Before a command uses the files named targets: completes a PATCH that a journal beside one of
// them records or, where none does, removes the new files that a PATCH interrupted before its
// journal left behind. Returns the notices for the operator, none when there was nothing to do.
// The caller holds the folder locks of targets.
std::vector<std::string> settleInterruptedPatch(io::FileSystem &files,
                                                const std::vector<std::string> &targets);

// The locks of the folders that hold targets, so that two runs never work on the same files at
// once. Throws Error when another run holds one.
std::vector<std::unique_ptr<io::FolderLock>> lockFoldersOf(io::FileSystem &files,
                                                           const std::vector<std::string> &targets);

} // namespace tessaplex::patch
