// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/itemgridview.h"
#include "ui/pathedit.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

namespace tessaplex::uitest {

// The child of window with the given object name; a control that is missing ends the test
// program with its name, since every later step would only fail on a null pointer.
template <typename Control> Control *control(const QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no control \"%s\" of the expected type", window.metaObject()->className(),
               name);
    return found;
}

// The controls of each window, found by their object names as the tests drive them.

struct MainControls {
    explicit MainControls(const QWidget &shown)
        : window(shown) {}
    const QWidget &window;
    ui::ItemGridView *grid = control<ui::ItemGridView>(window, "grid");
    ui::ProgressGaugeWidget *gauge = control<ui::ProgressGaugeWidget>(window, "gauge");
    QCheckBox *viewItem = control<QCheckBox>(window, "viewItem");
    QCheckBox *hue = control<QCheckBox>(window, "hue");
    ui::PreviewImage *previewImage = control<ui::PreviewImage>(window, "previewImage");
    QLabel *itemName = control<QLabel>(window, "itemName");
    QLabel *itemFlags = control<QLabel>(window, "itemFlags");
    QLabel *colorSwatch = control<QLabel>(window, "colorSwatch");
    QLineEdit *startLine = control<QLineEdit>(window, "startLine");
    QLineEdit *lines = control<QLineEdit>(window, "lines");
    QPushButton *analyse = control<QPushButton>(window, "analyse");
    QPushButton *info = control<QPushButton>(window, "info");
    QPushButton *allOfBlock = control<QPushButton>(window, "allOfBlock");
    QPushButton *noneOfBlock = control<QPushButton>(window, "noneOfBlock");
    QPushButton *addToFilter = control<QPushButton>(window, "addToFilter");
    QPushButton *filter = control<QPushButton>(window, "filter");
    QPushButton *allOfId = control<QPushButton>(window, "allOfId");
    QPushButton *noneOfId = control<QPushButton>(window, "noneOfId");
    QPushButton *all = control<QPushButton>(window, "all");
    QPushButton *none = control<QPushButton>(window, "none");
    QRadioButton *searchById = control<QRadioButton>(window, "searchById");
    QLineEdit *searchId = control<QLineEdit>(window, "searchId");
    QRadioButton *searchByPosition = control<QRadioButton>(window, "searchByPosition");
    QLineEdit *searchX = control<QLineEdit>(window, "searchX");
    QLineEdit *searchY = control<QLineEdit>(window, "searchY");
    QPushButton *find = control<QPushButton>(window, "find");
    QPushButton *findNext = control<QPushButton>(window, "findNext");
    QPushButton *about = control<QPushButton>(window, "about");
    QPushButton *options = control<QPushButton>(window, "options");
    QPushButton *patch = control<QPushButton>(window, "patch");
};

struct AboutControls {
    explicit AboutControls(const QWidget &shown)
        : window(shown) {}
    const QWidget &window;
    QPushButton *web = control<QPushButton>(window, "web");
    QPushButton *ok = control<QPushButton>(window, "ok");
};

struct OptionsControls {
    explicit OptionsControls(const QWidget &shown)
        : window(shown) {}
    const QWidget &window;
    ui::PathEdit *staidx = control<ui::PathEdit>(window, "staidx");
    ui::PathEdit *statics = control<ui::PathEdit>(window, "statics");
    QPushButton *chooseStaidx = control<QPushButton>(window, "chooseStaidx");
    QPushButton *chooseStatics = control<QPushButton>(window, "chooseStatics");
    ui::PathEdit *artIdx = control<ui::PathEdit>(window, "artIdx");
    ui::PathEdit *art = control<ui::PathEdit>(window, "art");
    QPushButton *chooseArtIdx = control<QPushButton>(window, "chooseArtIdx");
    QPushButton *chooseArt = control<QPushButton>(window, "chooseArt");
    ui::PathEdit *hues = control<ui::PathEdit>(window, "hues");
    ui::PathEdit *tiledata = control<ui::PathEdit>(window, "tiledata");
    QPushButton *chooseHues = control<QPushButton>(window, "chooseHues");
    QPushButton *chooseTiledata = control<QPushButton>(window, "chooseTiledata");
    ui::PathEdit *worldFile = control<ui::PathEdit>(window, "worldFile");
    QCheckBox *unixLineEnds = control<QCheckBox>(window, "unixLineEnds");
    QComboBox *map = control<QComboBox>(window, "map");
    QPushButton *chooseWorldFile = control<QPushButton>(window, "chooseWorldFile");
    QPushButton *ok = control<QPushButton>(window, "ok");
    QLineEdit *itemFiles = control<QLineEdit>(window, "itemFiles");
};

struct FilterControls {
    explicit FilterControls(const QWidget &shown)
        : window(shown) {}
    const QWidget &window;
    QListWidget *entries = control<QListWidget>(window, "entries");
    ui::PreviewImage *preview = control<ui::PreviewImage>(window, "preview");
    QLabel *name = control<QLabel>(window, "name");
    QLineEdit *id = control<QLineEdit>(window, "id");
    QCheckBox *use = control<QCheckBox>(window, "use");
    QLineEdit *x1 = control<QLineEdit>(window, "x1");
    QLineEdit *y1 = control<QLineEdit>(window, "y1");
    QLineEdit *x2 = control<QLineEdit>(window, "x2");
    QLineEdit *y2 = control<QLineEdit>(window, "y2");
    QPushButton *add = control<QPushButton>(window, "add");
    QPushButton *remove = control<QPushButton>(window, "remove");
    QPushButton *sort = control<QPushButton>(window, "sort");
    QPushButton *cancel = control<QPushButton>(window, "cancel");
    QPushButton *ok = control<QPushButton>(window, "ok");
};

struct InfoControls {
    explicit InfoControls(const QWidget &shown)
        : window(shown) {}
    const QWidget &window;
    QLabel *lines = control<QLabel>(window, "lines");
    QLabel *selectedItems = control<QLabel>(window, "selectedItems");
    QLabel *listedItems = control<QLabel>(window, "listedItems");
    QLabel *linesToRemove = control<QLabel>(window, "linesToRemove");
    QLabel *mapNumbers = control<QLabel>(window, "mapNumbers");
    QPushButton *use = control<QPushButton>(window, "use");
    QPushButton *ok = control<QPushButton>(window, "ok");
};

} // namespace tessaplex::uitest
