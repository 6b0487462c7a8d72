// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowsfixture.h"

#include "app/session.h"
#include "app/settings.h"
#include "ui/aboutdialog.h"
#include "ui/mainwindow.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tessaplex::uitest {

WindowsFixture::WindowsFixture()
    : m_previousDirectory(QDir::currentPath()) {
    QDir::setCurrent(QString::fromStdString(m_dir.path()));
    m_windows = std::make_unique<ui::ProgramWindows>(messages, files);
}

WindowsFixture::~WindowsFixture() {
    m_windows.reset();
    QDir::setCurrent(m_previousDirectory);
}

ui::MainWindow &WindowsFixture::mainWindow() {
    return m_windows->mainWindow();
}

MainControls WindowsFixture::mainControls() {
    return MainControls(mainWindow());
}

bool WindowsFixture::openMainWindow() {
    m_windows->show();
    if (!QTest::qWaitForWindowActive(&m_windows->about()))
        return false;
    QTest::mouseClick(uitest::AboutControls(m_windows->about()).ok, Qt::LeftButton);
    return QTest::qWaitForWindowExposed(&mainWindow());
}

void WindowsFixture::setSetting(std::string_view key, const std::string &value) {
    app::Settings(m_dir.file("qelm.ini")).writeText(app::SettingsSection, key, value);
}

std::optional<std::string> WindowsFixture::setting(std::string_view key) const {
    const std::string missing = "\x01missing";
    std::string value =
        app::Settings(m_dir.file("qelm.ini")).readText(app::SettingsSection, key, missing);
    if (value == missing)
        return std::nullopt;
    return value;
}

void WindowsFixture::useWorldFile(std::string_view text) {
    test::writeFile(m_dir.file("world.scp"), text);
    setSetting(app::keys::WorldFileWritten, m_dir.file("world.scp"));
    setSetting(app::keys::ItemFiles, m_dir.path());
}

void WindowsFixture::analyse(const QString &startLine, const QString &lines) {
    mainWindow().setLineWindow(startLine, lines);
    QTest::mouseClick(mainControls().analyse, Qt::LeftButton);
}

} // namespace tessaplex::uitest
