// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysedwindow.h"

#include "sampleshard.h"
#include "support/artfixture.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"

#include <QTableView>
#include <QTest>

namespace tessaplex::uitest {

namespace {

std::string fiveItems() {
    return "[SPHERE]\r\nVERSION=0.55\r\n\r\n" + worldItem("0eed", {"ATTR=010", "P=1500,1000,5"}) +
           worldItem("0eed", {"ATTR=010", "COLOR=0480", "P=1500,1001,0"}) +
           worldItem("0a28", {"P=8,8", "ATTR=08010"}) + worldItem("01f14", {"P=1500,1000,7"}) +
           worldItem("0eed", {"P=8,8,1"});
}

void writeArtFiles(WindowsFixture &f) {
    test::ArtFilesBuilder art;
    art.add(0x4eed, test::runArtRecord({{test::ArtRun{0, {0x7C00}}}}, 1));
    art.add(0x4a28, test::rawArtRecord(0x001F));
    test::writeFile(f.file("art.mul"), art.dataBytes());
    test::writeFile(f.file("artidx.mul"), art.indexBytes());
    f.setSetting("Art", f.file("art.mul"));
    f.setSetting("ArtIdx", f.file("artidx.mul"));
}

} // namespace

void openAnalysed(WindowsFixture &f) {
    f.useWorldFile(fiveItems());
    writeArtFiles(f);
    QVERIFY(f.openMainWindow());
    f.analyse(QStringLiteral("0"), QStringLiteral("22"));
    QCOMPARE(f.mainWindow().model().rowCount(), 5);
}

QPoint centreOfRow(QTableView &grid, int tableRow) {
    return grid.visualRect(grid.model()->index(ui::ItemTableModel::modelRow(tableRow), 2)).center();
}

void clickRow(WindowsFixture &f, int tableRow) {
    QTableView &grid = *f.mainControls().grid;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOfRow(grid, tableRow));
}

int gridRow(WindowsFixture &f) {
    return ui::ItemTableModel::tableRow(f.mainControls().grid->selectedModelRow());
}

QRgb previewAt(const MainControls &c, int x, int y) {
    const QImage &picture = c.previewImage->picture();
    return picture.isNull() ? 0 : picture.pixel(x, y);
}

} // namespace tessaplex::uitest
