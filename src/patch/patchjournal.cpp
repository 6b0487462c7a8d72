// SPDX-License-Identifier: GPL-3.0-or-later
#include "patch/patchjournal.h"

#include "io/digest.h"

#include <charconv>
#include <cstdio>

namespace tessaplex::patch {

namespace {

constexpr std::string_view Heading = "Tessaplex PATCH journal 1";

// Paths may hold any byte but a NUL; line ends and backslashes are escaped to keep one value
// on one line.
std::string escaped(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string identityText(const FileIdentity &id) {
    const io::FileStatus &s = id.status;
    return std::to_string(s.size) + " " + std::to_string(s.modified) + " " +
           std::to_string(s.changed) + " " + std::to_string(s.device) + " " +
           std::to_string(s.inode) + " " + std::to_string(id.digest);
}

template <typename T> bool takeNumber(std::string_view &text, T &value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

std::optional<FileIdentity> parseIdentity(std::string_view text) {
    FileIdentity id;
    io::FileStatus &s = id.status;
    if (!takeNumber(text, s.size) || !takeNumber(text, s.modified) ||
        !takeNumber(text, s.changed) || !takeNumber(text, s.device) || !takeNumber(text, s.inode) ||
        !takeNumber(text, id.digest) || !text.empty())
        return std::nullopt;
    return id;
}

std::string digestLine(std::string_view body) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(io::digestOf(body)));
    return "end=" + std::string(hex) + "\n";
}

} // namespace

std::string PatchJournal::text() const {
    std::string body = std::string(Heading) + "\n";
    for (const JournalEntry &e : entries) {
        body += "role=" + escaped(e.role) + "\n";
        body += "target=" + escaped(e.target) + "\n";
        body += "replacement=" + escaped(e.replacement) + "\n";
        body += "backup=" + escaped(e.backup) + "\n";
        body += "before=" + identityText(e.before) + "\n";
        body += "after=" + identityText(e.after) + "\n";
    }
    return body + digestLine(body);
}

std::optional<PatchJournal> PatchJournal::parse(std::string_view text) {
    const std::size_t endAt = text.rfind("end=");
    if (endAt == std::string_view::npos || (endAt > 0 && text[endAt - 1] != '\n'))
        return std::nullopt;
    const std::string_view body = text.substr(0, endAt);
    if (text.substr(endAt) != digestLine(body))
        return std::nullopt;

    PatchJournal journal;
    std::size_t pos = 0;
    const auto nextLine = [&]() -> std::optional<std::string_view> {
        if (pos >= body.size())
            return std::nullopt;
        const std::size_t end = body.find('\n', pos);
        const std::string_view line = body.substr(pos, end - pos);
        pos = end + 1;
        return line;
    };
    const auto value = [&](std::string_view key) -> std::optional<std::string_view> {
        const auto line = nextLine();
        if (!line || line->substr(0, key.size()) != key || line->substr(key.size(), 1) != "=")
            return std::nullopt;
        return line->substr(key.size() + 1);
    };
    if (nextLine() != Heading)
        return std::nullopt;
    while (pos < body.size()) {
        JournalEntry e;
        std::string *texts[] = {&e.role, &e.target, &e.replacement, &e.backup};
        const char *keys[] = {"role", "target", "replacement", "backup"};
        for (std::size_t k = 0; k < 4; ++k) {
            const auto v = value(keys[k]);
            const auto plain = v ? unescaped(*v) : std::nullopt;
            if (!plain)
                return std::nullopt;
            *texts[k] = *plain;
        }
        const auto before = value("before");
        const auto after = value("after");
        const auto beforeId = before ? parseIdentity(*before) : std::nullopt;
        const auto afterId = after ? parseIdentity(*after) : std::nullopt;
        if (!beforeId || !afterId || e.target.empty() || e.replacement.empty())
            return std::nullopt;
        e.before = *beforeId;
        e.after = *afterId;
        journal.entries.push_back(std::move(e));
    }
    if (journal.entries.empty())
        return std::nullopt;
    return journal;
}

std::string journalNameFor(const std::string &target) {
    return target + ".tessaplex-journal";
}

std::string replacementNameFor(const std::string &target) {
    return target + ".tessaplex-new";
}

} // namespace tessaplex::patch
