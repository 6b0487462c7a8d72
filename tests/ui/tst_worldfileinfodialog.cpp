// SPDX-License-Identifier: GPL-3.0-or-later
// The World file information dialog: its four values on every showing, "<FILE NOT FOUND>", and
// "Use", which sets the line window to the whole file.
#include "sampleshard.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/worldfileinfodialog.h"
#include "windowsfixture.h"
#include "world/itemtable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tessaplex;
using uitest::InfoControls;
using uitest::MainControls;
using uitest::WindowsFixture;
using uitest::worldItem;

namespace {

// Five items; sections at lines 2-6, 7-10, 11-14, 15-18 and 19-22 (start line to empty line).
std::string fiveItems() {
    return "[SPHERE]\r\n\r\n" + worldItem("0eed", {"ATTR=010", "P=1,1,0", "COLOR=01"}) +
           worldItem("0eed", {"P=2,2,0", "ATTR=010"}) + worldItem("0eed", {"P=3,3,0", "Z=0"}) +
           worldItem("0eed", {"P=4,4,0", "ATTR=0"}) + worldItem("0eed", {"P=5,5,0", "ATTR=1"});
}

QStringList shownValues(const ui::WorldFileInfoDialog &dialog) {
    const InfoControls c(dialog);
    return {c.lines->text(), c.selectedItems->text(), c.listedItems->text(),
            c.linesToRemove->text()};
}

void showInfo(WindowsFixture &f) {
    QTest::mouseClick(f.mainControls().info, Qt::LeftButton);
}

void closeInfo(WindowsFixture &f) {
    QTest::mouseClick(InfoControls(f.windows().info()).ok, Qt::LeftButton);
}

} // namespace

class WorldFileInfoDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void values_data() {
        QTest::addColumn<bool>("analyse");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<QStringList>("expected"); // lines, selected, listed, lines to remove
        QTest::newRow("before any analysis")
            << false << QList<int>{} << QStringList{"23", "0", "0", "0"};
        QTest::newRow("analysed, nothing marked")
            << true << QList<int>{} << QStringList{"23", "0", "5", "0"};
        // Sections 2-6 and 15-18: 4 + 3 lines without their empty lines.
        QTest::newRow("two marked") << true << QList<int>{1, 4} << QStringList{"23", "2", "5", "7"};
        QTest::newRow("all marked")
            << true << QList<int>{1, 2, 3, 4, 5} << QStringList{"23", "5", "5", "16"};
    }

    void values() {
        QFETCH(bool, analyse);
        QFETCH(QList<int>, marked);
        QFETCH(QStringList, expected);
        WindowsFixture f;
        f.useWorldFile(fiveItems());
        if (analyse)
            f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        for (int row : marked)
            f.mainWindow().session().table().setMark(row, world::Mark::Yes);
        showInfo(f);
        ui::WorldFileInfoDialog &dialog = f.windows().info();
        QVERIFY(dialog.isVisible());
        QCOMPARE(shownValues(dialog), expected);
        QVERIFY(InfoControls(dialog).use->isEnabled());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void itemsCarryingAMapNumberAreToldOfAfterAnAnalysisAsWritten_data() {
        QTest::addColumn<int>("withMapNumber"); // items at "P=x,y,z,1" after fiveItems()
        QTest::addColumn<QString>("map");       // the "Map" setting; empty: as written
        QTest::addColumn<QString>("shown");
        const QString tail = QStringLiteral(" items carry a map number: choose the map in Options "
                                            "to patch them");
        QTest::newRow("none") << 0 << ""
                              << "";
        QTest::newRow("one") << 1 << "" << QStringLiteral("1") + tail;
        QTest::newRow("thousands separated") << 1234 << "" << QStringLiteral("1,234") + tail;
        QTest::newRow("map chosen") << 3 << "1"
                                    << "";
    }

    void itemsCarryingAMapNumberAreToldOfAfterAnAnalysisAsWritten() {
        QFETCH(int, withMapNumber);
        QFETCH(QString, map);
        QFETCH(QString, shown);
        std::string world = fiveItems();
        for (int i = 0; i < withMapNumber; ++i)
            world += worldItem("0eed", {"P=7,8,9,1"});
        WindowsFixture f;
        f.useWorldFile(world);
        if (!map.isEmpty())
            f.setSetting("Map", map.toStdString());
        showInfo(f);
        QCOMPARE(InfoControls(f.windows().info()).mapNumbers->text(), QString());
        closeInfo(f);

        qsizetype lines = 0;
        for (std::size_t at = world.find("\r\n"); at != std::string::npos;
             at = world.find("\r\n", at + 1))
            ++lines;
        f.analyse(QStringLiteral("0"), QString::number(lines));
        showInfo(f);
        QCOMPARE(InfoControls(f.windows().info()).mapNumbers->text(), shown);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void withoutAWorldFileEveryValueSaysFileNotFound_data() {
        QTest::addColumn<bool>("settingThere");
        QTest::newRow("no setting") << false;
        QTest::newRow("file missing") << true;
    }

    void withoutAWorldFileEveryValueSaysFileNotFound() {
        QFETCH(bool, settingThere);
        WindowsFixture f;
        if (settingThere)
            f.setSetting("WorldFile", f.file("gone.scp"));
        showInfo(f);
        const QString notFound = QStringLiteral("<FILE NOT FOUND>");
        QCOMPARE(shownValues(f.windows().info()),
                 (QStringList{notFound, notFound, notFound, notFound}));
        QVERIFY(!InfoControls(f.windows().info()).use->isEnabled());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void useSetsTheLineWindowToTheWholeFile() {
        WindowsFixture f;
        f.useWorldFile(fiveItems());
        f.mainWindow().setLineWindow(QStringLiteral("7"), QStringLiteral("3"));
        showInfo(f);
        QTest::mouseClick(InfoControls(f.windows().info()).use, Qt::LeftButton);
        const MainControls c = f.mainControls();
        QCOMPARE(c.startLine->text(), QStringLiteral("0"));
        QCOMPARE(c.lines->text(), QStringLiteral("23"));
        closeInfo(f);
        QVERIFY(!f.windows().info().isVisible());

        // The next analysis covers every item.
        QTest::mouseClick(c.analyse, Qt::LeftButton);
        QCOMPARE(f.mainWindow().model().rowCount(), 5);
    }

    void everyShowingReadsTheFileAgain() {
        WindowsFixture f;
        f.useWorldFile(fiveItems());
        showInfo(f);
        QCOMPARE(InfoControls(f.windows().info()).lines->text(), QStringLiteral("23"));
        closeInfo(f);

        test::writeFile(f.file("world.scp"), fiveItems() + worldItem("0eed", {"P=6,6,0"}));
        showInfo(f);
        QCOMPARE(InfoControls(f.windows().info()).lines->text(), QStringLiteral("26"));
        closeInfo(f);

        QVERIFY(QFile::remove(QString::fromStdString(f.file("world.scp"))));
        showInfo(f);
        QCOMPARE(InfoControls(f.windows().info()).lines->text(),
                 QStringLiteral("<FILE NOT FOUND>"));
        QVERIFY(!InfoControls(f.windows().info()).use->isEnabled());
    }

    // The dialog reads the world file into memory again; if the file changed since the
    // analysis, PATCH must refuse rather than remove lines that belong to other sections.
    void aReadAfterTheFileChangedStopsPatch() {
        WindowsFixture f;
        f.useWorldFile(fiveItems());
        uitest::writeEmptyStatics(f.file("staidx0.mul"), f.file("statics0.mul"));
        f.setSetting("Staidx", f.file("staidx0.mul"));
        f.setSetting("Statics", f.file("statics0.mul"));
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        f.mainWindow().session().table().setMark(2, world::Mark::Yes);

        const std::string changed =
            "[SPHERE]\r\n\r\n" + worldItem("0abc", {"P=9,9,0"}) + fiveItems();
        test::writeFile(f.file("world.scp"), changed);
        showInfo(f);
        closeInfo(f);
        QTest::mouseClick(f.mainControls().patch, Qt::LeftButton);
        QCOMPARE(f.messages.errors.size(), 1);
        QVERIFY(f.messages.messages.isEmpty());
        QCOMPARE(test::readFile(f.file("world.scp")), changed);
        QCOMPARE(test::readFile(f.file("statics0.mul")), std::string());
    }
};

QTEST_MAIN(WorldFileInfoDialogTest)
#include "tst_worldfileinfodialog.moc"
