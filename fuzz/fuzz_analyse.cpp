// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a world file, an item script file and a settings file, run through the
// settings reader and writer and through Analyse as the desktop program runs it.
//
// Input: up to four parts separated by the line "~~~": the world file, the item script file, the
// settings file, and the line window ("Startline" text, LF, "Lines" text; without it the window
// is the whole world file). The run's files live in one temporary folder per process.
//
// Each input is analysed twice, once forced onto one thread and once onto two (reading the world
// file, listing the window, writing the TSV), and both must give the same lines, rows and TSV.
#include "fuzzsupport.h"

#include "app/session.h"
#include "app/settings.h"
#include "base/error.h"
#include "base/parallelism.h"
#include "base/progressgauge.h"
#include "world/itemtable.h"
#include "world/linelist.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace tessaplex;
using namespace tessaplex::fuzz;

constexpr std::string_view Separator = "\n~~~\n";

std::vector<std::string_view> splitParts(std::string_view input) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = input.find(Separator);
        if (at == std::string_view::npos || parts.size() == 3) {
            parts.push_back(input);
            break;
        }
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + Separator.size());
    }
    parts.resize(4);
    return parts;
}

constexpr std::string_view Keys[] = {"Staidx", "Worldfile", "ItemFiles", "Unix",  "X1",
                                     "Custom", "",          "a=b",       " Art ", "[x]"};

// Reading is stable, and writing one key changes what that key reads and nothing else.
void checkSettings(std::string_view text, std::uint8_t choice) {
    const std::string path = scratchFolder() + "settings.ini";
    writeBytes(path, text);
    app::Settings settings(path);
    std::vector<std::string> before;
    for (std::string_view key : Keys) {
        before.push_back(settings.readText("Custom", key, "(none)"));
        require(before.back() == "(none)" || before.back().size() <= 2047, "values are capped");
        (void)settings.readInteger("Custom", key, 7);
        (void)settings.readBool("cUSTOM", key, true);
    }
    const std::size_t written = choice % 5; // keys a program writes: no blanks, no "=", not empty
    const std::string value = "v" + std::to_string(choice);
    settings.writeText("Custom", Keys[written], value);
    for (std::size_t k = 0; k < std::size(Keys); ++k) {
        const std::string now = settings.readText("Custom", Keys[k], "(none)");
        if (k == written)
            require(now == value, "a written value reads back");
        else
            require(now == before[k], "a write leaves the other keys alone");
    }
}

// Every listed row names a header line and the empty line that ends its section, inside the
// window, in file order, with "NO" as its mark.
void checkTable(const world::ItemTable &table, const world::LineList &lines) {
    std::int64_t previousEnd = -1;
    for (int row = 1; row < table.rowCount(); ++row) {
        const std::int32_t start = table.startLine(row);
        const std::int32_t end = table.endLine(row);
        require(start > previousEnd && start < end, "rows are in file order and do not overlap");
        require(static_cast<std::size_t>(end) < lines.size(), "rows lie inside the file");
        const std::string_view header = lines.line(static_cast<std::size_t>(start));
        require(header.size() > 11 && header.substr(0, 10) == "[WORLDITEM",
                "rows start at headers");
        require(lines.line(static_cast<std::size_t>(end)).empty(), "rows end at empty lines");
        require(table.cellText(world::Column::Patch, row) == "NO", "new rows are unmarked");
        previousEnd = end;
    }
}

// What one analysis gives, as far as the two ways must agree on it.
struct Analysis {
    world::AnalyseOutcome outcome = world::AnalyseOutcome::NothingToList;
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> lines; // offset and length of each line
    std::string tsv;
    std::int32_t progress = 0;
    std::int32_t maximum = 0;
};

// With no linesText, every line from startText on, as the command line analyses by default.
Analysis analyseWith(Parallelism mode, const std::string &dir, const std::string &startText,
                     const std::string *linesText) {
    setParallelism(mode);
    app::Session session(dir);
    ProgressGauge gauge;
    Analysis result;
    try {
        result.outcome = linesText ? session.analyse(startText, *linesText, gauge)
                                   : session.analyseAllLines(startText, gauge);
    } catch (const Error &e) {
        std::fprintf(stderr, "unexpected error: %s\n", e.what());
        std::abort();
    }
    if (result.outcome == world::AnalyseOutcome::Listed) {
        checkTable(session.table(), session.lines());
        require(gauge.progress() == gauge.maximum() || gauge.progress() == 0,
                "the gauge ends full");
    } else {
        require(!session.table().hasHeadings(), "nothing listed leaves the table as it was");
    }
    const world::LineList &lines = session.lines();
    result.bytes = std::string(lines.bytes());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines.line(i);
        result.lines.emplace_back(static_cast<std::size_t>(line.data() - lines.bytes().data()),
                                  line.size());
    }
    session.table().writeTsv([&](std::string_view piece) { result.tsv += piece; });
    result.progress = gauge.progress();
    result.maximum = gauge.maximum();
    setParallelism(Parallelism::Automatic);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string_view> parts = splitParts(input);
    const std::string &dir = scratchFolder();

    checkSettings(parts[2], size ? data[size - 1] : 0);

    writeBytes(dir + "world.scp", parts[0]);
    writeBytes(dir + "items.scp", parts[1]);
    writeBytes(dir + "qelmfile.txt", "items.scp\r\nmissing.scp\r\n");
    // This run's section comes first, so that the first-match rule points Analyse at this run's
    // files and never at a path the fuzzer made up (such as a device that never ends); the
    // fuzzed settings behind it must still be read past.
    std::string ini = "[Custom]\r\nItemFiles=" + dir + "\r\nWorldfile=" + dir + "world.scp\r\n";
    ini += parts[2];
    writeBytes(dir + "qelm.ini", ini);

    std::string startText = "0";
    std::string linesText;
    if (parts[3].empty()) {
        world::LineList lines;
        lines.setBytes(parts[0]);
        linesText = std::to_string(lines.size());
    } else {
        const auto newline = parts[3].find('\n');
        startText = std::string(parts[3].substr(0, newline));
        linesText =
            newline == std::string_view::npos ? "" : std::string(parts[3].substr(newline + 1));
    }
    const Analysis one = analyseWith(Parallelism::OneThread, dir, startText, &linesText);
    const Analysis two = analyseWith(Parallelism::AlwaysTwoThreads, dir, startText, &linesText);
    require(one.outcome == two.outcome, "both ways list or both list nothing");
    require(one.bytes == two.bytes, "both ways read the same bytes");
    require(one.lines == two.lines, "both ways cut the same lines");
    require(one.tsv == two.tsv, "both ways list the same rows");
    require(one.progress == two.progress && one.maximum == two.maximum,
            "both ways move the gauge alike");
    if (parts[3].empty()) {
        // The whole file in one pass, which counts the lines as it lists them, gives what the
        // window of all its lines gives; its gauge counts bytes instead.
        for (const Parallelism mode : {Parallelism::OneThread, Parallelism::AlwaysTwoThreads}) {
            const Analysis all = analyseWith(mode, dir, startText, nullptr);
            require(all.outcome == one.outcome, "the whole file lists as its window");
            require(all.lines == one.lines, "the whole file cuts the same lines");
            require(all.tsv == one.tsv, "the whole file lists the same rows");
        }
    }
    return 0;
}
