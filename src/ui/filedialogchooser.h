// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/filechooser.h"

#include <memory>

class QFileDialog;

namespace tessaplex::ui {

// One modal QFileDialog for every file choice. It offers every file first, then the MUL files
// (and the UOP files where they may be chosen), may be resized, and accepts a name that does not
// exist yet.
class FileDialogChooser : public FileChooser {
public:
    FileDialogChooser();
    ~FileDialogChooser() override;

    [[nodiscard]] std::optional<QString> chooseFile(const QString &initialFolder,
                                                    Kinds kinds) override;

private:
    std::unique_ptr<QFileDialog> m_dialog;
};

} // namespace tessaplex::ui
