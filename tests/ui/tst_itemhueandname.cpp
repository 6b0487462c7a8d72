// SPDX-License-Identifier: GPL-3.0-or-later
// The hue and the names from the client's files in the windows: the "Hue" check box, the main
// preview in the item's hue, the name and flag words under it, and the Filter dialog's name.
#include "analysedwindow.h"
#include "clientfilesfixture.h"
#include "filterwindow.h"
#include "ui/filterdialog.h"
#include "ui/mainwindow.h"
#include "windowsfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace tessaplex;
using uitest::clickRow;
using uitest::FilterControls;
using uitest::openAnalysed;
using uitest::previewAt;
using uitest::Red;
using uitest::WindowsFixture;

namespace {

constexpr QRgb Green = 0xFF00FF00;

// Every hue of the table is pure green, so a hued pixel shows green whichever hue it takes.
void writeGreenHues(WindowsFixture &f) {
    test::writeFile(f.file("hues.mul"), uitest::huesOfOneColour(0x03E0, 3000));
    f.setSetting("Hues", f.file("hues.mul"));
}

// A name for items 0x0eed and 0x1f14 (every flag set); 0x0a28 lies inside the file without a
// name or flags.
void writeTileData(WindowsFixture &f) {
    test::writeFile(f.file("tiledata.mul"), uitest::tileDataOf({{0x0eed, "barrel", 0x10 | 0x40},
                                                                {0x1f14, "rune", 0xFFFFFFFF}}));
    f.setSetting("Tiledata", f.file("tiledata.mul"));
}

} // namespace

class ItemHueAndNameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    // Row 2 is coloured 1152 and its art a red pixel at the top left. The box shows "ShowHue";
    // a click writes it at once and draws the item on show again.
    void thePreviewIsHuedOnlyWithTheBoxChecked_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("huesSet");
        QTest::addColumn<QRgb>("corner");
        QTest::addColumn<QRgb>("afterClick");
        QTest::newRow("unchecked") << false << true << Red << Green;
        QTest::newRow("checked") << true << true << Green << Red;
        QTest::newRow("checked, no hue table") << true << false << Red << Red;
    }

    void thePreviewIsHuedOnlyWithTheBoxChecked() {
        QFETCH(bool, checked);
        QFETCH(bool, huesSet);
        QFETCH(QRgb, corner);
        QFETCH(QRgb, afterClick);
        WindowsFixture f;
        if (huesSet)
            writeGreenHues(f);
        f.setSetting("ShowHue", checked ? "1" : "0");
        openAnalysed(f);
        const uitest::MainControls c = f.mainControls();
        QCOMPARE(c.hue->isChecked(), checked);
        clickRow(f, 2);
        QCOMPARE(previewAt(c, 0, 0), corner);
        // The swatch keeps the COLOR value as a screen colour.
        QCOMPARE(c.colorSwatch->palette().color(QPalette::Window).rgb(), qRgb(128, 4, 0));
        QTest::mouseClick(c.hue, Qt::LeftButton);
        QCOMPARE(f.setting("ShowHue"), std::optional<std::string>(checked ? "0" : "1"));
        QCOMPARE(previewAt(c, 0, 0), afterClick);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void theNameAndFlagsOfTheSelectedItemShowUnderThePreview() {
        WindowsFixture f;
        writeTileData(f);
        openAnalysed(f);
        const uitest::MainControls c = f.mainControls();
        clickRow(f, 1);
        QCOMPARE(c.itemName->text(), QStringLiteral("barrel"));
        QCOMPARE(c.itemFlags->text(), QStringLiteral("Wall, Impassable"));
        // An item without art keeps the picture but shows its own name.
        clickRow(f, 4);
        QCOMPARE(c.itemName->text(), QStringLiteral("rune"));
        // More flag words than two lines hold: cut with an ellipsis, all of them in the tooltip.
        QVERIFY(c.itemFlags->text().endsWith(QChar(0x2026)));
        QVERIFY(c.itemFlags->toolTip().startsWith(c.itemFlags->text().chopped(2)));
        QVERIFY(c.itemFlags->toolTip().endsWith(QStringLiteral("Roof, Door")));
        clickRow(f, 3);
        QCOMPARE(c.itemName->text(), QString());
        QCOMPARE(c.itemFlags->text(), QString());
        // Without "Tiledata" no name is shown.
        f.setSetting("Tiledata", "");
        clickRow(f, 1);
        QCOMPARE(c.itemName->text(), QString());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void theFilterDialogNamesWhatItPreviews() {
        WindowsFixture f;
        writeTileData(f);
        uitest::writeArt(f);
        test::writeFile(uitest::listFile(f), "0eed\r\n0a28\r\n");
        ui::FilterDialog &dialog = uitest::showFilter(f);
        const FilterControls c(dialog);
        QCOMPARE(c.name->text(), QStringLiteral("barrel"));
        c.id->setText(QStringLiteral("0x1f14"));
        QCOMPARE(c.name->text(), QStringLiteral("rune"));
        c.entries->setCurrentRow(1);
        QCOMPARE(c.name->text(), QString());
        QVERIFY(f.messages.errors.isEmpty());
    }
};

QTEST_MAIN(ItemHueAndNameTest)
#include "tst_itemhueandname.moc"
