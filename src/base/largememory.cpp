// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/largememory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessaplex {

namespace {

#if defined(__linux__)
constexpr std::size_t HugePage = std::size_t{2} << 20;

std::size_t mappedLength(std::size_t bytes) {
    return (bytes + HugePage - 1) & ~(HugePage - 1);
}
#endif

} // namespace

void *allocateLarge(std::size_t bytes) {
#if defined(__linux__)
    if (bytes >= HugePage) {
        // Map one huge page more than needed, so that the block can begin on a huge-page
        // boundary, and give the slack back.
        const std::size_t length = mappedLength(bytes);
        void *mapped = mmap(nullptr, length + HugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto first = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t start = (first + HugePage - 1) & ~(std::uintptr_t{HugePage} - 1);
        if (start != first)
            munmap(mapped, start - first);
        const std::uintptr_t tail = first + length + HugePage - (start + length);
        if (tail)
            munmap(reinterpret_cast<void *>(start + length), tail);
        // Not marked for huge pages (MADV_HUGEPAGE): without huge pages at hand, each fault of
        // such a block may first compact memory, and a virtual machine that handed its free
        // huge pages back to the host waits for the host at each one. Either made filling a
        // block up to 60 times slower than with ordinary pages, at random. A system that backs
        // all memory with huge pages still can here, the block being aligned.
        return reinterpret_cast<void *>(start);
    }
#endif
    return ::operator new(bytes == 0 ? 1 : bytes);
}

void freeLarge(void *block, std::size_t bytes) noexcept {
    if (!block)
        return;
#if defined(__linux__)
    if (bytes >= HugePage) {
        munmap(block, mappedLength(bytes));
        return;
    }
#endif
    (void)bytes;
    ::operator delete(block);
}

} // namespace tessaplex
