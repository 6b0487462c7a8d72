// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/filesystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaplex::patch {

// A file as it was when it was recorded: its status and the digest of its bytes.
struct FileIdentity {
    io::FileStatus status;
    std::uint64_t digest = 0;
};

// One file that a PATCH replaces: the new contents wait under the replacement name; a static
// map file's old contents stand under the backup name while the files are switched (the world
// file is replaced in one step and has none).
struct JournalEntry {
    std::string role; // what the file is, in the operator's words: "static index file", ...
    std::string target, replacement, backup;
    FileIdentity before; // the target as PATCH read it
    FileIdentity after;  // the replacement as PATCH wrote it
};

// The record of a PATCH whose new files are complete: written (and flushed) beside each target
// before the first file is switched, so that a run that dies while switching leaves what the
// next run needs to finish the switch. Entries stand in the order in which they are switched.
struct PatchJournal {
    std::vector<JournalEntry> entries;

    // The journal's text; its last line carries a digest of the lines before it, so that a
    // journal cut short by a crash is never taken for a complete one.
    [[nodiscard]] std::string text() const;
    // Nothing when text is no complete journal.
    [[nodiscard]] static std::optional<PatchJournal> parse(std::string_view text);
};

// The names that PATCH gives its own files beside a target; no other file is ever removed as
// a leftover of an interrupted run.
[[nodiscard]] std::string journalNameFor(const std::string &target);
[[nodiscard]] std::string replacementNameFor(const std::string &target);

// A journal is a few hundred bytes; a larger file of that name is refused, never read as one.
inline constexpr std::size_t MaxJournalSize = 64 * 1024;

} // namespace tessaplex::patch
