// SPDX-License-Identifier: GPL-3.0-or-later
// tessaplex-screenshots: creates the program's real windows in the working directory, drives them
// as an operator would (About, "OK", information dialog with "Use", "Analyse", an item in its hue,
// Options, Filter) and writes a PNG picture of each into the folder given as the first argument.
// Writes a small sample shard into the working directory first when it holds no qelm.ini.
#include "recordingmessageboxes.h"
#include "sampleshard.h"
#include "scriptedfilechooser.h"
#include "ui/aboutdialog.h"
#include "ui/filterdialog.h"
#include "ui/itemgridview.h"
#include "ui/mainwindow.h"
#include "ui/optionsdialog.h"
#include "ui/programwindows.h"
#include "ui/uistyle.h"
#include "ui/worldfileinfodialog.h"
#include "windowcontrols.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <cstdio>

using namespace tessaplex;

namespace {

QString g_outFolder;
int g_failures = 0;

void save(QWidget &window, const char *name) {
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "%s did not appear\n", name);
        ++g_failures;
    }
    QApplication::processEvents();
    const QString path = g_outFolder + QLatin1Char('/') + QLatin1String(name) + ".png";
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
    }
    // What the default font would cut off, which is why a window may use a smaller one.
    const QFont chosen = window.font();
    window.setFont(QApplication::font());
    const QStringList tooWide = ui::clippedCaptions(window);
    window.setFont(chosen);
    if (!tooWide.isEmpty())
        std::printf("%-12s at the default font %.1fpt these would be cut off: %s\n", name,
                    QApplication::font().pointSizeF(),
                    qPrintable(tooWide.join(QStringLiteral(", "))));
    const QStringList clipped = ui::clippedCaptions(window);
    std::printf("%-12s %4dx%-4d font %.1fpt %s%s\n", name, window.width(), window.height(),
                window.font().pointSizeF(), clipped.isEmpty() ? "all captions fit" : "CLIPPED: ",
                qPrintable(clipped.join(QStringLiteral(", "))));
    if (!clipped.isEmpty())
        ++g_failures;
}

void click(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaplex"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: tessaplex-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    g_outFolder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QDir().mkpath(g_outFolder);
    if (!QFileInfo::exists(QStringLiteral("qelm.ini"))) {
        const int lines = uitest::writeSampleShard(QDir::currentPath().toStdString() + "/", 60);
        std::printf("wrote a sample shard of %d lines into %s\n", lines,
                    qPrintable(QDir::currentPath()));
    }

    uitest::RecordingMessageBoxes messages;
    uitest::ScriptedFileChooser files;
    ui::ProgramWindows windows(messages, files);
    ui::MainWindow &main = windows.mainWindow();
    const uitest::MainControls c(main);

    windows.show();
    if (!QTest::qWaitForWindowActive(&windows.about()))
        std::fprintf(stderr, "the About dialog did not become active\n");
    save(windows.about(), "about");
    click(uitest::AboutControls(windows.about()).ok);

    click(c.info);
    save(windows.info(), "info");
    click(uitest::InfoControls(windows.info()).use);
    click(uitest::InfoControls(windows.info()).ok);

    QElapsedTimer clock;
    clock.start();
    click(c.analyse);
    const double analyseMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const int rows = c.grid->model()->rowCount();
    // A click on a row, as the operator would: the preview, the swatch and the captions follow.
    const QModelIndex shown = c.grid->model()->index(std::min(2, rows - 1), 2);
    QTest::mouseClick(c.grid->viewport(), Qt::LeftButton, {}, c.grid->visualRect(shown).center());
    save(main, "main");

    // The first item with a colour, drawn in its hue, with its name and flags under the preview.
    const auto colourOf = [&](int row) { return c.grid->model()->index(row, 6).data().toString(); };
    int coloured = 0;
    while (coloured + 1 < rows && (colourOf(coloured).isEmpty() || colourOf(coloured) == "0"))
        ++coloured;
    click(c.hue);
    const QModelIndex hued = c.grid->model()->index(coloured, 2);
    c.grid->scrollTo(hued);
    QTest::mouseClick(c.grid->viewport(), Qt::LeftButton, {}, c.grid->visualRect(hued).center());
    save(main, "main-hue");
    std::printf("main-hue: row %d, COLOR %s, name \"%s\", flags \"%s\"\n", coloured + 1,
                qPrintable(colourOf(coloured)), qPrintable(c.itemName->text()),
                qPrintable(c.itemFlags->text()));
    click(c.hue);

    // Scrolling to the end and back must not depend on the number of rows.
    clock.restart();
    c.grid->scrollToBottom();
    c.grid->repaint();
    c.grid->scrollToTop();
    c.grid->repaint();
    const double scrollMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    std::printf("analyse: %d rows in %.1f ms; scroll to end and back with repaint: %.1f ms\n", rows,
                analyseMs, scrollMs);

    // After an analysis the dialog also counts the listed items that carry a map number.
    click(c.info);
    save(windows.info(), "info-analysed");
    click(uitest::InfoControls(windows.info()).ok);

    click(c.options);
    save(windows.options(), "options");
    click(uitest::OptionsControls(windows.options()).ok);

    click(c.filter);
    // A few entries typed in and added, and one of them selected, which previews its art.
    const uitest::FilterControls filter(windows.filter());
    for (const char *id : {"3821", "0x0e77", "0x1f14", "0x0a28"}) {
        filter.id->setText(QString::fromLatin1(id));
        click(filter.add);
    }
    filter.entries->setCurrentRow(1);
    save(windows.filter(), "filter");
    std::printf("filter: name \"%s\"\n", qPrintable(filter.name->text()));
    click(filter.cancel);

    // A search by position for an item further down (one on the map, not in a container).
    const auto cellOf = [&](int row, int column) {
        return c.grid->model()->index(row, column).data().toString();
    };
    int target = std::min(40, rows - 1);
    while (target + 1 < rows && cellOf(target, 3).isEmpty())
        ++target;
    QTest::mouseClick(c.searchX, Qt::LeftButton);
    c.searchX->setText(cellOf(target, 3));
    c.searchY->setText(cellOf(target, 4));
    click(c.find);
    save(main, "search");

    QMessageBox error(QMessageBox::Critical, QApplication::applicationName(),
                      QStringLiteral("Range check error."), QMessageBox::Ok);
    error.show();
    save(error, "errorbox");
    error.hide();
    QMessageBox message(QMessageBox::NoIcon, QString(), QStringLiteral("Process finished"),
                        QMessageBox::Ok);
    message.show();
    save(message, "messagebox");
    message.hide();

    for (const QString &text : messages.errors)
        std::printf("error box: %s\n", qPrintable(text));
    for (const QString &text : messages.messages)
        std::printf("message box: %s\n", qPrintable(text));
    return g_failures == 0 ? 0 : 1;
}
