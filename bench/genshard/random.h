// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tessaplex::bench {

// A small pseudo-random generator (xoshiro256**, seeded through splitmix64) whose sequence
// depends on the seed alone: the standard library's distributions differ between library
// versions, and a generated shard must come out byte for byte the same everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed);

    // The next 64 random bits.
    std::uint64_t next();
    // A number in [0, bound); 0 when bound is 0.
    std::uint32_t below(std::uint32_t bound);
    // A number in [low, high], both included.
    std::int32_t between(std::int32_t low, std::int32_t high);
    // True with the chance percent / 100.
    bool percent(std::uint32_t percent) { return below(100) < percent; }
    // A generator of its own for one part of the shard, so that adding draws to one part does
    // not shift what another part gets.
    [[nodiscard]] Random fork(std::uint64_t stream) const;

private:
    std::uint64_t m_state[4];
    std::uint64_t m_seed;
};

} // namespace tessaplex::bench
