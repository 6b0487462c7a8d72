// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aboutbanner.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tessaplex::ui {

namespace {

constexpr int Width = 500;
constexpr int Height = 80;
constexpr qreal TileHalfWidth = 22; // a tile is 44 x 22 pixels
constexpr qreal TileHalfHeight = 11;

QPolygonF tile(QPointF centre, qreal lift) {
    const QPointF c(centre.x(), centre.y() - lift);
    return QPolygonF({QPointF(c.x(), c.y() - TileHalfHeight), QPointF(c.x() + TileHalfWidth, c.y()),
                      QPointF(c.x(), c.y() + TileHalfHeight),
                      QPointF(c.x() - TileHalfWidth, c.y())});
}

// Whether the tile at (column, row) of the floor is raised, in a fixed pattern.
bool raised(int column, int row) {
    const unsigned hash =
        static_cast<unsigned>(column * 73856093) ^ static_cast<unsigned>(row * 19349663);
    return hash % 7 == 0;
}

void drawBlock(QPainter &painter, QPointF centre, qreal lift, QColor top) {
    const QPolygonF roof = tile(centre, lift);
    const QPointF left(centre.x() - TileHalfWidth, centre.y());
    const QPointF right(centre.x() + TileHalfWidth, centre.y());
    const QPointF bottom(centre.x(), centre.y() + TileHalfHeight);
    painter.setBrush(top.darker(150));
    painter.drawPolygon(QPolygonF({roof[3], roof[2], bottom, left}));
    painter.setBrush(top.darker(125));
    painter.drawPolygon(QPolygonF({roof[2], roof[1], right, bottom}));
    painter.setBrush(top);
    painter.drawPolygon(roof);
}

} // namespace

QImage aboutBanner() {
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0, QColor(24, 34, 58));
    sky.setColorAt(1, QColor(52, 70, 104));
    painter.fillRect(image.rect(), sky);

    // The floor: rows of diamonds, every other row shifted by half a tile.
    painter.setPen(QPen(QColor(30, 40, 30), 1));
    for (int row = -1; row * TileHalfHeight < Height + TileHalfHeight; ++row) {
        for (int column = -1; column * 2 * TileHalfWidth < Width + TileHalfWidth; ++column) {
            const QPointF centre(column * 2 * TileHalfWidth + (row % 2 ? TileHalfWidth : 0),
                                 row * TileHalfHeight);
            const int shade = 90 + ((column * 5 + row * 3) % 4) * 8;
            const QColor grass(shade / 2, shade, shade / 3);
            if (raised(column, row))
                drawBlock(painter, centre, 8, QColor(170, 150, 110));
            else {
                painter.setBrush(grass);
                painter.drawPolygon(tile(centre, 0));
            }
        }
    }

    // The name, outlined so it reads on any tile.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(38);
    font.setBold(true);
    QPainterPath name;
    name.addText(16, 46, font, QStringLiteral("Tessaplex"));
    painter.setPen(QPen(QColor(20, 20, 20), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(name);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 236, 190));
    painter.drawPath(name);
    return image;
}

} // namespace tessaplex::ui
