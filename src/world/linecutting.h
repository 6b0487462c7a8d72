// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessaplex::world {

// The inner loop of cutting a text into lines, 64 bytes at a time: the LF, CR and NUL bytes of a
// block become bit masks, and every line end among them yields the start of the next line. A
// line ends at an LF, or at a CR that no LF follows; a NUL byte ends the text.

// Bit i of each mask is set when byte i of a block of 64 is LF, CR or NUL.
struct ByteMasks {
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
    std::uint64_t nul = 0;
};

// The masks of the 64 bytes at block.
[[nodiscard]] ByteMasks byteMasks(const char *block);

// The position of the lowest set bit; mask is not 0.
[[nodiscard]] inline int lowestBit(std::uint64_t mask) {
#if defined(__GNUC__)
    return __builtin_ctzll(mask);
#else
    int i = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++i;
    }
    return i;
#endif
}

// Cuts up to `blocks` whole blocks of 64 bytes of text from pos on, each followed by at least
// one more byte of text, and stops before a block that holds a NUL byte. Appends the start of
// each line that begins in them (the offset after each line end) to starts[count...] and
// advances count; starts must have room for 64 offsets a block from count on. Returns the
// blocks cut.
//
// Compares 32 bytes at once where the processor can and the kernels are not forced plain.
std::size_t cutWholeBlocks(const char *text, std::size_t pos, std::size_t blocks,
                           std::uint32_t *starts, std::size_t &count);

// The same, always with the plain comparisons: the reference for the fast way.
std::size_t cutWholeBlocksPlain(const char *text, std::size_t pos, std::size_t blocks,
                                std::uint32_t *starts, std::size_t &count);

// Whether every line end of text is lineEnd ("\n" or "\r\n"), a last line without one aside:
// the text is then exactly its lines, each followed by lineEnd but perhaps the last.
[[nodiscard]] bool everyLineEndIs(std::string_view text, std::string_view lineEnd);

} // namespace tessaplex::world
