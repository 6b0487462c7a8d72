// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filedialogchooser.h"

#include "app/startdirectory.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace tessaplex::ui {

namespace {

QStringList nameFilters(FileChooser::Kinds kinds) {
#ifdef _WIN32
    QStringList filters{QStringLiteral("All Files (*.*)")};
#else
    // "*.*" would hide every file without a dot in its name here.
    QStringList filters{QStringLiteral("All Files (*)")};
#endif
    filters.append(QStringLiteral("MUL Files (*.mul)"));
    if (kinds == FileChooser::Kinds::MulOrUop)
        filters.append(QStringLiteral("UOP Files (*.uop)"));
    return filters;
}

} // namespace

FileDialogChooser::FileDialogChooser() = default;
FileDialogChooser::~FileDialogChooser() = default;

std::optional<QString> FileDialogChooser::chooseFile(const QString &initialFolder, Kinds kinds) {
    if (!m_dialog) {
        // Created on first use, so that start-up does not pay for it.
        m_dialog = std::make_unique<QFileDialog>();
        m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
        m_dialog->setFileMode(QFileDialog::AnyFile);
        m_dialog->setSizeGripEnabled(true);
    }
    const QStringList filters = nameFilters(kinds);
    m_dialog->setNameFilters(filters);
    m_dialog->selectNameFilter(filters.constFirst());
    // An empty folder leaves the dialog where the system opens it by default.
    if (!initialFolder.isEmpty()) {
        const QString folder =
            QString::fromUtf8(app::nativePath(initialFolder.toUtf8().toStdString()));
        if (QDir(folder).exists())
            m_dialog->setDirectory(folder);
    }
    m_dialog->selectFile(QString());
    if (m_dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = m_dialog->selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(files.constFirst());
}

} // namespace tessaplex::ui
