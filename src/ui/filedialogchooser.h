// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/filechooser.h"

#include <memory>

class QFileDialog;

namespace tessaplex::ui {

// One modal QFileDialog for every file choice. It offers every file first and the MUL files
// second, may be resized, and accepts a name that does not exist yet.
class FileDialogChooser : public FileChooser {
public:
    FileDialogChooser();
    ~FileDialogChooser() override;

    [[nodiscard]] std::optional<QString> chooseFile(const QString &initialFolder) override;

private:
    std::unique_ptr<QFileDialog> m_dialog;
};

} // namespace tessaplex::ui
