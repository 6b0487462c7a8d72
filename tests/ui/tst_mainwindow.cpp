// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: Analyse into the grid, the mark buttons, PATCH, and the enabled
// states and messages around them; the grid model and the progress gauge.
#include "sampleshard.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/progressgaugewidget.h"
#include "windowsfixture.h"
#include "world/itemtable.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace tessaplex;
using uitest::fourItems;
using uitest::MainControls;
using uitest::WindowsFixture;
using uitest::worldItem;

namespace {

QStringList column(const ui::ItemTableModel &model, int columnIndex) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells.append(model.index(row, columnIndex).data().toString());
    return cells;
}

const int PatchColumn = static_cast<int>(world::Column::Patch);

QList<QPushButton *> sevenButtons(const MainControls &c) {
    return {c.allOfBlock, c.noneOfBlock, c.allOfId, c.noneOfId, c.all, c.none, c.patch};
}

bool allEnabled(const QList<QPushButton *> &buttons, bool enabled) {
    for (QPushButton *b : buttons) {
        if (b->isEnabled() != enabled)
            return false;
    }
    return true;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void analyseFillsTheGrid_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QStringList>("startLines");
        QTest::newRow("whole file") << "0"
                                    << "23" << QStringList{"3", "7", "12", "20"};
        // The last line of the window is the empty line of the last section: listed.
        QTest::newRow("ends on an empty line") << "0"
                                               << "16" << QStringList{"3", "7", "12"};
        QTest::newRow("one line short") << "0"
                                        << "15" << QStringList{"3", "7"};
        QTest::newRow("starts inside a section") << "4"
                                                 << "19" << QStringList{"7", "12", "20"};
        QTest::newRow("no lines") << "0"
                                  << "0" << QStringList{};
    }

    void analyseFillsTheGrid() {
        QFETCH(QString, start);
        QFETCH(QString, lines);
        QFETCH(QStringList, startLines);
        WindowsFixture f;
        f.useWorldFile(fourItems());
        ui::ItemTableModel &model = f.mainWindow().model();
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

        f.analyse(start, lines);
        QVERIFY2(f.messages.errors.isEmpty(), qPrintable(f.messages.errors.join(QLatin1Char('|'))));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(column(model, 0), startLines);
        const char *headings[] = {"Startzeile", "EndZeile", "ID",   "X",     "Y",
                                  "Z",          "COLOR",    "ATTR", "BLOCK", "PATCH"};
        for (int c = 0; c < 10; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                     QLatin1String(headings[c]));
        const MainControls c = f.mainControls();
        QVERIFY(allEnabled(sevenButtons(c), true));
        QVERIFY(c.grid->isEnabled());
        QVERIFY(c.analyse->isEnabled());
    }

    void nothingToListChangesNothing_data() {
        QTest::addColumn<bool>("analysedBefore");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("worldFileThere");
        QTest::newRow("first analysis, window beyond the file") << false << "24" << true;
        QTest::newRow("first analysis, no world file") << false << "5" << false;
        QTest::newRow("after an analysis, window beyond the file") << true << "24" << true;
        QTest::newRow("negative line count") << true << "-1" << true;
    }

    void nothingToListChangesNothing() {
        QFETCH(bool, analysedBefore);
        QFETCH(QString, lines);
        QFETCH(bool, worldFileThere);
        WindowsFixture f;
        f.useWorldFile(fourItems());
        if (analysedBefore)
            f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        if (!worldFileThere)
            QVERIFY(QFile::remove(QString::fromStdString(f.file("world.scp"))));
        const ui::ItemTableModel &model = f.mainWindow().model();
        const QStringList before = column(model, 0);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

        f.analyse(QStringLiteral("0"), lines);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(column(model, 0), before);
        QVERIFY(f.messages.errors.isEmpty());
        QVERIFY(f.messages.messages.isEmpty());
        const MainControls c = f.mainControls();
        QVERIFY(allEnabled(sevenButtons(c), analysedBefore));
        QVERIFY(c.analyse->isEnabled());
        QVERIFY(c.grid->isEnabled());
    }

    void analyseWithoutItemFilesShowsRangeCheckError() {
        WindowsFixture f;
        f.useWorldFile(fourItems());
        f.setSetting("ItemFiles", "");
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        QCOMPARE(f.messages.errors, QStringList{QStringLiteral("Range check error.")});
        const MainControls c = f.mainControls();
        QVERIFY(allEnabled(sevenButtons(c), false));
        QVERIFY(c.analyse->isEnabled());
        QVERIFY(c.grid->isEnabled());
    }

    // The bulk mark buttons; rows 1 and 2 hold ID 00eed, row 3 ID 00a28, row 4 ID 01f14.
    void markButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QStringList>("marksBefore");
        QTest::addColumn<QStringList>("marksAfter");
        const QStringList no = {"NO", "NO", "NO", "NO"};
        const QStringList yes = {"YES", "YES", "YES", "YES"};
        QTest::newRow("All") << "All" << 0 << no << yes;
        QTest::newRow("None") << "None" << 0 << yes << no;
        QTest::newRow("All of ID") << "AllOfId" << 2 << no << QStringList{"YES", "YES", "NO", "NO"};
        QTest::newRow("None of ID")
            << "NoneOfId" << 2 << yes << QStringList{"NO", "NO", "YES", "YES"};
        // Rows 1, 2 and 4 lie in block 95869 (Y 1000 and 1001 both give 125), row 3 in 513.
        QTest::newRow("All of block")
            << "AllOfBlock" << 1 << no << QStringList{"YES", "YES", "NO", "YES"};
        QTest::newRow("None of block")
            << "NoneOfBlock" << 1 << yes << QStringList{"NO", "NO", "YES", "NO"};
        QTest::newRow("All of ID without a current row") << "AllOfId" << 0 << no << no;
        QTest::newRow("All of block on a row beyond the table") << "AllOfBlock" << 9 << no << no;
    }

    void markButtons() {
        QFETCH(QString, button);
        QFETCH(int, currentRow);
        QFETCH(QStringList, marksBefore);
        QFETCH(QStringList, marksAfter);
        WindowsFixture f;
        f.useWorldFile(fourItems());
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        ui::MainWindow &main = f.mainWindow();
        world::ItemTable &table = main.session().table();
        for (int row = 1; row < table.rowCount(); ++row)
            table.setMark(row, marksBefore[row - 1] == QLatin1String("YES") ? world::Mark::Yes
                                                                            : world::Mark::No);
        main.session().setCurrentRow(currentRow);
        QSignalSpy changed(&main.model(), &QAbstractItemModel::dataChanged);

        const MainControls c(main);
        QPushButton *clicked = button == QLatin1String("All")          ? c.all
                               : button == QLatin1String("None")       ? c.none
                               : button == QLatin1String("AllOfId")    ? c.allOfId
                               : button == QLatin1String("NoneOfId")   ? c.noneOfId
                               : button == QLatin1String("AllOfBlock") ? c.allOfBlock
                                                                       : c.noneOfBlock;
        QTest::mouseClick(clicked, Qt::LeftButton);
        QCOMPARE(column(main.model(), PatchColumn), marksAfter);
        if (marksAfter != marksBefore) {
            // The grid learns of every changed mark.
            QVERIFY(!changed.isEmpty());
            const auto topLeft = changed.last().at(0).value<QModelIndex>();
            const auto bottomRight = changed.last().at(1).value<QModelIndex>();
            QVERIFY(topLeft.column() <= PatchColumn && bottomRight.column() >= PatchColumn);
            for (int row = 0; row < marksAfter.size(); ++row) {
                if (marksAfter[row] != marksBefore[row])
                    QVERIFY(topLeft.row() <= row && row <= bottomRight.row());
            }
        }
        QVERIFY(f.messages.errors.isEmpty());
    }

    void patchMergesTheMarkedItemAndDisablesTheButtons() {
        WindowsFixture f;
        // One item at X 1500, Y 1000 (block 95869, offsets 4 and 0) between two others.
        const std::string world = "[SPHERE]\r\nVERSION=0.55\r\n\r\n" +
                                  worldItem("0eed", {"ATTR=010", "P=1500,1000,5"}) +
                                  worldItem("0f3c", {"ATTR=010", "COLOR=0480", "P=1500,1000,7"}) +
                                  worldItem("0a28", {"ATTR=010", "P=8,8,0"});
        f.useWorldFile(world);
        uitest::writeEmptyStatics(f.file("staidx0.mul"), f.file("statics0.mul"));
        f.setSetting("Staidx", f.file("staidx0.mul"));
        f.setSetting("Statics", f.file("statics0.mul"));
        f.analyse(QStringLiteral("0"), QStringLiteral("16"));
        ui::MainWindow &main = f.mainWindow();
        const MainControls c(main);
        QCOMPARE(main.model().rowCount(), 3);
        main.session().table().setMark(2, world::Mark::Yes);

        QTest::mouseClick(c.patch, Qt::LeftButton);
        QVERIFY2(f.messages.errors.isEmpty(), qPrintable(f.messages.errors.join(QLatin1Char('|'))));
        QCOMPARE(f.messages.messages, QStringList{QStringLiteral("Process finished")});
        QVERIFY(allEnabled(sevenButtons(c), false));
        QVERIFY(c.analyse->isEnabled());

        std::string record;
        uitest::appendStaticRecord(record, 0x0f3c, 4, 0, 7, 1152);
        QCOMPARE(QByteArray::fromStdString(test::readFile(f.file("statics0.mul"))),
                 QByteArray::fromStdString(record));
        const std::string index = test::readFile(f.file("staidx0.mul"));
        std::string expected;
        uitest::appendIndexRecord(expected, 0, 7, 0);
        QCOMPARE(QByteArray::fromStdString(index.substr(95869u * 12, 12)),
                 QByteArray::fromStdString(expected));
        const std::string rewritten = test::readFile(f.file("world.scp"));
        QVERIFY(rewritten.find("0f3c") == std::string::npos);
        QVERIFY(rewritten.find("[WORLDITEM 0eed]") != std::string::npos);
        QVERIFY(rewritten.find("[WORLDITEM 0a28]") != std::string::npos);
    }

    void patchRefusesMoreThan500000Marks() {
        WindowsFixture f;
        f.useWorldFile(fourItems());
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        ui::MainWindow &main = f.mainWindow();
        const MainControls c(main);
        world::ItemTable &table = main.session().table();
        // A table of 500,001 marked rows, built directly: the refusal looks at the marks only.
        table.startAnalysis();
        table.reserve(500001);
        world::ItemFields fields;
        fields.hasPosition = true;
        fields.x = "1";
        fields.y = "1";
        fields.z = "0";
        for (int i = 0; i < 500001; ++i)
            table.appendItem(fields);
        for (int row = 1; row < table.rowCount(); ++row)
            table.setMark(row, world::Mark::Yes);

        QTest::mouseClick(c.patch, Qt::LeftButton);
        QCOMPARE(f.messages.messages,
                 QStringList{QStringLiteral("You can only select 500.000 items")});
        QVERIFY(f.messages.errors.isEmpty());
        QVERIFY(allEnabled(sevenButtons(c), true));
    }

    // A refused PATCH leaves the files alone; PATCH stays disabled until the next analysis.
    void patchErrorIsShownAndPatchStaysDisabled() {
        WindowsFixture f;
        f.useWorldFile("[SPHERE]\r\n\r\n" + worldItem("0eed", {"ATTR=010"}));
        uitest::writeEmptyStatics(f.file("staidx0.mul"), f.file("statics0.mul"));
        f.setSetting("Staidx", f.file("staidx0.mul"));
        f.setSetting("Statics", f.file("statics0.mul"));
        f.analyse(QStringLiteral("0"), QStringLiteral("5"));
        ui::MainWindow &main = f.mainWindow();
        const MainControls c(main);
        main.session().table().setMark(1, world::Mark::Yes);
        const std::string worldBefore = test::readFile(f.file("world.scp"));

        QTest::mouseClick(c.patch, Qt::LeftButton);
        // The item has no position, so its BLOCK cell is empty.
        QCOMPARE(f.messages.errors,
                 QStringList{QStringLiteral("'' is not a valid integer value.")});
        QVERIFY(f.messages.messages.isEmpty());
        QVERIFY(!c.patch->isEnabled());
        QVERIFY(c.all->isEnabled());
        QCOMPARE(test::readFile(f.file("world.scp")), worldBefore);

        f.analyse(QStringLiteral("0"), QStringLiteral("5"));
        QVERIFY(c.patch->isEnabled());
    }

    void theGaugeFillsInProportion_data() {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("percent");
        QTest::newRow("start") << 0 << 100 << 0 << 0;
        QTest::newRow("quarter") << 0 << 200 << 50 << 25;
        QTest::newRow("rounded down") << 0 << 3 << 2 << 66;
        QTest::newRow("offset range") << 100 << 300 << 250 << 75;
        QTest::newRow("full") << 0 << 393216 << 393216 << 100;
    }

    void theGaugeFillsInProportion() {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, progress);
        QFETCH(int, percent);
        ui::ProgressGaugeWidget gauge;
        gauge.resize(537, 17);
        gauge.setMaximum(maximum);
        gauge.setMinimum(minimum);
        gauge.setProgress(progress);
        QCOMPARE(gauge.percent(), percent);
        const QImage picture = gauge.grab().toImage();
        const QColor bar = gauge.palette().color(QPalette::Highlight);
        // Sample the top row inside the frame, above the centred text.
        const int y = 2;
        const int inside = gauge.width() - 2;
        const int filled = inside * percent / 100;
        if (filled > 2)
            QCOMPARE(picture.pixelColor(1 + filled - 2, y), bar);
        if (filled < inside - 2)
            QVERIFY(picture.pixelColor(1 + filled + 2, y) != bar);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
