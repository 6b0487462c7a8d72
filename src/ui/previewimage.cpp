// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/previewimage.h"

#include "app/clientfiles.h"
#include "art/pixelcanvas.h"

#include <QPainter>

namespace tessaplex::ui {

namespace {

QRgb toRgb(art::ScreenColour colour) {
    return qRgb(art::red(colour), art::green(colour), art::blue(colour));
}

// The drawing works on a copy, so a preview that fails half-way never shows on screen; the
// picture is allocated on the first fill, so an entry without art leaves an empty control empty.
class ImageCanvas : public art::PixelCanvas {
public:
    ImageCanvas(QImage image, QSize size)
        : m_image(std::move(image))
        , m_size(size) {}

    [[nodiscard]] int width() const override { return m_size.width(); }
    [[nodiscard]] int height() const override { return m_size.height(); }
    void fill(art::ScreenColour colour) override {
        if (m_image.size() != m_size)
            m_image = QImage(m_size, QImage::Format_RGB32);
        m_image.fill(toRgb(colour));
    }
    void setPixel(int x, int y, art::ScreenColour colour) override {
        if (m_image.valid(x, y))
            m_image.setPixel(x, y, toRgb(colour));
    }

    QImage &image() { return m_image; }

private:
    QImage m_image;
    QSize m_size;
};

} // namespace

PreviewImage::PreviewImage(QWidget *parent)
    : QWidget(parent) {}

art::DrawOutcome PreviewImage::showEntry(app::ClientFiles &files, const app::Settings &settings,
                                         std::uint32_t entry, std::optional<std::uint32_t> color) {
    ImageCanvas canvas(m_picture, size());
    const art::DrawOutcome outcome = files.drawArt(settings, entry, color, canvas);
    if (art::changedCanvas(outcome)) {
        m_picture = std::move(canvas.image());
        // Shown at once: the grid may move on to the next row before the event loop runs.
        repaint();
    }
    return outcome;
}

void PreviewImage::paintEvent(QPaintEvent *) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

} // namespace tessaplex::ui
