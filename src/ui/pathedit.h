// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace tessaplex::ui {

// A read-only, silver edit that shows a chosen path. Unlike a plain QLineEdit it does not
// select its text when it receives the focus by the keyboard.
class PathEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PathEdit(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
};

} // namespace tessaplex::ui
