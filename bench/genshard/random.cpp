// SPDX-License-Identifier: GPL-3.0-or-later
#include "random.h"

namespace tessaplex::bench {

namespace {

std::uint64_t splitMix(std::uint64_t &x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

} // namespace

Random::Random(std::uint64_t seed)
    : m_seed(seed) {
    std::uint64_t x = seed;
    for (std::uint64_t &s : m_state)
        s = splitMix(x);
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    return result;
}

std::uint32_t Random::below(std::uint32_t bound) {
    // Multiply-shift: the bias for bounds far below 2^32 is far too small to matter here.
    return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
}

std::int32_t Random::between(std::int32_t low, std::int32_t high) {
    const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low + 1);
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(below(span)));
}

Random Random::fork(std::uint64_t stream) const {
    std::uint64_t x = m_seed ^ (stream * 0xd1b54a32d192ed03ull);
    return Random(splitMix(x));
}

} // namespace tessaplex::bench
