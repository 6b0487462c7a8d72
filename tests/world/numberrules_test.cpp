// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/error.h"
#include "world/numberrules.h"

#include <gtest/gtest.h>

using namespace tessaplex::world;

TEST(HexTextToInt, ReadsEveryCharacterAsADigitPosition) {
    const struct {
        const char *text;
        std::uint32_t value;
    } cases[] = {
        {"0x1A", 26},
        {"1A", 26},
        {"", 0},
        {"ffffffff", 4294967295u},
        {"1ffffffff", 4294967295u},
        {"zz", 0},
        {"1 A", 266},
        {"-5", 5},
        {"0f3c", 3900},
        {"0F3C", 3900},
        {"123456789abcdef0", 0x9abcdef0u},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hexTextToInt(c.text), c.value) << c.text;
}

TEST(IdText, PadsToFiveLowerCaseDigits) {
    EXPECT_EQ(idText(0), "00000");
    EXPECT_EQ(idText(16384), "04000");
    EXPECT_EQ(idText(3900), "00f3c");
    EXPECT_EQ(idText(0x123456), "123456");
    EXPECT_EQ(upperIdText(3900), "00F3C");
}

TEST(DecimalTextToInt, FollowsTheIntegerSyntax) {
    const struct {
        const char *text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"1500", 1500},
        {"007", 7},
        {"999999999", 999999999},
        {"1234567890", 1234567890},
        {"1/2", std::nullopt},
        {"12:", std::nullopt},
        {" -7", -7},
        {"$20", 32},
        {"0x20", 32},
        {"0X20", 32},
        {"x20", 32},
        {"X20", 32},
        {"12abc", std::nullopt},
        {"7 ", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+5", 5},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"$000000001", 1},
        {"$123456789", std::nullopt},
        {"+$20", std::nullopt},
        {"-$20", std::nullopt},
        {"\t5", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(parseInteger(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(decimalTextToInt(c.text), c.value.value_or(0)) << '"' << c.text << '"';
    }
}

TEST(StrictDecimalTextToInt, NamesTheOffendingText) {
    EXPECT_EQ(strictDecimalTextToInt("42"), 42);
    for (const char *text : {"", "12abc", "7 "}) {
        try {
            (void)strictDecimalTextToInt(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const tessaplex::Error &e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(BlockIndex, NumbersBlocksColumnByColumn) {
    EXPECT_EQ(blockIndex("1500", "1000"), 95869u);
    EXPECT_EQ(blockIndex("", "7"), 0u);
    EXPECT_EQ(blockIndex("8", "0"), 512u);
    EXPECT_EQ(blockIndex("0", "8"), 1u);
    EXPECT_EQ(blockIndex("6143", "4095"), 393215u);
    // Negative coordinates wrap as unsigned values instead of failing.
    EXPECT_EQ(blockIndex("-8", "0"), (0xFFFFFFF8u / 8u) * 512u);
}
