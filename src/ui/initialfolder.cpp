// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/initialfolder.h"

namespace tessaplex::ui {

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

} // namespace

QString initialFolder(const QString &path) {
    int last = -1;
    for (int i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path[i]) || path[i] == QLatin1Char(':')) {
            last = i;
            break;
        }
    }
    QString folder = path.left(last + 1);
    if (folder.size() > 1 && isSeparator(folder.back())) {
        const QChar before = folder[folder.size() - 2];
        if (before != QLatin1Char(':') && !isSeparator(before))
            folder.chop(1);
    }
    return folder;
}

} // namespace tessaplex::ui
