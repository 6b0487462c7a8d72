// SPDX-License-Identifier: GPL-3.0-or-later
// Applying the filter: 1,000 entries over 1,000,000 item rows, the largest table an analysis
// lists. The goal is half a second.
#include "base/progressgauge.h"
#include "selection/filter.h"
#include "selection/filterentry.h"
#include "world/itemtable.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace tessaplex;

namespace {

constexpr int Rows = 1000000;
constexpr int Entries = 1000;

// Items spread over the art range and the map, most with an accepted attribute, as a decorated
// shard's placed items are.
world::ItemTable &bigTable() {
    static world::ItemTable table = [] {
        world::ItemTable t;
        t.startAnalysis();
        t.reserve(Rows);
        std::mt19937 random(7);
        std::uniform_int_distribution<std::uint32_t> id(0, 0x3fff);
        std::uniform_int_distribution<int> x(0, 6143), y(0, 4095), attr(0, 9);
        const char *attrs[] = {"010", "08010", "0", ""};
        for (int row = 0; row < Rows; ++row) {
            const std::string xText = std::to_string(x(random));
            const std::string yText = std::to_string(y(random));
            world::ItemFields fields;
            fields.startLine = row * 6;
            fields.endLine = row * 6 + 5;
            fields.id = id(random);
            fields.hasPosition = true;
            fields.x = xText;
            fields.y = yText;
            fields.z = "0";
            const int a = attr(random);
            fields.attr = attrs[a < 6 ? 0 : a < 8 ? 1 : a - 6];
            t.appendItem(fields);
        }
        return t;
    }();
    return table;
}

selection::FilterEntries entries() {
    selection::FilterEntries list;
    for (std::uint32_t i = 0; i < Entries; ++i)
        list.push_back(selection::filterEntryText(i * 13 % 0x4000));
    return list;
}

void unmarkEverything(world::ItemTable &table) {
    for (int row = 1; row < table.rowCount(); ++row)
        table.setMark(row, world::Mark::No);
}

void applyFilterToAMillionRows(benchmark::State &state) {
    world::ItemTable &table = bigTable();
    const selection::FilterEntries list = entries();
    selection::FilterArea area;
    area.use = state.range(0) != 0;
    area.x1 = 1000;
    area.y1 = 500;
    area.x2 = 5000;
    area.y2 = 3500;
    ProgressGauge gauge;
    std::size_t marked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        unmarkEverything(table);
        state.ResumeTiming();
        selection::applyFilter(table, list, area, gauge);
        benchmark::DoNotOptimize(table);
    }
    for (int row = 1; row < table.rowCount(); ++row)
        marked += table.isMarked(row) ? 1 : 0;
    state.counters["marked"] = static_cast<double>(marked);
}

} // namespace

BENCHMARK(applyFilterToAMillionRows)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("area")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
