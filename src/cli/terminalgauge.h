// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/progressgauge.h"

#include <cstdio>

namespace tessaplex::cli {

// A progress bar on standard error, drawn only when standard error is a terminal.
class TerminalGauge : public ProgressGauge {
public:
    TerminalGauge();
    ~TerminalGauge() override;

protected:
    void percentChanged(int percent) override;

private:
    bool m_enabled = false;
    bool m_drawn = false;
};

} // namespace tessaplex::cli
