// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tessaplex {

// The process-wide switches of the fast paths. Each fast path keeps a plain way beside it that
// gives the same result; the switches let tests and fuzz targets force either way at any size
// and on any machine, so that the two can be held against each other.
//
// One setting each for the whole process, read each time such work starts; set them while none
// runs.

// Whether the work that can be shared with a second thread is shared: listing the items of a
// world file or of a window of it, writing the table as TSV, writing the new files of PATCH.
// Automatic shares it from a size on where a thread saves more than it costs, and only on a machine
// with more than one core. The other two force one way at any size and on any machine.
enum class Parallelism { Automatic, AlwaysTwoThreads, OneThread };

void setParallelism(Parallelism mode);
[[nodiscard]] Parallelism parallelism();

// Whether work of `size` units (bytes, lines or rows) goes to two threads, where Automatic
// shares it from `threshold` units on. Work given two threads still runs on one when no second
// thread can be started.
[[nodiscard]] bool twoThreadsFor(std::size_t size, std::size_t threshold);

// Which inner loops run: Automatic takes the fastest the processor has (wide comparisons for
// cutting lines, the hashed name index of the item-name catalog); Plain takes the plain way at
// all times, whatever the processor.
enum class Kernels { Automatic, Plain };

void setKernels(Kernels kernels);
[[nodiscard]] Kernels kernels();

// Sets both switches for the life of the object and then puts back what they were, also when the
// scope is left by an exception.
class FastPathScope {
public:
    FastPathScope(Parallelism mode, Kernels kernels)
        : m_mode(parallelism())
        , m_kernels(tessaplex::kernels()) {
        setParallelism(mode);
        setKernels(kernels);
    }
    ~FastPathScope() {
        setParallelism(m_mode);
        setKernels(m_kernels);
    }
    FastPathScope(const FastPathScope &) = delete;
    FastPathScope &operator=(const FastPathScope &) = delete;

private:
    Parallelism m_mode;
    Kernels m_kernels;
};

} // namespace tessaplex
