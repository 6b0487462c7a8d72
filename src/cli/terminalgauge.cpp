// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminalgauge.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace tessaplex::cli {

namespace {

constexpr int Width = 40;
constexpr int LineWidth = Width + 7; // "[", the bar, "] ", the percentage

} // namespace

TerminalGauge::TerminalGauge()
    : m_enabled(isatty(fileno(stderr)) != 0) {}

// Spaces over the bar rather than an escape sequence, which not every Windows console obeys.
TerminalGauge::~TerminalGauge() {
    if (m_drawn)
        std::fprintf(stderr, "\r%*s\r", LineWidth, "");
}

void TerminalGauge::percentChanged(int percent) {
    if (!m_enabled)
        return;
    const int filled = percent * Width / 100;
    char bar[Width + 1];
    for (int i = 0; i < Width; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[Width] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    std::fflush(stderr);
    m_drawn = true;
}

} // namespace tessaplex::cli
