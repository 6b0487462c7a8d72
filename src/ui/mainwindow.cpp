// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow.h"

#include "app/artpreview.h"
#include "app/startdirectory.h"
#include "base/error.h"
#include "selection/filter.h"
#include "selection/search.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/messageboxes.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"
#include "ui/searchgroup.h"
#include "ui/uistyle.h"
#include "world/numberrules.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaplex::ui {

namespace {

constexpr int ClientWidth = 684;
constexpr int ClientHeight = 399;

QString cellCaption(const char *prefix, const world::ItemTable &table, world::Column column,
                    int row) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(table.cellText(column, row).c_str());
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
    m_controls = buildMainWindowControls(*this, *m_model);
    connectHandlers();

    // Marks and PATCH need an analysed table.
    setSelectionButtonsEnabled(false);
    m_controls.patch->setEnabled(false);

    fitFontToCaptions(*this);
    centreOnScreen(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers() {
    const MainWindowControls &c = m_controls;
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
    // Only the operator's click is a change: showing the stored state writes nothing.
    connect(c.hue, &QCheckBox::clicked, this, &MainWindow::onHueClicked);
    connect(c.search, &SearchGroup::findClicked, this, &MainWindow::onFind);
    connect(c.search, &SearchGroup::findNextClicked, this, &MainWindow::onFindNext);
    connect(c.grid, &ItemGridView::insertPressed, this, &MainWindow::onInsert);
    connect(c.grid, &ItemGridView::deletePressed, this, &MainWindow::onDelete);
    connect(c.grid, &ItemGridView::doubleClickedRows, this, &MainWindow::onDoubleClick);
    c.grid->setRowChangeGate(
        [this](int modelRow) { return onRowSelected(ItemTableModel::tableRow(modelRow)); });
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

void MainWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    m_messages.runCommand([this] {
        m_controls.hue->setChecked(
            m_session.settings().readBool(app::SettingsSection, app::keys::ShowHue, false));
    });
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
    const std::string &colorCell = table.cellText(world::Column::Color, tableRow);
    const std::uint32_t id = world::hexTextToInt(table.idCell(tableRow));
    app::ClientFiles &files = m_session.clientFiles();
    // Read before anything changes on screen, so that a tiledata file that fails changes nothing.
    const std::optional<app::ItemTileData> tileData = files.tileData(m_session.settings(), id);
    std::optional<std::uint32_t> hue;
    if (m_controls.hue->isChecked())
        hue = static_cast<std::uint32_t>(world::decimalTextToInt(colorCell));
    m_controls.previewImage->showEntry(files, m_session.settings(), id + art::ItemArtBase, hue);
    showTileData(tileData);
    const art::ScreenColour colour = app::swatchColour(colorCell);
    const QColor background(art::red(colour), art::green(colour), art::blue(colour));
    QPalette palette = m_controls.colorSwatch->palette();
    palette.setColor(QPalette::Window, background);
    // The caption stays readable on any colour.
    palette.setColor(QPalette::WindowText, background.lightness() < 128 ? Qt::white : Qt::black);
    m_controls.colorSwatch->setPalette(palette);
}

void MainWindow::showTileData(const std::optional<app::ItemTileData> &tileData) {
    if (!tileData) {
        setElidedText(*m_controls.itemName, QString());
        setElidedText(*m_controls.itemFlags, QString());
        return;
    }
    setElidedText(*m_controls.itemName, QString::fromLatin1(tileData->name.c_str()));
    QStringList words;
    for (const std::string &word : tileData->flagWords)
        words.append(QString::fromLatin1(word.c_str()));
    setElidedText(*m_controls.itemFlags, words.join(QStringLiteral(", ")));
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

void MainWindow::onFind() {
    selectFoundRow(selection::findRow(m_session.table(), m_controls.search->query()));
}

void MainWindow::onFindNext() {
    const int selected = ItemTableModel::tableRow(m_controls.grid->selectedModelRow());
    selectFoundRow(selection::findNextRow(m_session.table(), m_controls.search->query(), selected));
}

void MainWindow::selectFoundRow(std::optional<int> tableRow) {
    if (!tableRow || ItemTableModel::modelRow(*tableRow) == m_controls.grid->selectedModelRow())
        return;
    if (onRowSelected(*tableRow))
        m_controls.grid->selectModelRow(ItemTableModel::modelRow(*tableRow));
}

void MainWindow::onHueClicked(bool checked) {
    m_messages.runCommand([&] {
        m_session.settings().writeBool(app::SettingsSection, app::keys::ShowHue, checked);
        // The item on show changes its colour at once.
        const int row = m_session.currentRow();
        if (m_controls.viewItem->isChecked() && row >= 1 && row < m_session.table().rowCount())
            showPreviewOf(row);
    });
}

void MainWindow::focusGrid() {
    m_controls.grid->setFocus(Qt::OtherFocusReason);
}

} // namespace tessaplex::ui
