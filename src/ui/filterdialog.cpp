// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filterdialog.h"

#include "ui/uistyle.h"

namespace tessaplex::ui {

FilterDialog::FilterDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Filter"));
    setFixedSize(340, 353);
    setWindowModality(Qt::ApplicationModal);
    centreOnScreen(*this);
}

} // namespace tessaplex::ui
