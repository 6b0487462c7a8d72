// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/standardmessageboxes.h"

#include <QApplication>
#include <QMessageBox>

namespace tessaplex::ui {

namespace {

void showBox(QMessageBox::Icon icon, const QString &title, const QString &text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void StandardMessageBoxes::error(const QString &text) {
    showBox(QMessageBox::Critical, QApplication::applicationName(), text);
}

void StandardMessageBoxes::message(const QString &text) {
    showBox(QMessageBox::NoIcon, QString(), text);
}

} // namespace tessaplex::ui
