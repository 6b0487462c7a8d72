// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tessaplex {

// Whether the work that can be shared with a second thread is shared: cutting a world file into
// lines while it is read, listing the items of a window, writing the table as TSV. Automatic
// shares it from a size on where a thread saves more than it costs, and only on a machine with
// more than one core. The other two force one way at any size and on any machine, so that tests
// and fuzz targets can hold the two ways against each other on small inputs as on large ones.
//
// One setting for the whole process, read each time such work starts; set it while none runs.
enum class Parallelism { Automatic, AlwaysTwoThreads, OneThread };

void setParallelism(Parallelism mode);
[[nodiscard]] Parallelism parallelism();

// Whether work of `size` units (bytes, lines or rows) goes to two threads, where Automatic
// shares it from `threshold` units on. Work given two threads still runs on one when no second
// thread can be started.
[[nodiscard]] bool twoThreadsFor(std::size_t size, std::size_t threshold);

} // namespace tessaplex
