// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace tessaplex::app {
class Session;
}

namespace tessaplex::ui {

class MessageBoxes;

// How long the world file is, how many items the last analysis listed and marked, and how many
// lines the marked items occupy, and how many listed items carry a map number that PATCH cannot
// place until a map is chosen. Every showing reads the world file anew. "Use" hands the whole
// file, start line and number of lines, to useLineWindow (the main window's line window).
class WorldFileInfoDialog : public QDialog {
    Q_OBJECT
public:
    using LineWindowReceiver = std::function<void(const QString &startLine, const QString &lines)>;
    WorldFileInfoDialog(app::Session &session, MessageBoxes &messages,
                        LineWindowReceiver useLineWindow, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Each control has its field's name as object name.
    struct Controls {
        QLabel *lines = nullptr;
        QLabel *selectedItems = nullptr;
        QLabel *listedItems = nullptr;
        QLabel *linesToRemove = nullptr;
        QLabel *mapNumbers = nullptr;
        QPushButton *use = nullptr;
        QPushButton *ok = nullptr;
    };

    void fill();
    void onUse();

    app::Session &m_session;
    MessageBoxes &m_messages;
    LineWindowReceiver m_useLineWindow;
    Controls m_controls;
};

} // namespace tessaplex::ui
