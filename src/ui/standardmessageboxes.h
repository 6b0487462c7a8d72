// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/messageboxes.h"

class QWidget;

namespace tessaplex::ui {

// The message boxes the operator sees: QMessageBox, modal, single OK button.
class StandardMessageBoxes : public MessageBoxes {
public:
    void error(const QString &text) override;
    void message(const QString &text) override;
};

} // namespace tessaplex::ui
