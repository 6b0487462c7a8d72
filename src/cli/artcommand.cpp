// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"
#include "app/startdirectory.h"
#include "art/artdrawing.h"
#include "art/imageencoding.h"
#include "art/rgbcanvas.h"
#include "base/error.h"
#include "cli/command.h"
#include "io/safewrite.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::cli {

namespace {

// The art preview's full picture; the main window shows its top 148 rows above the item's name.
constexpr int PreviewWidth = 131;
constexpr int PreviewHeight = 201;

bool isHexDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Unsigned 32-bit value of digits in base 10 or 16; nothing when it does not fit.
std::optional<std::uint32_t> parseDigits(std::string_view digits, unsigned base) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        const auto u = static_cast<unsigned char>(c);
        value = value * base +
                static_cast<unsigned>(std::isdigit(u) ? c - '0' : std::tolower(u) - 'a' + 10);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

bool hasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Decimal, or hexadecimal after "0x"; what names the kind of number in the error.
std::uint32_t parseNumber(const std::string &text, const char *what) {
    std::optional<std::uint32_t> value;
    if (hasHexPrefix(text) && isHexDigits(std::string_view(text).substr(2)))
        value = parseDigits(std::string_view(text).substr(2), 16);
    else if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos)
        value = parseDigits(text, 10);
    if (!value)
        throw Error("'" + text + "' is not a valid " + what);
    return *value;
}

// Hexadecimal, with or without "0x"; the entry is the ID + 0x4000.
std::uint32_t entryOfItemId(const std::string &text) {
    const std::string_view digits = hasHexPrefix(text) ? std::string_view(text).substr(2) : text;
    std::optional<std::uint32_t> id;
    if (isHexDigits(digits))
        id = parseDigits(digits, 16);
    if (!id || *id > 0xFFFFFFFFu - art::ItemArtBase)
        throw Error("'" + text + "' is not a valid item ID");
    return *id + art::ItemArtBase;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != suffix[i])
            return false;
    }
    return true;
}

std::string entryName(std::uint32_t entry) {
    char name[64];
    std::snprintf(name, sizeof name, "Art entry 0x%x (%u)", static_cast<unsigned>(entry),
                  static_cast<unsigned>(entry));
    return name;
}

class ArtCommand : public Command {
public:
    CLI::App *setUp(CLI::App &program) override {
        CLI::App *command = program.add_subcommand(
            "art", "Draw an art entry from the files named by \"Art\" (art.mul, or a UOP file) and "
                   "\"ArtIdx\" (not read for a UOP file) onto a white "
                   "131 x 201 picture, as the art preview draws it, and write it as "
                   "PNG (FILE ending in .png) or binary PPM (.ppm). An entry without art writes "
                   "nothing and exits with 1");
        m_entryOption = command
                            ->add_option("ENTRY", m_entryText,
                                         "Art entry number: decimal, or hexadecimal after \"0x\"")
                            ->type_name("ENTRY");
        m_idOption = command
                         ->add_option("--id", m_idText,
                                      "Draw the art of this item ID (hexadecimal): entry ID + "
                                      "0x4000")
                         ->type_name("ID")
                         ->excludes(m_entryOption);
        m_hueOption = command
                          ->add_option("--hue", m_hueText,
                                       "Draw in the hue an item's COLOR value names (decimal, or "
                                       "hexadecimal after \"0x\"; 0x8000 asks for a partial "
                                       "hue), from the file named by \"Hues\"; \"Tiledata\", "
                                       "when set, tells which items take a partial hue")
                          ->type_name("COLOR");
        command->add_option("--out", m_outPath, "The picture file to write")
            ->type_name("FILE")
            ->required();
        return command;
    }

    int run(app::Session &session) override {
        if ((m_entryOption->count() != 0) == (m_idOption->count() != 0))
            throw Error("Give either ENTRY or --id");
        const std::uint32_t entry = m_idOption->count() != 0
                                        ? entryOfItemId(m_idText)
                                        : parseNumber(m_entryText, "art entry number");
        const bool png = endsWithNoCase(m_outPath, ".png");
        if (!png && !endsWithNoCase(m_outPath, ".ppm"))
            throw Error("Cannot tell the picture format of " + m_outPath + ": use .png or .ppm");

        std::optional<std::uint32_t> color;
        if (m_hueOption->count() != 0) {
            color = parseNumber(m_hueText, "COLOR value");
            if (session.settings().readText(app::SettingsSection, app::keys::Hues).empty())
                throw Error("--hue needs the hue file: name it in \"Hues\" of the settings file");
        }

        art::RgbCanvas canvas(PreviewWidth, PreviewHeight, art::White);
        const art::DrawOutcome outcome =
            session.clientFiles().drawArt(session.settings(), entry, color, canvas);
        switch (outcome) {
        case art::DrawOutcome::Empty:
            std::fprintf(stderr, "%s is empty: it has no art\n", entryName(entry).c_str());
            return 1;
        case art::DrawOutcome::NoIndexRecord:
            std::fprintf(stderr, "%s lies beyond the end of the art index file\n",
                         entryName(entry).c_str());
            return 1;
        case art::DrawOutcome::Damaged:
        case art::DrawOutcome::Drawn:
            break;
        }
        const std::string bytes = png ? art::encodePng(canvas) : art::encodePpm(canvas);
        if (!io::writeFileSafely(app::nativePath(m_outPath), bytes))
            throw Error("Unable to write to " + m_outPath);
        if (outcome == art::DrawOutcome::Damaged) {
            std::fprintf(stderr, "%s is damaged: drawn as far as the art files could be read\n",
                         entryName(entry).c_str());
        }
        return 0;
    }

private:
    std::string m_entryText;
    std::string m_idText;
    std::string m_outPath;
    std::string m_hueText;
    CLI::Option *m_entryOption = nullptr;
    CLI::Option *m_hueOption = nullptr;
    CLI::Option *m_idOption = nullptr;
};

} // namespace

std::unique_ptr<Command> makeArtCommand() {
    return std::make_unique<ArtCommand>();
}

} // namespace tessaplex::cli
