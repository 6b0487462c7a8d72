// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of Analyse on a generated world held in memory: reading the file, cutting it into
// lines, listing the items, printing the table as TSV, and looking def names up.
// TESSAPLEX_BENCH_ITEMS sets the number of item sections (default 200,000).
#include "base/progressgauge.h"
#include "itemscripts.h"
#include "random.h"
#include "world/analyse.h"
#include "world/itemnamecatalog.h"
#include "world/itemtable.h"
#include "world/linelist.h"
#include "worldsave.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tessaplex;

namespace {

// A shard folder written once per process and removed at exit.
class Shard {
public:
    Shard() {
        namespace fs = std::filesystem;
        const char *items = std::getenv("TESSAPLEX_BENCH_ITEMS");
        m_folder =
            (fs::temp_directory_path() / ("tessaplex-analyse-bench-" + std::to_string(getpid())))
                .string() +
            "/";
        fs::create_directories(m_folder);
        bench::Random scriptRandom = bench::Random(1).fork(1);
        const bench::ItemScripts scripts(scriptRandom, 4000);
        scripts.write(m_folder + "scripts/", m_folder, false, scriptRandom);
        bench::WorldSave::Options options;
        options.items = items ? std::strtoull(items, nullptr, 10) : 200000;
        bench::Random worldRandom = bench::Random(1).fork(2);
        m_worldPath = m_folder + "sphereworld.scp";
        bench::WorldSave(scripts, options).write(m_worldPath, worldRandom);
        // Written back to disk now, so that the timed reads do not share the disk with it.
        ::sync();

        world::LineList script;
        for (const auto &entry : fs::directory_iterator(m_folder + "scripts/items")) {
            script.readFile(entry.path().string());
            m_catalog.scan(script);
        }
        m_lines.readFile(m_worldPath);
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const std::string_view line = m_lines.line(i);
            if (line.size() > 13 && line.substr(0, 13) == "[WORLDITEM i_")
                m_defNames.emplace_back(line.substr(11, line.size() - 12));
        }
    }
    ~Shard() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    const std::string &worldPath() const { return m_worldPath; }
    const world::LineList &lines() const { return m_lines; }
    const world::ItemNameCatalog &catalog() const { return m_catalog; }
    const std::vector<std::string> &defNames() const { return m_defNames; }

private:
    std::string m_folder;
    std::string m_worldPath;
    world::LineList m_lines;
    world::ItemNameCatalog m_catalog;
    std::vector<std::string> m_defNames;
};

const Shard &shard() {
    static const Shard instance;
    return instance;
}

world::LineWindow wholeFile() {
    return {0, static_cast<std::int64_t>(shard().lines().size())};
}

// A fresh list each time, as an analysis reads into a list it has just emptied.
void readWorldFile(benchmark::State &state) {
    for (auto _ : state) {
        world::LineList lines;
        lines.readFile(shard().worldPath());
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(shard().lines().bytes().size()));
}
// The first reads touch memory the system has not handed out yet, which costs far more.
BENCHMARK(readWorldFile)->Unit(benchmark::kMillisecond)->MinWarmUpTime(1);

void cutLines(benchmark::State &state) {
    const std::string_view bytes = shard().lines().bytes();
    for (auto _ : state) {
        world::LineList lines;
        lines.setBytes(bytes);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(cutLines)->Unit(benchmark::kMillisecond)->MinWarmUpTime(1);

void listItems(benchmark::State &state) {
    world::ItemTable table;
    ProgressGauge gauge;
    for (auto _ : state) {
        world::listItems(shard().lines(), wholeFile(), shard().catalog(), table, gauge);
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.counters["items"] = table.itemCount();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(shard().lines().size()));
}
BENCHMARK(listItems)->Unit(benchmark::kMillisecond);

void printTsv(benchmark::State &state) {
    world::ItemTable table;
    ProgressGauge gauge;
    world::listItems(shard().lines(), wholeFile(), shard().catalog(), table, gauge);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        table.writeTsv([&](std::string_view piece) { bytes += piece.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(printTsv)->Unit(benchmark::kMillisecond);

void lookUpDefNames(benchmark::State &state) {
    const auto &names = shard().defNames();
    for (auto _ : state) {
        std::size_t found = 0;
        for (const std::string &name : names)
            found += shard().catalog().lookup(name).has_value();
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names.size()));
}
BENCHMARK(lookUpDefNames)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
