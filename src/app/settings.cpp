// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include "base/error.h"
#include "io/safewrite.h"
#include "io/wholefile.h"
#include "world/numberrules.h"

#include <optional>
#include <vector>

namespace tessaplex::app {

namespace {

constexpr std::size_t MaxValueLength = 2047;

struct Line {
    std::size_t begin; // offset of the first character
    std::size_t end;   // offset after the last character, before the line end
    std::size_t next;  // offset of the following line
};

// A settings file holds a few hundred bytes; anything near this is no settings file.
constexpr std::uint64_t MaxFileSize = std::uint64_t{4} << 20;

// The whole file; a missing file reads as an empty one, so every key gives its default.
std::string readFile(const std::string &path) {
    return io::WholeFile::readAll(path, MaxFileSize).value_or(std::string());
}

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t e = p;
        while (e < text.size() && text[e] != '\r' && text[e] != '\n')
            ++e;
        std::size_t next = e;
        if (next < text.size() && text[next] == '\r')
            ++next;
        if (next < text.size() && text[next] == '\n' && (next == e || text[next - 1] == '\r'))
            ++next;
        lines.push_back({p, e, next});
        p = next;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    const auto close = line.find(']');
    return trim(line.substr(0, close));
}

// The key and value of a "key=value" line, or nothing for any other line.
std::optional<std::pair<std::string_view, std::string_view>> entry(std::string_view line) {
    const auto trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::make_pair(trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
}

struct Location {
    bool sectionFound = false;
    std::size_t sectionEndLine = 0; // index after the section's last entry line
    std::optional<std::size_t> keyLine;
};

Location locate(std::string_view text, const std::vector<Line> &lines, std::string_view section,
                std::string_view key) {
    Location where;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (auto name = sectionName(line)) {
            if (where.sectionFound)
                break; // only the first matching section counts
            inSection = equalsNoCase(*name, section);
            if (inSection) {
                where.sectionFound = true;
                where.sectionEndLine = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (auto kv = entry(line)) {
            where.sectionEndLine = i + 1;
            if (!where.keyLine && equalsNoCase(kv->first, key))
                where.keyLine = i;
        }
    }
    return where;
}

} // namespace

Settings::Settings(std::string path)
    : m_path(std::move(path)) {}

std::string Settings::readText(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    const std::string text = readFile(m_path);
    const auto lines = splitLines(text);
    const Location where = locate(text, lines, section, key);
    if (!where.keyLine)
        return std::string(defaultValue);
    const Line &line = lines[*where.keyLine];
    const auto kv = entry(std::string_view(text).substr(line.begin, line.end - line.begin));
    std::string_view value = kv->second;
    if (value.size() > MaxValueLength)
        value = value.substr(0, MaxValueLength);
    return std::string(value);
}

std::int32_t Settings::readInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const {
    std::string value = readText(section, key);
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        value.replace(0, 2, "$");
    return world::parseInteger(value).value_or(defaultValue);
}

bool Settings::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void Settings::writeText(std::string_view section, std::string_view key, std::string_view value) {
    std::string text;
    try {
        text = readFile(m_path);
    } catch (const Error &) {
        // A file that is there but cannot be read would otherwise be replaced by the one new
        // entry.
        throw Error("Unable to write to " + m_path);
    }
    const auto lines = splitLines(text);
    const Location where = locate(text, lines, section, key);

    // New lines take the line end the file already uses.
    std::string eol = "\r\n";
    if (!lines.empty() && lines[0].next > lines[0].end)
        eol = text.substr(lines[0].end, lines[0].next - lines[0].end);

    std::string entryLine = std::string(key) + "=" + std::string(value);
    if (where.keyLine) {
        const Line &line = lines[*where.keyLine];
        text.replace(line.begin, line.end - line.begin, entryLine);
    } else if (where.sectionFound) {
        const Line &last = lines[where.sectionEndLine - 1];
        std::string insert;
        if (last.next == last.end) // the section's last line has no line end
            insert += eol;
        insert += entryLine + eol;
        text.insert(last.next, insert);
    } else {
        if (!text.empty() && text.back() != '\n' && text.back() != '\r')
            text += eol;
        text += "[" + std::string(section) + "]" + eol + entryLine + eol;
    }

    if (!io::writeFileSafely(m_path, text))
        throw Error("Unable to write to " + m_path);
}

void Settings::writeBool(std::string_view section, std::string_view key, bool value) {
    writeText(section, key, value ? "1" : "0");
}

} // namespace tessaplex::app
