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

TerminalGauge::TerminalGauge()
    : m_enabled(isatty(fileno(stderr)) != 0) {}

TerminalGauge::~TerminalGauge() {
    if (m_drawn)
        std::fputs("\r\033[K", stderr);
}

void TerminalGauge::percentChanged(int percent) {
    if (!m_enabled)
        return;
    constexpr int Width = 40;
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
