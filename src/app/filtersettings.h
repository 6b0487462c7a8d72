// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selection/filterarea.h"

#include <string>
#include <string_view>

namespace tessaplex::app {
class Settings;
}

// The filter area as the settings file holds it: the keys "X1", "Y1", "X2", "Y2" and
// "FilterArea" in section "Custom". They are written the moment the operator changes a field or
// the check box, and read each time the Filter dialog is opened.
namespace tessaplex::selection {

// The area the dialog shows when it is opened: each bound read as an integer with the default 0,
// "Use" as a boolean with the default false.
[[nodiscard]] FilterArea storedFilterArea(const app::Settings &settings);

// The text an area field shows once it is left: the decimal form of its value by
// decimalTextToInt ("0x10" becomes "16", an unreadable text "0").
[[nodiscard]] std::string normalisedAreaField(std::string_view text);

// An area field was left: writes its normalised text under key ("X1", "Y1", "X2" or "Y2") at once
// and returns that text for the field. Throws Error("Unable to write to <path>") as every
// settings write does.
std::string storeAreaField(app::Settings &settings, std::string_view key, std::string_view text);

// "Use" was clicked: writes its new state under "FilterArea" at once.
void storeFilterAreaUse(app::Settings &settings, bool use);

} // namespace tessaplex::selection
