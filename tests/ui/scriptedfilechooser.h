// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/filechooser.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace tessaplex::uitest {

// A file dialog that gives the answers queued beforehand (a null QString: the operator
// cancelled) and remembers the folders it was opened in and the kinds of file it offered. With
// no answer queued it cancels.
class ScriptedFileChooser : public ui::FileChooser {
public:
    [[nodiscard]] std::optional<QString> chooseFile(const QString &initialFolder,
                                                    Kinds offered) override {
        folders.append(initialFolder);
        kinds.append(offered);
        if (answers.empty())
            return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }

    std::deque<QString> answers;
    QStringList folders;
    QList<Kinds> kinds;
};

} // namespace tessaplex::uitest
