// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace tessaplex::ui {

class AboutDialog;
class FileChooser;
class FilterDialog;
class MainWindow;
class MessageBoxes;
class OptionsDialog;
class WorldFileInfoDialog;

// The five windows of a run, created once and in this order: the About dialog (the first one
// shown), the main window, the Options dialog, the Filter dialog and the World file information
// dialog. All start hidden; show() shows the About dialog, whose "OK" leads to the main window.
class ProgramWindows {
public:
    // The main window takes the working directory as the start directory now.
    ProgramWindows(MessageBoxes &messages, FileChooser &files);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    // Shows the About dialog, the principal window.
    void show();

    [[nodiscard]] AboutDialog &about() { return *m_about; }
    [[nodiscard]] MainWindow &mainWindow() { return *m_main; }
    [[nodiscard]] OptionsDialog &options() { return *m_options; }
    [[nodiscard]] FilterDialog &filter() { return *m_filter; }
    [[nodiscard]] WorldFileInfoDialog &info() { return *m_info; }

private:
    std::unique_ptr<AboutDialog> m_about;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<OptionsDialog> m_options;
    std::unique_ptr<FilterDialog> m_filter;
    std::unique_ptr<WorldFileInfoDialog> m_info;
};

} // namespace tessaplex::ui
