// SPDX-License-Identifier: GPL-3.0-or-later
// The group "Search": finding rows by ID or position, Find Next, the found row's selection, and
// the mode switched by clicks into the fields.
#include "analysedwindow.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tessaplex;
using uitest::Blue;
using uitest::gridRow;
using uitest::openAnalysed;
using uitest::previewAt;
using uitest::WindowsFixture;

class SearchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    // Search: the mode, the fields, then the buttons pressed (F Find, N Find Next) and the grid's
    // row after each (0: none selected).
    void findAndFindNext_data() {
        QTest::addColumn<bool>("byId");
        QTest::addColumn<QString>("idText");
        QTest::addColumn<QString>("xText");
        QTest::addColumn<QString>("yText");
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QList<int>>("rowsAfter");
        QTest::newRow("hex ID, then the next ones, no wrap")
            << true << "0x0eed"
            << ""
            << ""
            << "FNNNF" << QList<int>{1, 2, 5, 5, 1};
        QTest::newRow("art entry number") << true << "20205"
                                          << ""
                                          << ""
                                          << "F" << QList<int>{1};
        QTest::newRow("decimal ID, upper-case hex prefix") << true << "0X4eed"
                                                           << ""
                                                           << ""
                                                           << "F" << QList<int>{1};
        QTest::newRow("lower-case x is an item ID") << true << "0x4eed"
                                                    << ""
                                                    << ""
                                                    << "F" << QList<int>{0};
        QTest::newRow("one character searches nothing") << true << "5"
                                                        << ""
                                                        << ""
                                                        << "F" << QList<int>{0};
        QTest::newRow("empty ID field") << true << ""
                                        << ""
                                        << ""
                                        << "FN" << QList<int>{0, 0};
        QTest::newRow("X only") << false << ""
                                << "8"
                                << ""
                                << "FNN" << QList<int>{3, 5, 5};
        QTest::newRow("Y only") << false << ""
                                << ""
                                << "1001"
                                << "F" << QList<int>{2};
        QTest::newRow("X and Y") << false << ""
                                 << "1500"
                                 << "1000"
                                 << "FN" << QList<int>{1, 4};
        QTest::newRow("both position fields empty") << false << "0x0eed"
                                                    << ""
                                                    << ""
                                                    << "F" << QList<int>{0};
        QTest::newRow("Find Next without a selection starts at the top") << true << "0x1f14"
                                                                         << ""
                                                                         << ""
                                                                         << "N" << QList<int>{4};
    }

    void findAndFindNext() {
        QFETCH(bool, byId);
        QFETCH(QString, idText);
        QFETCH(QString, xText);
        QFETCH(QString, yText);
        QFETCH(QString, presses);
        QFETCH(QList<int>, rowsAfter);
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        c.searchId->setText(idText);
        c.searchX->setText(xText);
        c.searchY->setText(yText);
        QTest::mouseClick(byId ? c.searchId : c.searchX, Qt::LeftButton);
        QCOMPARE(c.searchById->isChecked(), byId);
        QLineEdit *focused = byId ? c.searchId : c.searchX;
        QVERIFY(focused->hasFocus());

        for (int i = 0; i < presses.size(); ++i) {
            // click() leaves the keyboard focus alone, so any move of it is the search's doing.
            (presses[i] == QLatin1Char('F') ? c.find : c.findNext)->click();
            QCOMPARE(gridRow(f), rowsAfter[i]);
            if (rowsAfter[i] > 0) {
                QCOMPARE(f.mainWindow().session().currentRow(), rowsAfter[i]);
                QVERIFY(c.grid->selectionModel()->isRowSelected(
                    ui::ItemTableModel::modelRow(rowsAfter[i]), {}));
            }
            QVERIFY(focused->hasFocus());
        }
        QCOMPARE(f.messages.errors, QStringList());
    }

    void theFoundRowGetsPreviewAndCaptions() {
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        c.searchId->setText(QStringLiteral("0x0a28"));
        c.find->click();
        QCOMPARE(gridRow(f), 3);
        QCOMPARE(c.allOfId->text(), QStringLiteral("All of #00a28"));
        QCOMPARE(previewAt(c, 42, 0), Blue);
    }

    // Only a click into a field switches the mode; moving there with the keyboard does not.
    void clicksIntoTheFieldsSwitchTheSearchMode() {
        WindowsFixture f;
        QVERIFY(f.openMainWindow());
        const auto &c = f.mainControls();
        QVERIFY(c.searchById->isChecked());
        QTest::mouseClick(c.searchY, Qt::LeftButton);
        QVERIFY(c.searchByPosition->isChecked());
        c.searchId->setFocus(Qt::TabFocusReason);
        QVERIFY(c.searchByPosition->isChecked());
        QTest::mouseClick(c.searchId, Qt::LeftButton);
        QVERIFY(c.searchById->isChecked());
        c.searchX->setFocus(Qt::TabFocusReason);
        QVERIFY(c.searchById->isChecked());
    }
};

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
