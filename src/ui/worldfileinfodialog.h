// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaplex::ui {

class MainWindow;

// How long the world file is, how many items the last analysis listed and marked, and how many
// lines the marked items occupy. Every showing reads the world file anew. "Use" sets the main
// window's line window to the whole file.
class WorldFileInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorldFileInfoDialog(MainWindow &mainWindow, QWidget *parent = nullptr);

    struct Controls {
        QLabel *lines = nullptr;
        QLabel *selectedItems = nullptr;
        QLabel *listedItems = nullptr;
        QLabel *linesToRemove = nullptr;
        QPushButton *use = nullptr;
        QPushButton *ok = nullptr;
    };
    [[nodiscard]] const Controls &controls() const { return m_controls; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    void onUse();

    MainWindow &m_mainWindow;
    Controls m_controls;
};

} // namespace tessaplex::ui
