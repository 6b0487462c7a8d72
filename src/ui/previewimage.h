// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/artdrawing.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace tessaplex::app {
class Settings;
}

namespace tessaplex::ui {

// An image control that shows the art of one item. It starts empty; the first entry with art
// turns it into a white picture of its own size with that art, and every later one clears it to
// white first. An entry without art, or a drawing that fails, leaves the picture as it was.
class PreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget *parent = nullptr);

    // Draws art entry `entry` from the art files the settings name now. Throws
    // Error("Cannot open file <path>") when an art file cannot be opened, the picture unchanged.
    art::DrawOutcome showEntry(const app::Settings &settings, std::uint32_t entry);

    // What the control shows: a null image while nothing was drawn yet.
    [[nodiscard]] const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

} // namespace tessaplex::ui
