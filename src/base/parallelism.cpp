// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/parallelism.h"

#include <atomic>
#include <thread>

namespace tessaplex {

namespace {

std::atomic<Parallelism> mode{Parallelism::Automatic};
std::atomic<Kernels> kernelChoice{Kernels::Automatic};

} // namespace

void setParallelism(Parallelism value) {
    mode.store(value, std::memory_order_relaxed);
}

Parallelism parallelism() {
    return mode.load(std::memory_order_relaxed);
}

bool twoThreadsFor(std::size_t size, std::size_t threshold) {
    switch (parallelism()) {
    case Parallelism::AlwaysTwoThreads:
        return true;
    case Parallelism::OneThread:
        return false;
    case Parallelism::Automatic:
        break;
    }
    return size >= threshold && std::thread::hardware_concurrency() > 1;
}

void setKernels(Kernels value) {
    kernelChoice.store(value, std::memory_order_relaxed);
}

Kernels kernels() {
    return kernelChoice.load(std::memory_order_relaxed);
}

} // namespace tessaplex
