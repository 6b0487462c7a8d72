// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/filtersettings.h"

#include "app/session.h"
#include "app/settings.h"
#include "world/numberrules.h"

namespace tessaplex::selection {

using app::SettingsSection;

FilterArea storedFilterArea(const app::Settings &settings) {
    FilterArea area;
    area.x1 = settings.readInteger(SettingsSection, app::keys::X1, 0);
    area.y1 = settings.readInteger(SettingsSection, app::keys::Y1, 0);
    area.x2 = settings.readInteger(SettingsSection, app::keys::X2, 0);
    area.y2 = settings.readInteger(SettingsSection, app::keys::Y2, 0);
    area.use = settings.readBool(SettingsSection, app::keys::FilterArea, false);
    return area;
}

std::string normalisedAreaField(std::string_view text) {
    std::string normalised;
    world::appendDecimal(normalised, world::decimalTextToInt(text));
    return normalised;
}

std::string storeAreaField(app::Settings &settings, std::string_view key, std::string_view text) {
    std::string normalised = normalisedAreaField(text);
    settings.writeText(SettingsSection, key, normalised);
    return normalised;
}

void storeFilterAreaUse(app::Settings &settings, bool use) {
    settings.writeBool(SettingsSection, app::keys::FilterArea, use);
}

} // namespace tessaplex::selection
