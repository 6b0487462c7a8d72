// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/programwindows.h"

#include "ui/aboutdialog.h"
#include "ui/filterdialog.h"
#include "ui/mainwindow.h"
#include "ui/optionsdialog.h"
#include "ui/worldfileinfodialog.h"

namespace tessaplex::ui {

ProgramWindows::ProgramWindows(MessageBoxes &messages, FileChooser &files)
    : m_about(std::make_unique<AboutDialog>())
    , m_main(std::make_unique<MainWindow>(messages))
    , m_options(std::make_unique<OptionsDialog>(m_main->session().settings(), messages, files))
    , m_filter(std::make_unique<FilterDialog>(m_main->session(), m_main->model(), m_main->gauge(),
                                              messages))
    , m_info(std::make_unique<WorldFileInfoDialog>(
          m_main->session(), messages, [this](const QString &startLine, const QString &lines) {
              m_main->setLineWindow(startLine, lines);
          })) {
    m_main->setDialogs({m_about.get(), m_options.get(), m_filter.get(), m_info.get()});
    QObject::connect(m_about.get(), &AboutDialog::continued, m_main.get(), [this] {
        m_main->show();
        m_main->raise();
        m_main->activateWindow();
    });
}

// The dialogs hold the main window's session, model and gauge, so they go first.
ProgramWindows::~ProgramWindows() {
    m_info.reset();
    m_filter.reset();
    m_options.reset();
    m_main.reset();
    m_about.reset();
}

void ProgramWindows::show() {
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace tessaplex::ui
