// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings.h"
#include "art/artdrawing.h"
#include "art/pixelcanvas.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaplex::app {

// What the tiledata file says of one item ID.
struct ItemTileData {
    // The record's name, up to its NUL or the field's end; may be empty.
    std::string name;
    std::uint64_t flags = 0;
    // The flags worth showing, as words ("Wall", "Impassable", ...), lowest bit first.
    std::vector<std::string> flagWords;
};

// The client's files that the preview and the names read: the art files (art.mul with its index,
// or one UOP container), the hue table and the tiledata file. Paths are read from the settings at
// every call, so a changed path counts at once; what was read of a UOP container's table and of
// the hue and tiledata files is kept between calls while the file's status (size, modification
// and change time, identity) stays the same, so a replaced file is read anew at the next call.
class ClientFiles {
public:
    ClientFiles();
    ~ClientFiles();
    ClientFiles(const ClientFiles &) = delete;
    ClientFiles &operator=(const ClientFiles &) = delete;

    // Draws art entry `entry` as the preview shows it. "Art" names art.mul or a UOP file, told
    // apart by the file's first four bytes; only with art.mul is "ArtIdx" read. An entry that the
    // UOP file does not hold is Empty. With a COLOR value and "Hues" set, the item is drawn in the
    // hue that value names (partial when the value asks for it or, "Tiledata" set, the item's
    // PartialHue flag does); without one, exactly as the art file holds it.
    // Throws Error("Cannot open file <path>") when a named file cannot be opened (the canvas is
    // then untouched), and Error("The art file <path> is damaged...") when a UOP file's table or
    // the entry cannot be read as one.
    art::DrawOutcome drawArt(const Settings &settings, std::uint32_t entry,
                             std::optional<std::uint32_t> color, art::PixelCanvas &canvas);

    // The tiledata record of item ID `itemId`; nothing when "Tiledata" is empty or the file holds
    // no record for that ID. Throws Error("Cannot open file <path>") when the file is named but
    // cannot be read.
    [[nodiscard]] std::optional<ItemTileData> tileData(const Settings &settings,
                                                       std::uint32_t itemId);

private:
    struct Cache;
    std::unique_ptr<Cache> m_cache;
};

} // namespace tessaplex::app
