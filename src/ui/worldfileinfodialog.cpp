// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/worldfileinfodialog.h"

#include "app/session.h"
#include "ui/messageboxes.h"
#include "ui/uistyle.h"

#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <utility>

namespace tessaplex::ui {

namespace {

constexpr int CaptionLeft = 16;
constexpr int ValueLeft = 112;

QLabel *row(QWidget *panel, const char *name, const char *caption, int top) {
    place(new QLabel(QString::fromLatin1(caption), panel), CaptionLeft, top,
          ValueLeft - CaptionLeft - 2, 14);
    return named(place(new QLabel(panel), ValueLeft, top, 156, 14), name);
}

} // namespace

WorldFileInfoDialog::WorldFileInfoDialog(app::Session &session, MessageBoxes &messages,
                                         LineWindowReceiver useLineWindow, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , m_messages(messages)
    , m_useLineWindow(std::move(useLineWindow)) {
    setWindowTitle(QStringLiteral("WorldFile Informations"));
    setFixedSize(338, 222);
    setWindowModality(Qt::ApplicationModal);

    auto *panel = place(new QFrame(this), 0, 0, 337, 193);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    m_controls.lines = row(panel, "lines", "Lines ", 16);
    m_controls.selectedItems = row(panel, "selectedItems", "Selected Items", 40);
    m_controls.listedItems = row(panel, "listedItems", "Listed Items", 64);
    m_controls.linesToRemove = row(panel, "linesToRemove", "Lines to Remove", 88);
    m_controls.mapNumbers =
        named(place(new QLabel(panel), CaptionLeft, 120, 305, 30), "mapNumbers");
    m_controls.mapNumbers->setWordWrap(true);
    m_controls.use =
        named(place(new QPushButton(QStringLiteral("Use"), panel), 272, 16, 49, 14), "use");
    m_controls.use->setAutoDefault(false);
    m_controls.ok =
        named(place(new QPushButton(QStringLiteral("&OK"), this), 128, 200, 81, 21), "ok");
    m_controls.ok->setDefault(true);

    connect(m_controls.use, &QPushButton::clicked, this, &WorldFileInfoDialog::onUse);
    connect(m_controls.ok, &QPushButton::clicked, this, &QDialog::accept);

    fitFontToCaptions(*this);
    centreOnScreen(*this);
}

void WorldFileInfoDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    fill();
}

void WorldFileInfoDialog::fill() {
    const Controls &c = m_controls;
    // The count belongs to the table, not to the file on disk, so it shows whatever the file.
    const std::size_t mapNumbers = m_session.itemsWithMapNumber();
    c.mapNumbers->setText(
        mapNumbers == 0
            ? QString()
            : QStringLiteral("%1 items carry a map number: choose the map in Options to patch them")
                  .arg(QLocale(QLocale::English).toString(static_cast<qulonglong>(mapNumbers))));
    const bool filled = m_messages.runCommand([&] {
        const std::optional<world::WorldFileInfo> info = m_session.worldFileInfo();
        if (!info) {
            c.use->setEnabled(false);
            for (QLabel *value : {c.lines, c.selectedItems, c.listedItems, c.linesToRemove})
                value->setText(QStringLiteral("<FILE NOT FOUND>"));
            return;
        }
        c.use->setEnabled(true);
        c.lines->setText(QString::number(static_cast<qulonglong>(info->lines)));
        c.listedItems->setText(QString::number(info->listed));
        c.selectedItems->setText(QString::number(info->selected));
        c.linesToRemove->setText(QString::number(info->linesToRemove));
    });
    if (!filled) {
        // A world file that exists but cannot be read: its values are unknown.
        c.use->setEnabled(false);
        for (QLabel *value : {c.lines, c.selectedItems, c.listedItems, c.linesToRemove})
            value->clear();
    }
}

void WorldFileInfoDialog::onUse() {
    if (m_useLineWindow)
        m_useLineWindow(QStringLiteral("0"), m_controls.lines->text());
}

} // namespace tessaplex::ui
