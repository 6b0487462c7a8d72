// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace tessaplex::ui {

// The operator's message boxes. Every window reports through one of these, so that tests can
// record what would have been shown instead of entering a modal loop.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // A modal box with the error icon, captioned with the application's name; text is final.
    virtual void error(const QString &text) = 0;
    // A modal box without icon and with an empty title, with a single OK button.
    virtual void message(const QString &text) = 0;

    // Shows the error that ended a command, with the full-stop rule applied to its text.
    void showError(const std::exception &failure);
    // Runs command; an error that ends it is shown in the error box. Returns false then.
    bool runCommand(const std::function<void()> &command);
};

} // namespace tessaplex::ui
