// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QPushButton;

namespace tessaplex::ui {

// The first window of a run: the banner, a one-line notice, the web button and "OK", which
// leads to the main window. Both buttons accept clicks only while the dialog is the active
// window, so that a click meant for another window does not pass the dialog by.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The project page the web button opens.
    [[nodiscard]] static QUrl webAddress();

    // Replaces the way the web address is opened (the system's browser by default).
    void setUrlOpener(std::function<void(const QUrl &)> opener) { m_openUrl = std::move(opener); }

signals:
    // "OK": the dialog has hidden itself; the main window is to be shown.
    void continued();

public slots:
    // The dialog has no close box and leaves only through "OK".
    void reject() override {}

protected:
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void onWeb();
    void onOk();

    // Their object names are "web" and "ok".
    QPushButton *m_web = nullptr;
    QPushButton *m_ok = nullptr;
    std::function<void(const QUrl &)> m_openUrl;
};

} // namespace tessaplex::ui
