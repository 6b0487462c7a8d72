// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tessaplex::io {

// Writes bytes to a temporary file beside path, flushes it to the disk and renames it over path.
// Returns false, with path untouched and no temporary file left, when any step fails, and also
// when path is write-protected or no regular file. A link at path is followed: the file it names
// is replaced and the link stays. The new file keeps the old one's access rights.
[[nodiscard]] bool writeFileSafely(const std::string &path, std::string_view bytes);

// A name beside path that no file bears yet, for a file that is to replace path.
[[nodiscard]] std::string temporaryNameBeside(const std::string &path);

} // namespace tessaplex::io
