// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clientfiles.h"

#include "app/artpreview.h"

namespace tessaplex::app {

struct ClientFiles::Cache {};

ClientFiles::ClientFiles()
    : m_cache(std::make_unique<Cache>()) {}

ClientFiles::~ClientFiles() = default;

art::DrawOutcome ClientFiles::drawArt(const Settings &settings, std::uint32_t entry,
                                      std::optional<std::uint32_t> /*color*/,
                                      art::PixelCanvas &canvas) {
    return previewArt(settings, entry, canvas);
}

std::optional<ItemTileData> ClientFiles::tileData(const Settings & /*settings*/,
                                                  std::uint32_t /*itemId*/) {
    return std::nullopt;
}

} // namespace tessaplex::app
