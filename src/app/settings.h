// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaplex::app {

// The settings file: an INI text file read afresh at every read and changed at once by every
// write; nothing is cached, so a change made by hand is seen by the next read.
//
// Section and key names match without regard to letter case; the first matching section and the
// first matching key in it count. A value is the text after the first "=", blanks at both ends
// removed, cut to 2047 characters. Lines starting with ";" are comments.
class Settings {
public:
    // Touches no file; the file need not exist.
    explicit Settings(std::string path);

    [[nodiscard]] const std::string &path() const { return m_path; }

    [[nodiscard]] std::string readText(std::string_view section, std::string_view key,
                                       std::string_view defaultValue = {}) const;
    // "0x"/"0X" before more characters reads as "$"; a value that is no integer by the decimal
    // rule gives defaultValue.
    [[nodiscard]] std::int32_t readInteger(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue) const;
    // An integer read with the default 0 or 1; any non-zero value is true.
    [[nodiscard]] bool readBool(std::string_view section, std::string_view key,
                                bool defaultValue) const;

    // Replaces the key's value in place, or adds the key (and the section) when missing, keeping
    // every other line as it is. Creates the file on the first write. Throws
    // Error("Unable to write to <path>") when the file cannot be written; it then keeps its
    // previous contents.
    void writeText(std::string_view section, std::string_view key, std::string_view value);
    void writeBool(std::string_view section, std::string_view key, bool value);

private:
    std::string m_path;
};

// The section every setting of the program lives in.
inline constexpr std::string_view SettingsSection = "Custom";

} // namespace tessaplex::app
