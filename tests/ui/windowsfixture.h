// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordingmessageboxes.h"
#include "scriptedfilechooser.h"
#include "support/testsupport.h"
#include "ui/programwindows.h"
#include "windowcontrols.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessaplex::ui {
class MainWindow;
}

namespace tessaplex::uitest {

// The program's five windows, created as the program creates them, in a fresh temporary
// start directory that is the working directory while they exist. Message boxes and the file
// dialog are recorded and scripted.
class WindowsFixture {
public:
    WindowsFixture();
    ~WindowsFixture();
    WindowsFixture(const WindowsFixture &) = delete;
    WindowsFixture &operator=(const WindowsFixture &) = delete;

    // The start directory, with a trailing separator.
    [[nodiscard]] const std::string &folder() const { return m_dir.path(); }
    [[nodiscard]] std::string file(std::string_view name) const { return m_dir.file(name); }

    ui::ProgramWindows &windows() { return *m_windows; }
    ui::MainWindow &mainWindow();
    [[nodiscard]] MainControls mainControls();

    // Shows the About dialog, waits until it is active and clicks "OK": the main window is shown.
    // Returns false when a window did not appear.
    [[nodiscard]] bool openMainWindow();

    // Writes a setting into the start directory's qelm.ini.
    void setSetting(std::string_view key, const std::string &value);
    // The text of a key in qelm.ini as it is stored, or nothing without the key.
    [[nodiscard]] std::optional<std::string> setting(std::string_view key) const;

    // Writes world.scp into the start directory and points "WorldFile" at it; "ItemFiles" names
    // the start directory, which holds no item scripts.
    void useWorldFile(std::string_view text);

    // Clicks "Analyse" with the given line window.
    void analyse(const QString &startLine, const QString &lines);

    RecordingMessageBoxes messages;
    ScriptedFileChooser files;

private:
    test::TempDir m_dir;
    QString m_previousDirectory;
    std::unique_ptr<ui::ProgramWindows> m_windows;
};

} // namespace tessaplex::uitest
