// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/littleendian.h"
#include "formats/mapgeometry.h"
#include "patch/tblockmanager.h"

#include <gtest/gtest.h>

using namespace tessaplex;
using namespace tessaplex::patch;

namespace {

std::vector<std::int32_t> idsOf(const TBlockManager &blocks, std::uint32_t block) {
    std::vector<std::int32_t> ids;
    blocks.forEach(block, [&](const TBlocks &record) { ids.push_back(readU16le(record.bytes)); });
    return ids;
}

} // namespace

TEST(TBlockManager, KeepsEachBlocksRecordsInTheOrderTheyCame) {
    TBlockManager blocks(formats::ClassicBlockCount);
    const std::pair<std::uint32_t, std::int32_t> appended[] = {{5, 1},      {0, 2}, {5, 3},
                                                               {393215, 4}, {5, 5}, {0, 6}};
    for (const auto &[block, id] : appended) {
        blocks.append(block, TBlocks::of(id, 0, 0, 0, 0));
    }
    EXPECT_EQ(idsOf(blocks, 5), (std::vector<std::int32_t>{1, 3, 5}));
    EXPECT_EQ(idsOf(blocks, 0), (std::vector<std::int32_t>{2, 6}));
    EXPECT_EQ(idsOf(blocks, 393215), (std::vector<std::int32_t>{4}));
    EXPECT_TRUE(idsOf(blocks, 1).empty());
    EXPECT_EQ(blocks.count(5), 3u);
    EXPECT_EQ(blocks.count(1), 0u);
    EXPECT_EQ(blocks.recordCount(), 6u);
    EXPECT_EQ(blocks.blocksTouched(), 3u);
}

// The pending records of the largest patch on the widest map stay well inside 32 MB.
TEST(TBlockManager, HoldsHalfAMillionRecordsInUnder32Megabytes) {
    constexpr std::uint32_t items = 500000;
    TBlockManager blocks(formats::WideBlockCount);
    blocks.reserve(items);
    for (std::uint32_t i = 0; i < items; ++i) {
        const TBlocks record = TBlocks::of(static_cast<std::int32_t>(i), 0, 0, 0, 0);
        // Spread the items over the map, several to a block, as a real selection would be.
        blocks.append((i * 7919u) % formats::WideBlockCount, record);
    }
    EXPECT_LT(blocks.memoryUsage(), 32u * 1024 * 1024);
    std::size_t total = 0;
    for (std::uint32_t block = 0; block < formats::WideBlockCount; ++block)
        total += blocks.count(block);
    EXPECT_EQ(total, items);
}
