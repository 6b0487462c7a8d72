// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow.h"

#include "app/artpreview.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "selection/filter.h"
#include "selection/search.h"
#include "ui/groupbox.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/messageboxes.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"
#include "ui/uistyle.h"
#include "world/numberrules.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace tessaplex::ui {

namespace {

constexpr int ClientWidth = 684;
constexpr int ClientHeight = 399;
constexpr int ColumnWidth = 50;
constexpr int RowHeight = 16;
// Buttons and edits inside the groups; the window buttons are taller.
constexpr int FieldHeight = 21;

QPushButton *button(QWidget *parent, const char *caption, int left, int top, int width,
                    int height = FieldHeight) {
    auto *result = new QPushButton(QString::fromLatin1(caption), parent);
    result->setAutoDefault(false);
    return place(result, left, top, width, height);
}

QLineEdit *silverEdit(QWidget *parent, int left, int top, int width) {
    auto *edit = new QLineEdit(parent);
    setSilverBackground(*edit);
    return place(edit, left, top, width, FieldHeight);
}

QString cellCaption(const char *prefix, const world::ItemTable &table, world::Column column,
                    int row) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(table.cellText(column, row).c_str());
}

QLabel *label(QWidget *parent, const char *caption, int left, int top, int width) {
    auto *result = new QLabel(QString::fromLatin1(caption), parent);
    result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return place(result, left, top, width, FieldHeight);
}

} // namespace

MainWindow::MainWindow(MessageBoxes &messages, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_messages(messages)
    , m_session(app::currentStartDirectory()) {
    setWindowTitle(QStringLiteral("Tessaplex V2.00.04 BETA! (for Sphere .54/.55)"));
    setFixedSize(ClientWidth, ClientHeight);

    m_model = new ItemTableModel(m_session.table(), this);
    // What a command did of its own accord, such as completing an interrupted PATCH, is told at
    // once, before the command goes on.
    m_session.setNoticeReceiver(
        [this](const std::string &text) { m_messages.message(QString::fromStdString(text)); });
    buildGrid();
    buildArtPanel();
    buildWorldfileGroup();
    buildControlGroup();
    buildSearchGroup();
    buildWindowButtons();
    connectHandlers();

    // Marks and PATCH need an analysed table.
    setSelectionButtonsEnabled(false);
    m_controls.patch->setEnabled(false);

    fitFontToCaptions(*this);
    centreOnScreen(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildGrid() {
    auto *grid = place(new ItemGridView(this), 0, 0, 537, 241);
    grid->setModel(m_model);
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
    m_controls.grid = grid;

    auto *gauge = place(new ProgressGaugeWidget(this), 0, 246, 537, 17);
    m_controls.gauge = gauge;
}

void MainWindow::buildArtPanel() {
    auto *panel = place(new QFrame(this), 540, 0, 149, 265);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);

    m_controls.viewItem = place(new QCheckBox(QStringLiteral("ViewItem"), panel), 8, 8, 97, 17);
    m_controls.viewItem->setChecked(true);

    m_controls.previewImage = place(new PreviewImage(panel), 6, 32, 131, 201);

    auto *swatch = place(new QLabel(QStringLiteral("Color"), panel), 8, 240, 129, 17);
    swatch->setAlignment(Qt::AlignCenter);
    swatch->setFrameShape(QFrame::Panel);
    swatch->setFrameShadow(QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    m_controls.colorSwatch = swatch;
}

void MainWindow::buildWorldfileGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Worldfile"), this), 0, 264, 193, 65);
    label(group, "Startline", 8, 12, 48);
    m_controls.startLine = silverEdit(group, 56, 12, 65);
    m_controls.startLine->setText(QStringLiteral("0"));
    label(group, "Lines", 8, 36, 48);
    m_controls.lines = silverEdit(group, 56, 36, 65);
    m_controls.lines->setText(QStringLiteral("0"));
    m_controls.analyse = button(group, "Analyse", 128, 12, 57);
    m_controls.info = button(group, "Info", 128, 36, 57);
}

void MainWindow::buildControlGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Control"), this), 200, 264, 481, 65);
    // The block buttons; the row selection puts the block into their captions.
    m_controls.allOfBlock = button(group, "All of ", 8, 12, 121);
    m_controls.noneOfBlock = button(group, "None of", 8, 36, 121);
    m_controls.addToFilter = button(group, "Add to Filter", 136, 12, 81);
    m_controls.filter = button(group, "Filter", 136, 36, 81);
    // The ID buttons; the row selection puts the ID into their captions.
    m_controls.allOfId = button(group, "All of", 224, 12, 121);
    m_controls.noneOfId = button(group, "None of", 224, 36, 121);
    m_controls.all = button(group, "All", 352, 12, 121);
    m_controls.none = button(group, "None", 352, 36, 121);
}

void MainWindow::buildSearchGroup() {
    auto *group = place(new GroupBox(QStringLiteral("Search"), this), 0, 332, 257, 65);
    m_controls.searchById = place(new QRadioButton(QStringLiteral("ID"), group), 8, 18, 64, 17);
    m_controls.searchById->setChecked(true);
    m_controls.searchId = silverEdit(group, 72, 16, 105);
    m_controls.searchByPosition =
        place(new QRadioButton(QStringLiteral("Position"), group), 8, 42, 64, 17);
    m_controls.searchX = silverEdit(group, 72, 40, 49);
    m_controls.searchY = silverEdit(group, 128, 40, 49);
    m_controls.find = button(group, "Find", 184, 16, 65);
    m_controls.findNext = button(group, "Find Next", 184, 40, 65);
}

void MainWindow::buildWindowButtons() {
    auto *group = place(new GroupBox(this), 264, 332, 417, 61);
    m_controls.about = button(group, "About", 8, 24, 129, 25);
    m_controls.options = button(group, "Options", 144, 24, 129, 25);
    m_controls.patch = button(group, "PATCH", 280, 24, 129, 25);
}

void MainWindow::connectHandlers() {
    const Controls &c = m_controls;
    connect(c.analyse, &QPushButton::clicked, this, &MainWindow::onAnalyse);
    connect(c.info, &QPushButton::clicked, this, &MainWindow::onInfo);
    connect(c.options, &QPushButton::clicked, this, &MainWindow::onOptions);
    connect(c.filter, &QPushButton::clicked, this, &MainWindow::onFilter);
    connect(c.about, &QPushButton::clicked, this, &MainWindow::onAbout);
    connect(c.patch, &QPushButton::clicked, this, &MainWindow::onPatch);
    connect(c.allOfBlock, &QPushButton::clicked, this, &MainWindow::onAllOfBlock);
    connect(c.noneOfBlock, &QPushButton::clicked, this, &MainWindow::onNoneOfBlock);
    connect(c.allOfId, &QPushButton::clicked, this, &MainWindow::onAllOfId);
    connect(c.noneOfId, &QPushButton::clicked, this, &MainWindow::onNoneOfId);
    connect(c.all, &QPushButton::clicked, this, &MainWindow::onAll);
    connect(c.none, &QPushButton::clicked, this, &MainWindow::onNone);
    connect(c.addToFilter, &QPushButton::clicked, this, &MainWindow::onAddToFilter);
    connect(c.find, &QPushButton::clicked, this, &MainWindow::onFind);
    connect(c.findNext, &QPushButton::clicked, this, &MainWindow::onFindNext);
    connect(c.grid, &ItemGridView::insertPressed, this, &MainWindow::onInsert);
    connect(c.grid, &ItemGridView::deletePressed, this, &MainWindow::onDelete);
    connect(c.grid, &ItemGridView::doubleClickedRows, this, &MainWindow::onDoubleClick);
    c.grid->setRowChangeGate(
        [this](int modelRow) { return onRowSelected(ItemTableModel::tableRow(modelRow)); });
    for (QLineEdit *edit : {c.searchId, c.searchX, c.searchY})
        edit->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    // Only a click switches the mode: moving into a field with the keyboard leaves it as it is.
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_controls.searchId)
            m_controls.searchById->setChecked(true);
        else if (watched == m_controls.searchX || watched == m_controls.searchY)
            m_controls.searchByPosition->setChecked(true);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::setSelectionButtonsEnabled(bool enabled) {
    for (QPushButton *b : {m_controls.allOfBlock, m_controls.noneOfBlock, m_controls.allOfId,
                           m_controls.noneOfId, m_controls.all, m_controls.none})
        b->setEnabled(enabled);
}

void MainWindow::setLineWindow(const QString &startLine, const QString &lines) {
    m_controls.startLine->setText(startLine);
    m_controls.lines->setText(lines);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closed();
}

void MainWindow::onAnalyse() {
    m_controls.grid->setEnabled(false);
    m_controls.analyse->setEnabled(false);
    const std::string start = m_controls.startLine->text().toStdString();
    const std::string lines = m_controls.lines->text().toStdString();
    bool tableTouched = false;
    m_messages.runCommand([&] {
        try {
            if (m_session.analyse(start, lines, *m_controls.gauge) != world::AnalyseOutcome::Listed)
                return;
        } catch (const Error &) {
            throw; // reported before the table is touched
        } catch (...) {
            tableTouched = true; // the table may be half filled: show what it holds
            throw;
        }
        tableTouched = true;
        setSelectionButtonsEnabled(true);
        m_controls.patch->setEnabled(true);
    });
    if (tableTouched)
        m_model->tableReplaced();
    m_controls.grid->setEnabled(true);
    m_controls.analyse->setEnabled(true);
}

void MainWindow::onInfo() {
    if (m_dialogs.info)
        showModally(*m_dialogs.info);
}

void MainWindow::onOptions() {
    if (m_dialogs.options)
        showModally(*m_dialogs.options);
}

void MainWindow::onFilter() {
    if (m_dialogs.filter)
        showModally(*m_dialogs.filter);
}

void MainWindow::onAbout() {
    if (!m_dialogs.about)
        return;
    hide();
    m_dialogs.about->show();
    m_dialogs.about->raise();
    m_dialogs.about->activateWindow();
}

void MainWindow::onPatch() {
    // A PATCH that has started needs a new analysis before the next one.
    m_controls.patch->setEnabled(false);
    m_messages.runCommand([&] {
        if (m_session.patch(*m_controls.gauge) == app::Session::PatchOutcome::TooManyMarks) {
            m_controls.patch->setEnabled(true);
            m_messages.message(QStringLiteral("You can only select 500.000 items"));
            return;
        }
        m_messages.message(QStringLiteral("Process finished"));
        setSelectionButtonsEnabled(false);
    });
}

void MainWindow::markLikeCurrentRow(world::Column column, bool mark) {
    // The row is read now, not when it was selected; an analysis may have shortened the table.
    const int row = m_session.currentRow();
    if (mark ? m_model->markAllOf(column, row) : m_model->unmarkAllOf(column, row))
        focusGrid();
}

void MainWindow::onAllOfBlock() {
    markLikeCurrentRow(world::Column::Block, true);
}

void MainWindow::onNoneOfBlock() {
    markLikeCurrentRow(world::Column::Block, false);
}

void MainWindow::onAllOfId() {
    markLikeCurrentRow(world::Column::Id, true);
}

void MainWindow::onNoneOfId() {
    markLikeCurrentRow(world::Column::Id, false);
}

void MainWindow::onAll() {
    m_model->markAll();
    focusGrid();
}

void MainWindow::onNone() {
    m_model->unmarkAll();
    focusGrid();
}

bool MainWindow::onRowSelected(int tableRow) {
    if (tableRow < 1 || tableRow >= m_session.table().rowCount())
        return true;
    // The preview comes first: when it fails, nothing else of the selection happens.
    if (m_controls.viewItem->isChecked() &&
        !m_messages.runCommand([&] { showPreviewOf(tableRow); }))
        return false;
    setCaptionsFrom(tableRow);
    m_session.setCurrentRow(tableRow);
    return true;
}

void MainWindow::showPreviewOf(int tableRow) {
    const world::ItemTable &table = m_session.table();
    const std::uint32_t entry = world::hexTextToInt(table.idCell(tableRow)) + art::ItemArtBase;
    m_controls.previewImage->showEntry(m_session.settings(), entry);
    const art::ScreenColour colour =
        app::swatchColour(table.cellText(world::Column::Color, tableRow));
    const QColor background(art::red(colour), art::green(colour), art::blue(colour));
    QPalette palette = m_controls.colorSwatch->palette();
    palette.setColor(QPalette::Window, background);
    // The caption stays readable on any colour.
    palette.setColor(QPalette::WindowText, background.lightness() < 128 ? Qt::white : Qt::black);
    m_controls.colorSwatch->setPalette(palette);
}

void MainWindow::setCaptionsFrom(int tableRow) {
    const world::ItemTable &table = m_session.table();
    m_controls.allOfBlock->setText(cellCaption("All of B#", table, world::Column::Block, tableRow));
    m_controls.noneOfBlock->setText(
        cellCaption("None of B#", table, world::Column::Block, tableRow));
    m_controls.allOfId->setText(cellCaption("All of #", table, world::Column::Id, tableRow));
    m_controls.noneOfId->setText(cellCaption("None of #", table, world::Column::Id, tableRow));
}

void MainWindow::onInsert() {
    m_model->setMark(m_session.currentRow());
}

void MainWindow::onDelete() {
    m_model->clearMark(m_session.currentRow());
}

void MainWindow::onDoubleClick() {
    m_model->toggleMark(m_session.currentRow());
}

void MainWindow::onAddToFilter() {
    if (m_messages.runCommand([&] {
            selection::addToFilter(m_session.table(), m_session.currentRow(),
                                   m_session.mainFilterList(),
                                   m_session.ownFilePath("qelmitem.txt"));
        }))
        focusGrid();
}

selection::SearchQuery MainWindow::searchQuery() const {
    const Controls &c = m_controls;
    if (c.searchById->isChecked())
        return selection::SearchQuery::byId(c.searchId->text().toStdString());
    return selection::SearchQuery::byPosition(c.searchX->text().toStdString(),
                                              c.searchY->text().toStdString());
}

void MainWindow::onFind() {
    selectFoundRow(selection::findRow(m_session.table(), searchQuery()));
}

void MainWindow::onFindNext() {
    const int selected = ItemTableModel::tableRow(m_controls.grid->selectedModelRow());
    selectFoundRow(selection::findNextRow(m_session.table(), searchQuery(), selected));
}

void MainWindow::selectFoundRow(std::optional<int> tableRow) {
    if (!tableRow || ItemTableModel::modelRow(*tableRow) == m_controls.grid->selectedModelRow())
        return;
    if (onRowSelected(*tableRow))
        m_controls.grid->selectModelRow(ItemTableModel::modelRow(*tableRow));
}

void MainWindow::focusGrid() {
    m_controls.grid->setFocus(Qt::OtherFocusReason);
}

} // namespace tessaplex::ui
