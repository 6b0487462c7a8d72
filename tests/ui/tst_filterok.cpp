// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter dialog closed: "&Cancel", Escape and the window manager's close save the list and
// mark nothing; "&OK" marks what the fields admit, through the grid, and saves the list.
#include "filterwindow.h"
#include "ui/filterdialog.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/progressgaugewidget.h"
#include "world/itemtable.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

using namespace tessaplex;
using uitest::analyseFilterWorld;
using uitest::cannot;
using uitest::entries;
using uitest::FilterControls;
using uitest::listFile;
using uitest::markedRows;
using uitest::showFilter;
using uitest::WindowsFixture;
using uitest::writeArt;

class FilterOkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    // "&Cancel", the Escape key and the window manager's close all save the list and mark nothing.
    void closingWithoutOkSavesTheListAndMarksNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel button") << 0;
        QTest::newRow("Escape key") << 1;
        QTest::newRow("close request") << 2;
    }

    void closingWithoutOkSavesTheListAndMarksNothing() {
        QFETCH(int, how);
        WindowsFixture f;
        writeArt(f);
        analyseFilterWorld(f);
        QCOMPARE(f.mainWindow().session().table().rowCount(), 8);
        test::writeFile(listFile(f), "0eed\r\n0a28\r\n");
        ui::FilterDialog &dialog = showFilter(f);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const FilterControls c(dialog);
        c.entries->setCurrentRow(1);
        QTest::mouseClick(c.remove, Qt::LeftButton);
        c.id->setText(QStringLiteral("7"));
        QTest::mouseClick(c.add, Qt::LeftButton);
        if (how == 0)
            QTest::mouseClick(c.cancel, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(test::readFile(listFile(f)), std::string("0eed\r\n0007\r\n"));
        QCOMPARE(markedRows(f.mainWindow().session().table()), QList<int>{});
        QVERIFY(f.messages.errors.isEmpty());
    }

    void okMarksWhatTheFieldsAdmit_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("use");
        QTest::addColumn<QStringList>("area");
        QTest::addColumn<QList<int>>("marked");
        const QStringList anywhere = {"0", "0", "0", "0"};
        QTest::newRow("only the accepted attributes") << "0eed\r\n"
                                                      << false << anywhere << QList<int>{1, 2, 7};
        QTest::newRow("two entries") << "0eed\r\n0a28\r\n"
                                     << false << anywhere << QList<int>{1, 2, 5, 7};
        QTest::newRow("area not in use")
            << "0eed\r\n"
            << false << QStringList{"5000", "5000", "0", "0"} << QList<int>{1, 2, 7};
        QTest::newRow("one point")
            << "0eed\r\n"
            << true << QStringList{"1000", "500", "1000", "500"} << QList<int>{1};
        QTest::newRow("hex bounds")
            << "0eed\r\n0a28\r\n"
            << true << QStringList{"0x3e8", "$1f4", "1001", "500"} << QList<int>{1, 2, 5};
        QTest::newRow("empty list") << "" << false << anywhere << QList<int>{};
    }

    void okMarksWhatTheFieldsAdmit() {
        QFETCH(QString, file);
        QFETCH(bool, use);
        QFETCH(QStringList, area);
        QFETCH(QList<int>, marked);
        WindowsFixture f;
        writeArt(f);
        analyseFilterWorld(f);
        world::ItemTable &table = f.mainWindow().session().table();
        QCOMPARE(table.rowCount(), 8);
        QCOMPARE(QString::fromStdString(table.cellText(world::Column::Id, 1)),
                 QStringLiteral("00eed"));
        // Stored values that would admit everything: the fields count, not the settings.
        for (const char *key : {"X1", "Y1"})
            f.setSetting(key, "0");
        for (const char *key : {"X2", "Y2"})
            f.setSetting(key, "-1");
        f.setSetting("FilterArea", use ? "0" : "1");
        test::writeFile(listFile(f), file.toStdString());

        ui::FilterDialog &dialog = showFilter(f);
        const FilterControls c(dialog);
        c.x1->setText(area[0]);
        c.y1->setText(area[1]);
        c.x2->setText(area[2]);
        c.y2->setText(area[3]);
        c.use->setChecked(use);
        // A mark set by hand before is never taken away.
        table.setMark(6, world::Mark::Yes);
        QTest::mouseClick(c.ok, Qt::LeftButton);

        QVERIFY(!dialog.isVisible());
        QVERIFY(f.messages.errors.isEmpty());
        QList<int> expected = marked;
        expected.append(6);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(markedRows(table), expected);
        const QString patchCell =
            f.mainWindow()
                .model()
                .index(ui::ItemTableModel::modelRow(1), static_cast<int>(world::Column::Patch))
                .data()
                .toString();
        QCOMPARE(patchCell, marked.contains(1) ? QStringLiteral("YES") : QStringLiteral("NO"));
        // The list is saved in its own form.
        QCOMPARE(QString::fromStdString(test::readFile(listFile(f))), file);
        const int steps = static_cast<int>(dialog.entries().size()) * 7;
        const ProgressGauge &gauge = *f.mainControls().gauge;
        if (steps > 0) {
            QCOMPARE(gauge.maximum(), steps);
            QCOMPARE(gauge.progress(), steps);
        }
    }

    void okBeforeAnyAnalysisMarksNothingAndSavesTheList() {
        WindowsFixture f;
        writeArt(f);
        ui::FilterDialog &dialog = showFilter(f);
        FilterControls(dialog).id->setText(QStringLiteral("3821"));
        QTest::mouseClick(FilterControls(dialog).add, Qt::LeftButton);
        QTest::mouseClick(FilterControls(dialog).ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(test::readFile(listFile(f)), std::string("0eed\r\n"));
        QVERIFY(f.messages.errors.isEmpty());
    }

    // A list file that cannot be written: "&Cancel" keeps the dialog open with the list, "&OK"
    // keeps the marks it set.
    void anUnwritableListFile_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void anUnwritableListFile() {
        QFETCH(bool, ok);
        WindowsFixture f;
        writeArt(f);
        analyseFilterWorld(f);
        ui::FilterDialog &dialog = showFilter(f);
        const FilterControls c(dialog);
        c.id->setText(QStringLiteral("0x0eed"));
        QTest::mouseClick(c.add, Qt::LeftButton);
        // Something that is no file stands where the list is to be written.
        std::filesystem::create_directories(listFile(f) + "/inside");

        QTest::mouseClick(ok ? c.ok : c.cancel, Qt::LeftButton);
        QCOMPARE(f.messages.errors, QStringList{cannot("create", listFile(f))});
        QVERIFY(std::filesystem::is_directory(listFile(f)));
        if (ok) {
            QVERIFY(!dialog.isVisible());
            QCOMPARE(markedRows(f.mainWindow().session().table()), (QList<int>{1, 2, 7}));
            return;
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(entries(dialog), QStringList{"0eed"});
        QCOMPARE(markedRows(f.mainWindow().session().table()), QList<int>{});

        std::filesystem::remove_all(listFile(f));
        QTest::mouseClick(c.cancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(test::readFile(listFile(f)), std::string("0eed\r\n"));
        QCOMPARE(f.messages.errors.size(), 1);
    }
};

QTEST_MAIN(FilterOkTest)
#include "tst_filterok.moc"
