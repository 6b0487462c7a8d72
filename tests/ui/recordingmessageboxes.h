// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/messageboxes.h"

#include <QString>
#include <QStringList>

namespace tessaplex::uitest {

// Message boxes that only remember what they would have shown.
class RecordingMessageBoxes : public ui::MessageBoxes {
public:
    void error(const QString &text) override { errors.append(text); }
    void message(const QString &text) override { messages.append(text); }

    void clear() {
        errors.clear();
        messages.clear();
    }

    QStringList errors;
    QStringList messages;
};

} // namespace tessaplex::uitest
