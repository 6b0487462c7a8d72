// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aboutdialog.h"

#include "ui/aboutbanner.h"
#include "ui/uistyle.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

namespace tessaplex::ui {

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("About..."));
    setFixedSize(500, 116);
    setModal(false);

    auto *banner = place(new QLabel(this), 0, 0, 500, 80);
    banner->setPixmap(QPixmap::fromImage(aboutBanner()));

    auto *notice = place(new QLabel(QStringLiteral("Tessaplex 2026"), this), 408, 64, 85, 13);
    QFont small = notice->font();
    small.setPixelSize(10);
    notice->setFont(small);
    notice->setAttribute(Qt::WA_TranslucentBackground);
    notice->setAutoFillBackground(false);
    notice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette light = notice->palette();
    light.setColor(QPalette::WindowText, QColor(240, 240, 240));
    notice->setPalette(light);

    m_web =
        named(place(new QPushButton(QStringLiteral("tessaplex.example.org"), this), 0, 80, 500, 18),
              "web");
    m_ok = named(place(new QPushButton(QStringLiteral("OK"), this), 0, 98, 500, 18), "ok");
    for (QPushButton *b : {m_web, m_ok}) {
        b->setAutoDefault(false);
        b->setEnabled(false);
    }
    setTabOrder(m_web, m_ok);
    connect(m_web, &QPushButton::clicked, this, &AboutDialog::onWeb);
    connect(m_ok, &QPushButton::clicked, this, &AboutDialog::onOk);

    fitFontToCaptions(*this);
    centreOnScreen(*this);
}

QUrl AboutDialog::webAddress() {
    return QUrl(QStringLiteral("https://tessaplex.example.org/"));
}

bool AboutDialog::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        m_web->setEnabled(true);
        m_ok->setEnabled(true);
    }
    return QDialog::event(event);
}

void AboutDialog::hideEvent(QHideEvent *event) {
    m_web->setEnabled(false);
    m_ok->setEnabled(false);
    QDialog::hideEvent(event);
}

void AboutDialog::onWeb() {
    m_web->setEnabled(false);
    // Whether a browser could be started is not the dialog's concern.
    if (m_openUrl)
        m_openUrl(webAddress());
    m_web->setEnabled(true);
}

void AboutDialog::onOk() {
    hide();
    emit continued();
}

} // namespace tessaplex::ui
