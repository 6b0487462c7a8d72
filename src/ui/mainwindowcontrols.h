// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractItemModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessaplex::ui {

class ItemGridView;
class PreviewImage;
class ProgressGaugeWidget;
class SearchGroup;

// The main window's controls. Each carries the name of its field here as its object name.
struct MainWindowControls {
    ItemGridView *grid = nullptr;
    ProgressGaugeWidget *gauge = nullptr;
    // The art preview panel: below the preview the item's name and its flags in words.
    QCheckBox *viewItem = nullptr;
    QCheckBox *hue = nullptr;
    PreviewImage *previewImage = nullptr;
    QLabel *itemName = nullptr;
    QLabel *itemFlags = nullptr;
    QLabel *colorSwatch = nullptr;
    // The group "Worldfile".
    QLineEdit *startLine = nullptr;
    QLineEdit *lines = nullptr;
    QPushButton *analyse = nullptr;
    QPushButton *info = nullptr;
    // The group "Control".
    QPushButton *allOfBlock = nullptr;
    QPushButton *noneOfBlock = nullptr;
    QPushButton *addToFilter = nullptr;
    QPushButton *filter = nullptr;
    QPushButton *allOfId = nullptr;
    QPushButton *noneOfId = nullptr;
    QPushButton *all = nullptr;
    QPushButton *none = nullptr;
    SearchGroup *search = nullptr;
    // The group of the window buttons.
    QPushButton *about = nullptr;
    QPushButton *options = nullptr;
    QPushButton *patch = nullptr;
};

// Builds the controls in their places on window, the grid showing model. Connects nothing.
[[nodiscard]] MainWindowControls buildMainWindowControls(QWidget &window,
                                                         QAbstractItemModel &model);

} // namespace tessaplex::ui
