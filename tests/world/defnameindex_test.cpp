// SPDX-License-Identifier: GPL-3.0-or-later
// The def-name index compares names as words of 8 upper-cased bytes, with the first 16 bytes
// kept in the hash slot itself; the plain map from the upper-cased name must answer exactly
// like it, for names that differ only past those 16 bytes, in letter case, in bytes next to the
// letters, and for names whose hashes fall into the same slots.
#include "base/parallelism.h"
#include "world/defnameindex.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace tessaplex;
using namespace tessaplex::world;
using namespace std::string_literals;

namespace {

const std::string Sixteen = "i_sixteen_bytes_"; // exactly 16 bytes

struct Case {
    const char *name;
    std::vector<std::string> added;   // in this order, the k-th with ID k + 1
    std::vector<std::string> queries; // besides the added names and their upper and lower case
};

std::string lowerAscii(std::string text) {
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return text;
}

std::vector<std::string> numbered(const std::string &prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

const std::vector<Case> &cases() {
    static const std::vector<Case> all = {
        {"empty index", {}, {"", "i_torch"}},
        {"empty name", {""}, {"", " ", "\0"s}},
        {"exactly 16 bytes", {Sixteen}, {Sixteen.substr(0, 15), Sixteen + "x", Sixteen + '\0'}},
        {"differing only after byte 16",
         {Sixteen + "a", Sixteen + "b", Sixteen + "ab", Sixteen + "abcdefgh" + "1",
          Sixteen + "abcdefgh" + "2"},
         {Sixteen, Sixteen + "c", Sixteen + "abcdefgh" + "3", Sixteen + "abcdefgh"}},
        {"letter case, first one kept",
         {"i_Torch", "I_TORCH", "i_torch", "i_lamp"},
         {"I_tORCH", "i_torc", "i_torchh"}},
        {"bytes next to the letters are not folded",
         {"@", "[", "`", "{", "\xe9", "\xc9", "a\0b"s},
         {"\x60", "\x40", "\x7b", "\x5b", "a", "a\0B"s, "A\0b"s}},
        {"many names in few slots",
         numbered("i_name_", 300),
         {"i_name_300", "i_name_", "I_NAME_299"}},
        {"many long names alike up to byte 16",
         numbered(Sixteen + Sixteen, 200),
         {Sixteen + Sixteen, Sixteen + Sixteen + "200"}},
    };
    return all;
}

std::optional<DefNameId> found(const DefNameIndex &index, const std::string &name) {
    const DefNameId *id = index.find(name);
    return id ? std::optional<DefNameId>(*id) : std::nullopt;
}

} // namespace

TEST(DefNameIndex, FastLookupAnswersAsThePlainOne) {
    for (const Case &c : cases()) {
        SCOPED_TRACE(c.name);
        DefNameIndex indexes[2];
        const Kernels kernels[2] = {Kernels::Automatic, Kernels::Plain};
        for (int way = 0; way < 2; ++way) {
            const FastPathScope scope(Parallelism::Automatic, kernels[way]);
            for (std::size_t k = 0; k < c.added.size(); ++k)
                indexes[way].add(c.added[k], {static_cast<std::uint32_t>(k + 1), IdForm::Upper});
        }
        std::vector<std::string> queries = c.queries;
        for (const std::string &name : c.added) {
            queries.push_back(name);
            queries.push_back(toUpperAscii(name));
            queries.push_back(lowerAscii(name));
        }
        for (const std::string &query : queries) {
            const auto fast = found(indexes[0], query);
            const auto plain = found(indexes[1], query);
            ASSERT_EQ(fast.has_value(), plain.has_value()) << "query \"" << query << "\"";
            if (fast) {
                EXPECT_EQ(fast->value, plain->value) << "query \"" << query << "\"";
            }
        }
    }
}
