// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session.h"

#include "world/error.h"

namespace tessaplex::app {

Session::PatchOutcome Session::patch(ProgressGauge &) {
    throw Error("PATCH is not available yet");
}

} // namespace tessaplex::app
