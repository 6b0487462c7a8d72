// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace tessaplex::ui {

// The filter list and the filter area. Its controls come with the filter commands; for now it
// is the window the main window's "Filter" button shows.
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit FilterDialog(QWidget *parent = nullptr);
};

} // namespace tessaplex::ui
