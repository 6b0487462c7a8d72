// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: which windows exist and show, the way from the About dialog to the main window and
// back, the enabled states before any analysis, and that every caption shows whole.
#include "sampleshard.h"
#include "ui/aboutdialog.h"
#include "ui/filterdialog.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/optionsdialog.h"
#include "ui/uistyle.h"
#include "ui/worldfileinfodialog.h"
#include "windowsfixture.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace tessaplex;
using uitest::AboutControls;
using uitest::MainControls;
using uitest::WindowsFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void onlyTheAboutDialogShowsAtStart() {
        WindowsFixture f;
        ui::ProgramWindows &w = f.windows();
        QVERIFY(!w.about().isVisible());
        QVERIFY(!w.mainWindow().isVisible());
        w.show();
        QVERIFY(w.about().isVisible());
        const QWidget *hidden[] = {&w.mainWindow(), &w.options(), &w.filter(), &w.info()};
        for (const QWidget *window : hidden)
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
    }

    void theStartDirectoryIsTheWorkingDirectoryAtCreation() {
        WindowsFixture f;
        app::Session &session = f.mainWindow().session();
        QCOMPARE(QString::fromStdString(session.startDirectory()),
                 QString::fromStdString(f.folder()));
        QCOMPARE(QString::fromStdString(session.settings().path()),
                 QString::fromStdString(f.file("qelm.ini")));
        // Creating the windows touches no file.
        QVERIFY(!test::exists(f.file("qelm.ini")));
    }

    void aboutButtonsWorkOnlyWhileTheDialogIsActive() {
        WindowsFixture f;
        ui::AboutDialog &about = f.windows().about();
        const AboutControls buttons(about);
        QVERIFY(!buttons.web->isEnabled());
        QVERIFY(!buttons.ok->isEnabled());
        f.windows().show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QVERIFY(buttons.web->isEnabled());
        QVERIFY(buttons.ok->isEnabled());

        // The web button comes first in the keyboard focus order, "OK" second.
        QWidget *next = buttons.web->nextInFocusChain();
        while (next != buttons.ok && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        QCOMPARE(next, buttons.ok);

        QTest::mouseClick(buttons.ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QVERIFY(!buttons.web->isEnabled());
        QVERIFY(!buttons.ok->isEnabled());
    }

    void okLeadsToTheMainWindowAndAboutBackWithTheTableKept() {
        WindowsFixture f;
        uitest::writeSampleShard(f.folder(), 12);
        QVERIFY(f.openMainWindow());
        ui::MainWindow &main = f.mainWindow();
        ui::AboutDialog &about = f.windows().about();
        const AboutControls buttons(about);
        QVERIFY(main.isVisible());
        QVERIFY(!about.isVisible());

        f.analyse(QStringLiteral("3"), QStringLiteral("50"));
        const int rows = main.model().rowCount();
        QVERIFY(rows > 0);
        const QString cell = main.model().index(rows - 1, 2).data().toString();

        const MainControls c(main);
        QTest::mouseClick(c.about, Qt::LeftButton);
        QVERIFY(!main.isVisible());
        QVERIFY(about.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::mouseClick(buttons.ok, Qt::LeftButton);
        QVERIFY(main.isVisible());
        QVERIFY(!about.isVisible());
        QCOMPARE(main.model().rowCount(), rows);
        QCOMPARE(main.model().index(rows - 1, 2).data().toString(), cell);
        QVERIFY(c.patch->isEnabled());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void theWebButtonOpensTheProjectPageAndIsEnabledAgain() {
        WindowsFixture f;
        ui::AboutDialog &about = f.windows().about();
        const AboutControls buttons(about);
        QList<QUrl> opened;
        bool enabledDuringCall = true;
        about.setUrlOpener([&](const QUrl &url) {
            opened.append(url);
            enabledDuringCall = buttons.web->isEnabled();
        });
        f.windows().show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::mouseClick(buttons.web, Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{ui::AboutDialog::webAddress()});
        QVERIFY(!enabledDuringCall);
        QVERIFY(buttons.web->isEnabled());
        QVERIFY(about.isVisible());
        QVERIFY(!f.mainWindow().isVisible());
    }

    void theAboutDialogCannotBeClosedAway() {
        WindowsFixture f;
        ui::AboutDialog &about = f.windows().about();
        f.windows().show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(about.isVisible());
        about.close();
        QVERIFY(about.isVisible());
    }

    void enabledStatesBeforeAnyAnalysis_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("enabled");
        const char *disabled[] = {"allOfBlock", "noneOfBlock", "allOfId", "noneOfId",
                                  "all",        "none",        "patch"};
        const char *enabled[] = {"addToFilter", "filter",  "find",  "findNext", "options",
                                 "info",        "analyse", "about", "grid"};
        for (const char *name : disabled)
            QTest::newRow(name) << QString::fromLatin1(name) << false;
        for (const char *name : enabled)
            QTest::newRow(name) << QString::fromLatin1(name) << true;
    }

    void enabledStatesBeforeAnyAnalysis() {
        QFETCH(QString, control);
        QFETCH(bool, enabled);
        WindowsFixture f;
        const MainControls c = f.mainControls();
        const std::pair<const char *, QWidget *> controls[] = {{"allOfBlock", c.allOfBlock},
                                                               {"noneOfBlock", c.noneOfBlock},
                                                               {"allOfId", c.allOfId},
                                                               {"noneOfId", c.noneOfId},
                                                               {"all", c.all},
                                                               {"none", c.none},
                                                               {"patch", c.patch},
                                                               {"addToFilter", c.addToFilter},
                                                               {"filter", c.filter},
                                                               {"find", c.find},
                                                               {"findNext", c.findNext},
                                                               {"options", c.options},
                                                               {"info", c.info},
                                                               {"analyse", c.analyse},
                                                               {"about", c.about},
                                                               {"grid", c.grid}};
        for (const auto &[name, widget] : controls) {
            if (control == QLatin1String(name)) {
                QCOMPARE(widget->isEnabled(), enabled);
                return;
            }
        }
        QFAIL("unknown control");
    }

    void theDialogButtonsShowTheirDialogsModally_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Info") << QStringLiteral("Info");
        QTest::newRow("Options") << QStringLiteral("Options");
        QTest::newRow("Filter") << QStringLiteral("Filter");
    }

    void theDialogButtonsShowTheirDialogsModally() {
        QFETCH(QString, button);
        WindowsFixture f;
        QVERIFY(f.openMainWindow());
        const MainControls c = f.mainControls();
        QPushButton *clicked = button == QLatin1String("Info")      ? c.info
                               : button == QLatin1String("Options") ? c.options
                                                                    : c.filter;
        QWidget *dialog =
            button == QLatin1String("Info")      ? static_cast<QWidget *>(&f.windows().info())
            : button == QLatin1String("Options") ? static_cast<QWidget *>(&f.windows().options())
                                                 : static_cast<QWidget *>(&f.windows().filter());
        QTest::mouseClick(clicked, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QVERIFY(f.mainWindow().isVisible());
        dialog->hide();
    }

    void closingTheMainWindowEndsTheProgram() {
        WindowsFixture f;
        QVERIFY(f.openMainWindow());
        QSignalSpy closed(&f.mainWindow(), &ui::MainWindow::closed);
        QVERIFY(f.mainWindow().close());
        QCOMPARE(closed.count(), 1);
    }

    // With the fonts of a plain Debian desktop every caption shows whole at the fixed sizes.
    void noCaptionIsCutOff() {
        WindowsFixture f;
        ui::ProgramWindows &w = f.windows();
        QWidget *windows[] = {&w.about(), &w.mainWindow(), &w.options(), &w.filter(), &w.info()};
        for (QWidget *window : windows) {
            const QStringList clipped = ui::clippedCaptions(*window);
            QVERIFY2(clipped.isEmpty(), qPrintable(window->windowTitle() + QStringLiteral(": ") +
                                                   clipped.join(QStringLiteral(", "))));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
