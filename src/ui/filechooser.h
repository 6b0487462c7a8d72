// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace tessaplex::ui {

// The file-open dialog behind the Options dialog's "..." buttons, behind an interface so that
// tests can answer it without a modal loop.
class FileChooser {
public:
    // The kinds of file offered besides every file: MUL files, or for the art data file, which
    // may also be a UOP container, MUL and UOP files.
    enum class Kinds { Mul, MulOrUop };

    virtual ~FileChooser() = default;

    // Asks the operator for a file, starting in initialFolder (empty: the system's default
    // folder). Returns the chosen file's full path, or nothing when the operator cancels.
    [[nodiscard]] virtual std::optional<QString> chooseFile(const QString &initialFolder,
                                                            Kinds kinds) = 0;
};

} // namespace tessaplex::ui
