// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/session.h"
#include "ui/mainwindowcontrols.h"

#include <QWidget>

#include <optional>

namespace tessaplex::ui {

class ItemTableModel;
class MessageBoxes;
class ProgressGaugeWidget;

// The main window: the item table, the progress gauge, the art preview panel and the groups
// "Worldfile", "Control", "Search" and the group of the window buttons. It owns the session (the
// item table, the world file line list, the current row and the settings) and the grid's model;
// the program's windows hand them to the dialogs. Each control event is one handler that calls
// the core or the model. Its controls are private; each has an object name by which it is found
// among the window's children.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Fixes the start directory (the working directory now) and creates the session on it.
    explicit MainWindow(MessageBoxes &messages, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The windows that the buttons "About", "Options", "Filter" and "Info" show; they are
    // created after this one.
    struct Dialogs {
        QWidget *about = nullptr;
        QWidget *options = nullptr;
        QWidget *filter = nullptr;
        QWidget *info = nullptr;
    };
    void setDialogs(const Dialogs &dialogs) { m_dialogs = dialogs; }

    // What the dialogs share with this window: the session, the grid's model, through which
    // every mark changes, and the gauge that the filter reports on.
    app::Session &session() { return m_session; }
    ItemTableModel &model() { return *m_model; }
    ProgressGaugeWidget &gauge() { return *m_controls.gauge; }

    // The line window fields "Startline" and "Lines".
    void setLineWindow(const QString &startLine, const QString &lines);

signals:
    // The operator closed the window: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHandlers();

    // "All of"/"None of" (both), "All", "None": usable only on an analysed table.
    void setSelectionButtonsEnabled(bool enabled);

    // One handler per control.
    void onAnalyse();
    void onInfo();
    void onOptions();
    void onFilter();
    void onAbout();
    void onPatch();
    void onAllOfBlock();
    void onNoneOfBlock();
    void onAllOfId();
    void onNoneOfId();
    void onAll();
    void onNone();
    void onAddToFilter();
    void onInsert();
    void onDelete();
    void onDoubleClick();
    void onFind();
    void onFindNext();
    void onHueClicked(bool checked);

    // The grid is about to move to tableRow: preview, colour swatch, captions and the current
    // row. Returns false, with the error shown and nothing changed, when the preview fails.
    bool onRowSelected(int tableRow);
    void showPreviewOf(int tableRow);
    // The item's name and flag words under the preview; empty without a tiledata record.
    void showTileData(const std::optional<app::ItemTileData> &tileData);
    void setCaptionsFrom(int tableRow);
    // Selects a row the search found, as a click on it would, keeping the keyboard focus.
    void selectFoundRow(std::optional<int> tableRow);

    // All of / None of: the rows whose cell in column equals the current row's.
    void markLikeCurrentRow(world::Column column, bool mark);
    void focusGrid();

    MessageBoxes &m_messages;
    app::Session m_session;
    ItemTableModel *m_model = nullptr;
    MainWindowControls m_controls;
    Dialogs m_dialogs;
};

} // namespace tessaplex::ui
