// SPDX-License-Identifier: GPL-3.0-or-later
#include "world/linecutting.h"

#include "base/parallelism.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace tessaplex::world {

namespace {

int bitCount(std::uint64_t mask) {
#if defined(__GNUC__)
    return __builtin_popcountll(mask);
#else
    int n = 0;
    for (; mask; mask &= mask - 1)
        ++n;
    return n;
#endif
}

// Appends a line start for every bit of ends: base + the bit's position. The first 8 are written
// whether there are that many or not (the array has room), so that a block with the usual few
// line ends takes no branch that depends on how many it has.
inline void writeStarts(std::uint32_t *starts, std::size_t &count, std::uint32_t base,
                        std::uint64_t ends) {
    const int n = bitCount(ends);
    std::uint32_t *out = starts + count;
    constexpr std::uint64_t Top = std::uint64_t{1} << 63;
    for (int i = 0; i < 8; ++i) {
        // With no bit left this writes a value past the count, which is never read.
        out[i] = base + static_cast<std::uint32_t>(lowestBit(ends | Top));
        ends &= ends - 1;
    }
    for (int i = 8; i < n; ++i) {
        out[i] = base + static_cast<std::uint32_t>(lowestBit(ends));
        ends &= ends - 1;
    }
    count += static_cast<std::size_t>(n);
}

template <class Masks>
inline std::size_t cutBlocksWith(const char *text, std::size_t pos, std::size_t blocks,
                                 std::uint32_t *starts, std::size_t &count) {
    for (std::size_t b = 0; b < blocks; ++b, pos += 64) {
        const char *block = text + pos;
        const ByteMasks m = Masks::of(block);
        if (m.nul)
            return b;
        // The LF of a CR LF ends the line instead of its CR.
        const std::uint64_t lfNext =
            (m.lf >> 1) | (static_cast<std::uint64_t>(block[64] == '\n') << 63);
        writeStarts(starts, count, static_cast<std::uint32_t>(pos + 1), m.lf | (m.cr & ~lfNext));
    }
    return blocks;
}

struct PlainMasks {
    static ByteMasks of(const char *p) { return byteMasks(p); }
};

#if defined(__x86_64__) && defined(__GNUC__)
#define TESSAPLEX_CUT_WITH_AVX2 1
// 32 bytes compared at once.
struct Avx2Masks {
    __attribute__((target("avx2"))) static ByteMasks of(const char *p) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32));
        const __m256i lf = _mm256_set1_epi8('\n');
        const __m256i cr = _mm256_set1_epi8('\r');
        const __m256i nul = _mm256_setzero_si256();
        ByteMasks m;
        m.lf = std::uint64_t{static_cast<std::uint32_t>(
                   _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, lf)))} |
               std::uint64_t{
                   static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, lf)))}
                   << 32;
        m.cr = std::uint64_t{static_cast<std::uint32_t>(
                   _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, cr)))} |
               std::uint64_t{
                   static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, cr)))}
                   << 32;
        m.nul = std::uint64_t{static_cast<std::uint32_t>(
                    _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, nul)))} |
                std::uint64_t{
                    static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, nul)))}
                    << 32;
        return m;
    }
};

__attribute__((target("avx2,popcnt,bmi"), flatten)) std::size_t
cutWholeBlocksAvx2(const char *text, std::size_t pos, std::size_t blocks, std::uint32_t *starts,
                   std::size_t &count) {
    return cutBlocksWith<Avx2Masks>(text, pos, blocks, starts, count);
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
                            __builtin_cpu_supports("bmi");
    return has;
}
#endif

} // namespace

ByteMasks byteMasks(const char *p) {
    ByteMasks m;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (int k = 0; k < 4; ++k) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * k));
        const int shift = 16 * k;
        m.lf |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))}
            << shift;
        m.cr |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))}
            << shift;
        m.nul |=
            std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, nul)))}
            << shift;
    }
#else
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        m.lf |= p[i] == '\n' ? bit : 0;
        m.cr |= p[i] == '\r' ? bit : 0;
        m.nul |= p[i] == '\0' ? bit : 0;
    }
#endif
    return m;
}

std::size_t cutWholeBlocks(const char *text, std::size_t pos, std::size_t blocks,
                           std::uint32_t *starts, std::size_t &count) {
#if defined(TESSAPLEX_CUT_WITH_AVX2)
    if (kernels() == Kernels::Automatic && hasAvx2())
        return cutWholeBlocksAvx2(text, pos, blocks, starts, count);
#endif
    return cutWholeBlocksPlain(text, pos, blocks, starts, count);
}

bool everyLineEndIs(std::string_view text, std::string_view lineEnd) {
    // Any CR ends a line: with LF alone there is none.
    if (lineEnd == "\n")
        return std::memchr(text.data(), '\r', text.size()) == nullptr;
    // With CR LF, every LF comes right after a CR and every CR right before an LF.
    std::uint64_t carry = 0; // a CR ended the block before
    std::size_t pos = 0;
    for (; pos + 64 <= text.size(); pos += 64) {
        const ByteMasks m = byteMasks(text.data() + pos);
        if (m.lf != ((m.cr << 1) | carry))
            return false;
        carry = m.cr >> 63;
    }
    const std::size_t left = text.size() - pos;
    char tail[64] = {};
    std::memcpy(tail, text.data() + pos, left);
    const ByteMasks m = byteMasks(tail);
    const std::uint64_t inText = left == 0 ? 0 : ~std::uint64_t{0} >> (64 - left);
    // A CR as the very last byte would want an LF past the end.
    return (m.lf & inText) == (((m.cr & inText) << 1) | carry);
}

std::size_t cutWholeBlocksPlain(const char *text, std::size_t pos, std::size_t blocks,
                                std::uint32_t *starts, std::size_t &count) {
    return cutBlocksWith<PlainMasks>(text, pos, blocks, starts, count);
}

} // namespace tessaplex::world
