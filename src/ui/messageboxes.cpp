// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messageboxes.h"

#include "app/errortext.h"

namespace tessaplex::ui {

void MessageBoxes::showError(const std::exception &failure) {
    // Messages carry paths, which are UTF-8 inside the program.
    error(QString::fromUtf8(app::errorText(failure.what())));
}

bool MessageBoxes::runCommand(const std::function<void()> &command) {
    try {
        command();
        return true;
    } catch (const std::exception &failure) {
        showError(failure);
    }
    return false;
}

} // namespace tessaplex::ui
