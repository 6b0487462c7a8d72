// SPDX-License-Identifier: GPL-3.0-or-later
// Times the PATCH step alone on a shard folder: analyses every line of its world file, marks
// MARKED listed items spread evenly over the table, then runs PATCH and prints how long it took.
// The shard's files are rewritten; bench/patch.sh restores them between runs.
//
// Usage: patch_bench SHARD_FOLDER [MARKED]   (MARKED defaults to 500,000)
#include "app/errortext.h"
#include "app/session.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "base/progressgauge.h"
#include "world/linelist.h"
#include "world/numberrules.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace tessaplex;

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: patch_bench SHARD_FOLDER [MARKED]\n");
        return 2;
    }
    const int marked = argc == 3 ? std::stoi(argv[2]) : 500000;
    try {
        app::Session session(argv[1]);
        const std::string worldFile =
            session.settings().readText(app::SettingsSection, app::keys::WorldFileRead);
        world::LineList lines;
        lines.readFile(app::nativePath(worldFile));
        ProgressGauge gauge;
        session.analyse("0", std::to_string(lines.size()), gauge);

        // Only items with a plain X,Y,Z position can become statics; an item without one, or with
        // a fourth part (another map), would stop PATCH at its cells.
        world::ItemTable &table = session.table();
        const int listed = table.itemCount();
        std::vector<int> placed;
        for (int row = 1; row < table.rowCount(); ++row) {
            if (table.hasPosition(row) && world::parseInteger(table.xText(row)) &&
                world::parseInteger(table.yText(row)) && world::parseInteger(table.zText(row)) &&
                table.block(row) < 393216)
                placed.push_back(row);
        }
        if (marked < 1 || placed.size() < static_cast<std::size_t>(marked)) {
            std::fprintf(stderr, "patch_bench: %zu items with a position listed, %d to mark\n",
                         placed.size(), marked);
            return 1;
        }
        // Every stride-th of them, so that the removed sections lie all over the world file.
        const std::size_t stride = placed.size() / static_cast<std::size_t>(marked);
        for (int k = 0; k < marked; ++k)
            table.setMark(placed[static_cast<std::size_t>(k) * stride], world::Mark::Yes);

        const auto start = std::chrono::steady_clock::now();
        const auto outcome = session.patch(gauge);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        if (outcome != app::Session::PatchOutcome::Finished) {
            std::fprintf(stderr, "patch_bench: PATCH refused the marks\n");
            return 1;
        }
        std::printf("listed=%d\nmarked=%d\npatch_seconds=%.4f\n", listed, marked, seconds.count());
        return 0;
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", app::errorText(e.what()).c_str());
    }
    return 1;
}
