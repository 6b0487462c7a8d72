// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aboutdialog.h"
#include "ui/filedialogchooser.h"
#include "ui/mainwindow.h"
#include "ui/programwindows.h"
#include "ui/standardmessageboxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace {

// For measuring start-up: with TESSAPLEX_STARTUP_PROBE set, the program prints how long it took
// from main() to the About dialog's first paint and ends there.
class StartupProbe : public QObject {
public:
    explicit StartupProbe(const QElapsedTimer &clock)
        : m_clock(clock) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::fprintf(stderr, "startup: About dialog painted %.1f ms after main()\n",
                         static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaplex"));
    // The menu entry and the icon an installation brings carry the program's name: a Wayland
    // desktop matches the windows to the entry by it, and the icon becomes theirs.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaplex"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tessaplex")));
    // The program ends when the main window is closed, never because the About dialog hides.
    QApplication::setQuitOnLastWindowClosed(false);

    tessaplex::ui::StandardMessageBoxes messages;
    try {
        tessaplex::ui::FileDialogChooser files;
        tessaplex::ui::ProgramWindows windows(messages, files);
        // exit() rather than quit(): quit() first asks every visible window to close, and the
        // About dialog refuses, being left only through its "OK".
        QObject::connect(&windows.mainWindow(), &tessaplex::ui::MainWindow::closed, &application,
                         [] { QCoreApplication::exit(0); });
        StartupProbe probe(clock);
        if (qEnvironmentVariableIsSet("TESSAPLEX_STARTUP_PROBE"))
            windows.about().installEventFilter(&probe);
        windows.show();
        return QApplication::exec();
    } catch (const std::exception &failure) {
        messages.showError(failure);
    } catch (...) {
        messages.error(QStringLiteral("Unknown error"));
    }
    return 1;
}
