// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindowcontrols.h"

#include "ui/groupbox.h"
#include "ui/groupcontrols.h"
#include "ui/itemgridview.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"
#include "ui/searchgroup.h"
#include "ui/uistyle.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaplex::ui {

namespace {

constexpr int ColumnWidth = 50;
constexpr int RowHeight = 16;

void buildGrid(QWidget &window, QAbstractItemModel &model, MainWindowControls &c) {
    auto *grid = named(place(new ItemGridView(&window), 0, 0, 537, 241), "grid");
    grid->setModel(&model);
    setSilverBackground(*grid);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setCornerButtonEnabled(false);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    // Fixed sizes: the view never measures contents, so a million rows scroll at once.
    QHeaderView *rows = grid->verticalHeader();
    rows->setVisible(false);
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(RowHeight);

    QHeaderView *headings = grid->horizontalHeader();
    headings->setMinimumSectionSize(1);
    headings->setSectionResizeMode(QHeaderView::Fixed);
    headings->setDefaultSectionSize(ColumnWidth);
    headings->setStretchLastSection(false);
    headings->setHighlightSections(false);
    headings->setSectionsClickable(false);
    headings->setTextElideMode(Qt::ElideNone);
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headings->setFixedHeight(RowHeight + 1);
    c.grid = grid;

    c.gauge = named(place(new ProgressGaugeWidget(&window), 0, 246, 537, 17), "gauge");
}

void buildArtPanel(QWidget &window, MainWindowControls &c) {
    auto *panel = place(new QFrame(&window), 540, 0, 149, 265);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);

    c.viewItem =
        named(place(new QCheckBox(QStringLiteral("ViewItem"), panel), 8, 8, 97, 17), "viewItem");
    c.viewItem->setChecked(true);
    c.hue = named(place(new QCheckBox(QStringLiteral("Hue"), panel), 8, 26, 48, 17), "hue");

    // The preview gives up the height of the "Hue" row and of the name and flag lines.
    c.previewImage = named(place(new PreviewImage(panel), 6, 46, 131, 148), "previewImage");
    c.itemName = named(place(new QLabel(panel), 6, 196, 131, 14), "itemName");
    c.itemName->setTextFormat(Qt::PlainText);
    // Two lines of flag words; all of them show in the tooltip when they need more.
    c.itemFlags = named(place(new QLabel(panel), 6, 210, 131, 28), "itemFlags");
    c.itemFlags->setTextFormat(Qt::PlainText);
    c.itemFlags->setWordWrap(true);
    c.itemFlags->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *swatch = place(new QLabel(QStringLiteral("Color"), panel), 8, 240, 129, 17);
    swatch->setAlignment(Qt::AlignCenter);
    swatch->setFrameShape(QFrame::Panel);
    swatch->setFrameShadow(QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    c.colorSwatch = named(swatch, "colorSwatch");
}

void buildWorldfileGroup(QWidget &window, MainWindowControls &c) {
    auto *group = place(new GroupBox(QStringLiteral("Worldfile"), &window), 0, 264, 193, 65);
    fieldLabel(group, "Startline", 8, 12, 48);
    c.startLine = silverEdit(group, "startLine", 56, 12, 65);
    c.startLine->setText(QStringLiteral("0"));
    fieldLabel(group, "Lines", 8, 36, 48);
    c.lines = silverEdit(group, "lines", 56, 36, 65);
    c.lines->setText(QStringLiteral("0"));
    c.analyse = groupButton(group, "analyse", "Analyse", 128, 12, 57);
    c.info = groupButton(group, "info", "Info", 128, 36, 57);
}

void buildControlGroup(QWidget &window, MainWindowControls &c) {
    auto *group = place(new GroupBox(QStringLiteral("Control"), &window), 200, 264, 481, 65);
    // The block buttons; the row selection puts the block into their captions.
    c.allOfBlock = groupButton(group, "allOfBlock", "All of ", 8, 12, 121);
    c.noneOfBlock = groupButton(group, "noneOfBlock", "None of", 8, 36, 121);
    c.addToFilter = groupButton(group, "addToFilter", "Add to Filter", 136, 12, 81);
    c.filter = groupButton(group, "filter", "Filter", 136, 36, 81);
    // The ID buttons; the row selection puts the ID into their captions.
    c.allOfId = groupButton(group, "allOfId", "All of", 224, 12, 121);
    c.noneOfId = groupButton(group, "noneOfId", "None of", 224, 36, 121);
    c.all = groupButton(group, "all", "All", 352, 12, 121);
    c.none = groupButton(group, "none", "None", 352, 36, 121);
}

void buildWindowButtons(QWidget &window, MainWindowControls &c) {
    auto *group = place(new GroupBox(&window), 264, 332, 417, 61);
    c.about = groupButton(group, "about", "About", 8, 24, 129, 25);
    c.options = groupButton(group, "options", "Options", 144, 24, 129, 25);
    c.patch = groupButton(group, "patch", "PATCH", 280, 24, 129, 25);
}

} // namespace

MainWindowControls buildMainWindowControls(QWidget &window, QAbstractItemModel &model) {
    MainWindowControls c;
    buildGrid(window, model, c);
    buildArtPanel(window, c);
    buildWorldfileGroup(window, c);
    buildControlGroup(window, c);
    c.search = named(place(new SearchGroup(&window), 0, 332, 257, 65), "search");
    buildWindowButtons(window, c);
    return c;
}

} // namespace tessaplex::ui
