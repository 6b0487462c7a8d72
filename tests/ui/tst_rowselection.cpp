// SPDX-License-Identifier: GPL-3.0-or-later
// What selecting a row of the grid does (preview, colour swatch, captions, current row), the
// marks of Insert, Delete and double click, and "Add to Filter".
#include "analysedwindow.h"
#include "ui/itemgridview.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/previewimage.h"
#include "windowsfixture.h"
#include "world/itemtable.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tessaplex;
using uitest::Blue;
using uitest::centreOfRow;
using uitest::clickRow;
using uitest::gridRow;
using uitest::MainControls;
using uitest::openAnalysed;
using uitest::previewAt;
using uitest::Red;
using uitest::White;
using uitest::WindowsFixture;

namespace {

QStringList captions(const MainControls &c) {
    return {c.allOfBlock->text(), c.noneOfBlock->text(), c.allOfId->text(), c.noneOfId->text()};
}

QRgb swatch(const MainControls &c) {
    return c.colorSwatch->palette().color(QPalette::Window).rgb();
}

QString marks(WindowsFixture &f) {
    const world::ItemTable &table = f.mainWindow().session().table();
    QStringList result;
    for (int row = 1; row < table.rowCount(); ++row)
        result.append(QString::fromStdString(table.cellText(world::Column::Patch, row)));
    return result.join(QLatin1Char(' '));
}

} // namespace

class RowSelectionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void selectingARowShowsItsPreviewSwatchAndCaptions_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("expectedCaptions");
        QTest::addColumn<QRgb>("topLeft");
        QTest::addColumn<QRgb>("besideIt");
        QTest::addColumn<QRgb>("expectedSwatch");
        QTest::newRow("run record, no colour")
            << 1
            << QStringList{"All of B#95869", "None of B#95869", "All of #00eed", "None of #00eed"}
            << Red << White << QRgb(0xFF000000);
        // Colour 1152 is 0x480: red 128, green 4, blue 0.
        QTest::newRow("coloured item")
            << 2
            << QStringList{"All of B#95869", "None of B#95869", "All of #00eed", "None of #00eed"}
            << Red << White << qRgb(128, 4, 0);
        // The raw diamond is doubled: its top row is two pixels at x 42 and 43, white elsewhere.
        QTest::newRow("raw record")
            << 3 << QStringList{"All of B#513", "None of B#513", "All of #00a28", "None of #00a28"}
            << White << Blue << QRgb(0xFF000000);
    }

    void selectingARowShowsItsPreviewSwatchAndCaptions() {
        QFETCH(int, row);
        QFETCH(QStringList, expectedCaptions);
        QFETCH(QRgb, topLeft);
        QFETCH(QRgb, besideIt);
        QFETCH(QRgb, expectedSwatch);
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();

        clickRow(f, row);
        QCOMPARE(f.messages.errors, QStringList());
        QCOMPARE(f.mainWindow().session().currentRow(), row);
        QCOMPARE(gridRow(f), row);
        QCOMPARE(captions(c), expectedCaptions);
        QCOMPARE(previewAt(c, 0, 0), topLeft);
        QCOMPARE(previewAt(c, row == 3 ? 42 : 1, 0), besideIt);
        QCOMPARE(c.previewImage->picture().size(), QSize(131, 148));
        QCOMPARE(swatch(c), expectedSwatch);
    }

    // An item without art leaves the picture of the previous one, but the swatch follows.
    void anItemWithoutArtKeepsThePicture() {
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        clickRow(f, 2);
        const QImage before = c.previewImage->picture();
        clickRow(f, 4);
        QCOMPARE(f.mainWindow().session().currentRow(), 4);
        QCOMPARE(c.previewImage->picture(), before);
        QCOMPARE(swatch(c), QRgb(0xFF000000));
        QCOMPARE(c.allOfId->text(), QStringLiteral("All of #01f14"));
    }

    void withoutViewItemTheArrowKeysChangeOnlyTheCaptions() {
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        clickRow(f, 1);
        const QImage picture = c.previewImage->picture();
        const QRgb colour = swatch(c);
        QTest::mouseClick(c.viewItem, Qt::LeftButton);
        QVERIFY(!c.viewItem->isChecked());

        c.grid->setFocus();
        QTest::keyClick(c.grid, Qt::Key_Down);
        QTest::keyClick(c.grid, Qt::Key_Down);
        QCOMPARE(gridRow(f), 3);
        QCOMPARE(f.mainWindow().session().currentRow(), 3);
        QCOMPARE(c.allOfBlock->text(), QStringLiteral("All of B#513"));
        QCOMPARE(c.previewImage->picture(), picture);
        QCOMPARE(swatch(c), colour);
    }

    // The art file cannot be opened: the error box, and the grid, the captions, the swatch and
    // the current row stay as they were, whether the move came from the mouse or the keyboard.
    void anArtErrorKeepsTheGridOnItsRow_data() {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<QString>("brokenKey");
        QTest::newRow("click, art data file") << false << "Art";
        QTest::newRow("arrow key, art index file") << true << "ArtIdx";
    }

    void anArtErrorKeepsTheGridOnItsRow() {
        QFETCH(bool, byKeyboard);
        QFETCH(QString, brokenKey);
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        clickRow(f, 2);
        const QStringList before = captions(c);
        const QRgb colour = swatch(c);
        const QImage picture = c.previewImage->picture();
        const std::string missing = f.file("missing.mul");
        f.setSetting(brokenKey.toStdString(), missing);

        if (byKeyboard) {
            c.grid->setFocus();
            QTest::keyClick(c.grid, Qt::Key_Down);
        } else {
            clickRow(f, 3);
        }
        QCOMPARE(f.messages.errors,
                 QStringList{QString::fromStdString("Cannot open file " + missing + ".")});
        QCOMPARE(gridRow(f), 2);
        QCOMPARE(f.mainWindow().session().currentRow(), 2);
        QCOMPARE(captions(c), before);
        QCOMPARE(swatch(c), colour);
        QCOMPARE(c.previewImage->picture(), picture);
    }

    // Actions on the grid, one letter each: 1-5 click that row, I Insert, D Delete, C double
    // click on the current row, E double click below the last row, A "All", N "None".
    void marksOfTheKeysAndDoubleClick_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expectedMarks");
        QTest::newRow("first click of a double click selects") << "C"
                                                               << "YES NO NO NO NO";
        QTest::newRow("double click below the rows") << "2E"
                                                     << "NO YES NO NO NO";
        QTest::newRow("nothing selected yet") << "IDE"
                                              << "NO NO NO NO NO";
        QTest::newRow("Insert") << "2I"
                                << "NO YES NO NO NO";
        QTest::newRow("Insert twice stays YES") << "2II"
                                                << "NO YES NO NO NO";
        QTest::newRow("Insert then double click") << "2IC"
                                                  << "NO NO NO NO NO";
        QTest::newRow("double click twice") << "4CC"
                                            << "NO NO NO NO NO";
        QTest::newRow("double click marks") << "4C"
                                            << "NO NO NO YES NO";
        QTest::newRow("Delete after All") << "A3D"
                                          << "YES YES NO YES YES";
        QTest::newRow("Insert acts on the new row") << "1I5I"
                                                    << "YES NO NO NO YES";
        QTest::newRow("None clears Insert") << "1IN"
                                            << "NO NO NO NO NO";
    }

    void marksOfTheKeysAndDoubleClick() {
        QFETCH(QString, actions);
        QFETCH(QString, expectedMarks);
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        QTableView &grid = *c.grid;
        for (const QChar action : actions) {

            const char a = action.toLatin1();
            if (a >= '1' && a <= '5') {
                clickRow(f, a - '0');
            } else if (a == 'I' || a == 'D') {
                grid.setFocus();
                QTest::keyClick(&grid, a == 'I' ? Qt::Key_Insert : Qt::Key_Delete);
            } else if (a == 'C') {
                const int row = std::max(1, f.mainWindow().session().currentRow());
                QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centreOfRow(grid, row));
            } else if (a == 'E') {
                QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                                   QPoint(20, grid.viewport()->height() - 4));
            } else {
                QTest::mouseClick(a == 'A' ? c.all : c.none, Qt::LeftButton);
            }
        }
        QCOMPARE(marks(f), expectedMarks);
        QCOMPARE(f.messages.errors, QStringList());
        // The grid shows what the table holds.
        QCOMPARE(c.grid->model()->index(1, 9).data().toString(), expectedMarks.split(' ')[1]);
    }

    void theBulkButtonsGiveTheGridTheFocus() {
        WindowsFixture f;
        openAnalysed(f);
        const auto &c = f.mainControls();
        clickRow(f, 1);
        for (QPushButton *button :
             {c.all, c.none, c.allOfId, c.noneOfId, c.allOfBlock, c.noneOfBlock, c.addToFilter}) {
            c.searchId->setFocus();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(c.grid->hasFocus(), qPrintable(button->text()));
        }
    }

    // "Add to Filter" keeps each ID once in the file, also one the file held before.
    void addToFilterAddsTheRowsIdOnce_data() {
        QTest::addColumn<QByteArray>("fileBefore");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QByteArray>("fileAfter");
        QTest::newRow("twice on one row")
            << QByteArray() << QList<int>{1, 1} << QByteArray("0eed\r\n");
        QTest::newRow("same ID, other row")
            << QByteArray() << QList<int>{1, 5, 3} << QByteArray("0eed\r\n0a28\r\n");
        QTest::newRow("already in the file")
            << QByteArray("1f14\n0eed") << QList<int>{2, 4} << QByteArray("1f14\n0eed");
        QTest::newRow("new ID after ones in the file")
            << QByteArray("1f14\n0eed") << QList<int>{2, 3}
            << QByteArray("1f14\r\n0eed\r\n0a28\r\n");
    }

    void addToFilterAddsTheRowsIdOnce() {
        QFETCH(QByteArray, fileBefore);
        QFETCH(QList<int>, rows);
        QFETCH(QByteArray, fileAfter);
        WindowsFixture f;
        const std::string listFile = f.file("qelmitem.txt");
        if (!fileBefore.isNull())
            test::writeFile(listFile, fileBefore.toStdString());
        openAnalysed(f);
        for (int row : rows) {
            clickRow(f, row);
            QTest::mouseClick(f.mainControls().addToFilter, Qt::LeftButton);
        }
        QCOMPARE(QByteArray::fromStdString(test::readFile(listFile)), fileAfter);
        QCOMPARE(f.messages.errors, QStringList());
    }

    void addToFilterWithoutARowWritesNothing() {
        WindowsFixture f;
        openAnalysed(f);
        QTest::mouseClick(f.mainControls().addToFilter, Qt::LeftButton);
        QVERIFY(!QFile::exists(QString::fromStdString(f.file("qelmitem.txt"))));
        QCOMPARE(f.messages.errors, QStringList());
    }
};

QTEST_MAIN(RowSelectionTest)
#include "tst_rowselection.moc"
