// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "art/artdrawing.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace tessaplex::app {
class ClientFiles;
class Settings;
} // namespace tessaplex::app

namespace tessaplex::ui {

// An image control that shows the art of one item. It starts empty; the first entry with art
// turns it into a white picture of its own size with that art, and every later one clears it to
// white first. An entry without art, or a drawing that fails, leaves the picture as it was.
class PreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewImage(QWidget *parent = nullptr);

    // Draws art entry `entry` from the art files the settings name now, through files; in the
    // hue of COLOR value `color` when one is given and "Hues" names a hue table, else as the art
    // file holds it. Throws Error("Cannot open file <path>") when a file cannot be opened, the
    // picture unchanged.
    art::DrawOutcome showEntry(app::ClientFiles &files, const app::Settings &settings,
                               std::uint32_t entry, std::optional<std::uint32_t> color);

    // What the control shows: a null image while nothing was drawn yet.
    [[nodiscard]] const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

} // namespace tessaplex::ui
