// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/filechooser.h"

#include <QDialog>

#include <string_view>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessaplex::app {
class Settings;
}

namespace tessaplex::ui {

class MessageBoxes;
class PathEdit;

// Where the static map files, the art files (with the hue table and the tiledata file), the world
// file and the item scripts lie, whether the world file is written with Unix line ends, and which
// map's items are patched. It keeps no values of its own: every showing reads them from the
// settings file, and every change is written there at once.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(app::Settings &settings, MessageBoxes &messages, FileChooser &files,
                  QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The controls, in the order of the keyboard focus; each has its field's name as object name.
    struct Controls {
        PathEdit *staidx = nullptr;
        PathEdit *statics = nullptr;
        QPushButton *chooseStaidx = nullptr;
        QPushButton *chooseStatics = nullptr;
        PathEdit *artIdx = nullptr;
        PathEdit *art = nullptr;
        PathEdit *hues = nullptr;
        PathEdit *tiledata = nullptr;
        QPushButton *chooseArtIdx = nullptr;
        QPushButton *chooseArt = nullptr;
        QPushButton *chooseHues = nullptr;
        QPushButton *chooseTiledata = nullptr;
        PathEdit *worldFile = nullptr;
        QCheckBox *unixLineEnds = nullptr;
        QComboBox *map = nullptr;
        QPushButton *chooseWorldFile = nullptr;
        QPushButton *ok = nullptr;
        QLineEdit *itemFiles = nullptr;
    };

    void buildStaticsGroup();
    void buildArtGroup();
    void buildWorldfileGroup();
    void buildItemFilesGroup();

    // Handlers.
    void fillFromSettings();
    void onChooseFile(PathEdit *edit, std::string_view key, FileChooser::Kinds kinds);
    void onUnixToggled(bool checked);
    void onMapChosen(int index);
    void onItemFilesChanged(const QString &text);

    app::Settings &m_settings;
    MessageBoxes &m_messages;
    FileChooser &m_files;
    Controls m_controls;
};

} // namespace tessaplex::ui
