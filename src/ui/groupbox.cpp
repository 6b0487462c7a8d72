// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/groupbox.h"

#include <QPainter>

namespace tessaplex::ui {

GroupBox::GroupBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent) {}

GroupBox::GroupBox(QWidget *parent)
    : QGroupBox(parent) {}

void GroupBox::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = title().isEmpty() ? 0 : metrics.height() / 2;
    const QRect frame = rect().adjusted(0, top, -1, -1);

    // Etched: a dark line with a light one beside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));

    if (title().isEmpty())
        return;
    const int left = 8;
    const int width = metrics.horizontalAdvance(title()) + 4;
    const QRect caption(left, 0, width, metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace tessaplex::ui
