// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progressgaugewidget.h"

#include <QPainter>

namespace tessaplex::ui {

ProgressGaugeWidget::ProgressGaugeWidget(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressGaugeWidget::percentChanged(int) {
    repaint();
}

void ProgressGaugeWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const int filled = inside.width() * percent() / 100;
    const QRect bar(inside.left(), inside.top(), filled, inside.height());

    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.fillRect(bar, palette().color(QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);

    // The text takes the colour that stands out against what lies under each part of it.
    const QString text = QString::number(percent()) + QLatin1Char('%');
    painter.setPen(palette().color(QPalette::Text));
    painter.setClipRect(inside.adjusted(filled, 0, 0, 0));
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.setClipRect(bar);
    painter.drawText(inside, Qt::AlignCenter, text);
}

} // namespace tessaplex::ui
