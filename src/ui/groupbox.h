// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace tessaplex::ui {

// A group box whose caption sits in the top line of its etched frame, with the frame running
// from the box's top edge (half a line down) to its bottom edge. Its controls are placed at
// fixed offsets from the box's top-left corner, below the caption.
class GroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupBox(const QString &title, QWidget *parent = nullptr);
    explicit GroupBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tessaplex::ui
