// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selection/filterlist.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tessaplex::app {
class Session;
}

namespace tessaplex::ui {

class ItemTableModel;
class MessageBoxes;
class PreviewImage;
class ProgressGaugeWidget;

// The filter list and the filter area. The entry list lives here for the whole run and is saved
// to the filter list file whichever button closes the dialog; the area is written to the settings
// file field by field as the operator leaves it. "&OK" marks the rows the filter admits through
// the grid's model, counting on gauge, whose window stays on screen meanwhile. Errors are shown
// through messages.
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    FilterDialog(app::Session &session, ItemTableModel &items, ProgressGaugeWidget &gauge,
                 MessageBoxes &messages, QWidget *parent = nullptr);

    // The entry list, in list order; the list control shows the same entries.
    [[nodiscard]] const selection::FilterEntries &entries() const { return m_entries; }

public slots:
    // Escape and the window manager's close behave as "&Cancel": the list edits are saved, and
    // the dialog stays open when they cannot be.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls, in the order of the keyboard focus; each has its field's name as object name.
    struct Controls {
        QListWidget *entries = nullptr;
        PreviewImage *preview = nullptr;
        QLabel *name = nullptr;
        QLineEdit *id = nullptr;
        QCheckBox *use = nullptr;
        QLineEdit *x1 = nullptr;
        QLineEdit *y1 = nullptr;
        QLineEdit *x2 = nullptr;
        QLineEdit *y2 = nullptr;
        QPushButton *add = nullptr;
        QPushButton *remove = nullptr;
        QPushButton *sort = nullptr;
        QPushButton *cancel = nullptr;
        QPushButton *ok = nullptr;
    };

    void buildItemsGroup();
    void buildControlGroup();
    void buildAreaGroup();
    void buildButtons();

    // Handlers.
    void onActivated();
    void onEntrySelected();
    void onIdChanged(const QString &text);
    void onAdd();
    void onRemove();
    void onSort();
    void onAreaFieldLeft(QLineEdit *field, std::string_view key);
    void onUseClicked(bool checked);
    void onCancel();
    void onOk();

    // Shows m_entries in the list control with no entry selected, without a preview.
    void showEntries();
    // Draws the art entry as the art file holds it, with the tiledata name of its item below.
    void preview(std::uint32_t artEntry);
    [[nodiscard]] std::string listFilePath() const;

    app::Session &m_session;
    ItemTableModel &m_items;
    ProgressGaugeWidget &m_gauge;
    MessageBoxes &m_messages;
    selection::FilterEntries m_entries;
    Controls m_controls;
};

} // namespace tessaplex::ui
