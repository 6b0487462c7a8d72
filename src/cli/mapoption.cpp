// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/mapoption.h"

#include "app/session.h"
#include "formats/mapgeometry.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

namespace tessaplex::cli {

namespace {

constexpr const char *OptionName = "--map";
constexpr const char *AsWritten = "as-written";

// The map a --map value names, or nothing for "as written"; only values that pass the check.
std::optional<int> mapOf(const std::string &value) {
    if (value == AsWritten)
        return std::nullopt;
    return value[0] - '0';
}

bool isMapValue(const std::string &value) {
    return value == AsWritten ||
           (value.size() == 1 && value[0] >= '0' && value[0] < '0' + formats::MapCount);
}

} // namespace

void addMapOption(CLI::App *command) {
    command->add_option(OptionName)
        ->description("The map whose items to list and patch, in place of the \"Map\" setting: a "
                      "number from 0 to 5, or as-written to read each P= as it stands and patch "
                      "the first map's static files")
        ->type_name("N|as-written")
        ->check(
            [](const std::string &value) {
                return isMapValue(value)
                           ? std::string()
                           : std::string("--map takes a map number from 0 to 5 or as-written");
            },
            "");
}

void applyMapOption(const CLI::App &command, app::Session &session) {
    const CLI::Option *option = command.get_option_no_throw(OptionName);
    if (option && option->count() != 0)
        session.overrideMap(mapOf(option->as<std::string>()));
}

void reportItemsWithMapNumber(const app::Session &session) {
    const std::size_t count = session.itemsWithMapNumber();
    if (count != 0)
        std::cerr << withThousandsSeparators(count)
                  << " items carry a map number: choose the map with --map to patch them\n";
}

std::string withThousandsSeparators(std::size_t number) {
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

} // namespace tessaplex::cli
