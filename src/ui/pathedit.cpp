// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pathedit.h"

#include "ui/uistyle.h"

namespace tessaplex::ui {

PathEdit::PathEdit(QWidget *parent)
    : QLineEdit(parent) {
    setReadOnly(true);
    setSilverBackground(*this);
}

void PathEdit::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    deselect();
}

} // namespace tessaplex::ui
