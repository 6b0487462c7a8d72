// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter dialog: the entry list kept for the whole run and saved whichever button closes the
// dialog, the area written field by field, the previews, and "&OK" marking rows.
#include "sampleshard.h"
#include "support/artfixture.h"
#include "ui/filterdialog.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/previewimage.h"
#include "ui/progressgaugewidget.h"
#include "ui/uistyle.h"
#include "windowsfixture.h"
#include "world/itemtable.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

using namespace tessaplex;
using uitest::WindowsFixture;
using uitest::worldItem;

namespace {

const QString ListFile = QStringLiteral("qelmitem.txt");

ui::FilterDialog &showFilter(WindowsFixture &f) {
    QTest::mouseClick(f.mainWindow().controls().filter, Qt::LeftButton);
    return f.windows().filter();
}

QStringList shownEntries(const ui::FilterDialog &dialog) {
    QStringList texts;
    const QListWidget *list = dialog.controls().entries;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

// The entries, when the list control shows what the dialog holds.
QStringList entries(const ui::FilterDialog &dialog) {
    QStringList own;
    for (const std::string &entry : dialog.entries())
        own.append(QString::fromStdString(entry));
    return own == shownEntries(dialog) ? own : QStringList{QStringLiteral("<control differs>")};
}

int selectedRow(const ui::FilterDialog &dialog) {
    const QList<QListWidgetItem *> selected = dialog.controls().entries->selectedItems();
    return selected.isEmpty() ? -1 : dialog.controls().entries->row(selected.front());
}

std::string listFile(const WindowsFixture &f) {
    return f.file(ListFile.toStdString());
}

QLineEdit *areaField(const ui::FilterDialog &dialog, const QString &key) {
    const ui::FilterDialog::Controls &c = dialog.controls();
    if (key == QLatin1String("X1"))
        return c.x1;
    if (key == QLatin1String("Y1"))
        return c.y1;
    if (key == QLatin1String("X2"))
        return c.x2;
    return c.y2;
}

// Moves the keyboard focus into field and then on to the next control, as the operator does.
bool leaveField(ui::FilterDialog &dialog, QLineEdit *field) {
    if (!QTest::qWaitForWindowActive(&dialog))
        return false;
    field->setFocus(Qt::MouseFocusReason);
    if (!field->hasFocus())
        return false;
    dialog.controls().id->setFocus(Qt::TabFocusReason);
    return !field->hasFocus();
}

QString cannot(const char *what, const std::string &path) {
    return QStringLiteral("Cannot %1 file %2.")
        .arg(QLatin1String(what), QString::fromStdString(path));
}

// Item sections for the filter: the "ID" cells, "ATTR" cells and positions of the rows below.
//   row 1: 0eed ATTR 010   (1000, 500)     row 4: 0eed no ATTR     (1000, 500)
//   row 2: 0eed ATTR 08010 (1001, 500)     row 5: 0a28 ATTR 010   (1000, 500)
//   row 3: 0eed ATTR 0     (1000, 500)     row 6: 0eed ATTR 10    (1000, 500)
//                                          row 7: 0eed ATTR 010   (1000, 501)
std::string filterWorld() {
    return "[SPHERE]\r\nVERSION=0.55\r\n\r\n" + worldItem("0eed", {"ATTR=010", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=08010", "P=1001,500,0"}) +
           worldItem("0eed", {"ATTR=0", "P=1000,500,0"}) + worldItem("0eed", {"P=1000,500,0"}) +
           worldItem("0a28", {"ATTR=010", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=10", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=010", "P=1000,501,0"});
}

// Analyses the whole of filterWorld().
void analyseFilterWorld(WindowsFixture &f) {
    const std::string world = filterWorld();
    f.useWorldFile(world);
    int lines = 0;
    for (std::size_t at = world.find("\r\n"); at != std::string::npos;
         at = world.find("\r\n", at + 2))
        ++lines;
    f.analyse(QStringLiteral("0"), QString::number(lines));
}

QList<int> markedRows(const world::ItemTable &table) {
    QList<int> rows;
    for (int row = 1; row < table.rowCount(); ++row) {
        if (table.isMarked(row))
            rows.append(row);
    }
    return rows;
}

constexpr std::uint16_t RedPixel = 0x7c00;  // red 31
constexpr std::uint16_t BluePixel = 0x001f; // blue 31

// A run record: a width x height rectangle of one pixel value.
std::string solidRecord(int width, int height, std::uint16_t pixel) {
    const test::ArtRow row = {test::ArtRun{0, std::vector<std::uint16_t>(width, pixel)}};
    return test::runArtRecord(std::vector<test::ArtRow>(height, row),
                              static_cast<std::uint16_t>(width));
}

// Art for item 0x0eed (red, 6 x 4) and item 0x0a28 (blue, 3 x 3); "Art" and "ArtIdx" name them.
void writeArt(WindowsFixture &f) {
    test::ArtFilesBuilder art;
    art.add(0x4eed, solidRecord(6, 4, RedPixel)).add(0x4a28, solidRecord(3, 3, BluePixel));
    test::writeFile(f.file("artidx.mul"), art.indexBytes());
    test::writeFile(f.file("art.mul"), art.dataBytes());
    f.setSetting("ArtIdx", f.file("artidx.mul"));
    f.setSetting("Art", f.file("art.mul"));
}

// What the preview shows at its top-left corner, or "none" before the first drawing.
QString shownArt(const ui::FilterDialog &dialog) {
    const QImage &picture = dialog.controls().preview->picture();
    if (picture.isNull())
        return QStringLiteral("none");
    const QRgb corner = picture.pixel(0, 0);
    if (corner == qRgb(255, 0, 0))
        return QStringLiteral("red");
    if (corner == qRgb(0, 0, 255))
        return QStringLiteral("blue");
    return QStringLiteral("other");
}

} // namespace

class FilterDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void everyCaptionShowsWhole() {
        WindowsFixture f;
        ui::FilterDialog &dialog = f.windows().filter();
        QCOMPARE(ui::clippedCaptions(dialog), QStringList{});
    }

    void anAreaFieldIsStoredWhenLeft_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("hex with 0x") << "X1"
                                     << "0x10"
                                     << "16";
        QTest::newRow("no number") << "X2"
                                   << "12a"
                                   << "0";
        QTest::newRow("negative") << "Y2"
                                  << "-1"
                                  << "-1";
    }

    void anAreaFieldIsStoredWhenLeft() {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        WindowsFixture f;
        for (const char *other : {"X1", "Y1", "X2", "Y2"})
            f.setSetting(other, "5");
        ui::FilterDialog &dialog = showFilter(f);
        QLineEdit *field = areaField(dialog, key);
        QCOMPARE(field->text(), QStringLiteral("5"));

        field->setText(typed);
        // Typing alone writes nothing; leaving the field does.
        QCOMPARE(f.setting(key.toStdString()), std::optional<std::string>("5"));
        QVERIFY(leaveField(dialog, field));
        QCOMPARE(field->text(), stored);
        QCOMPARE(f.setting(key.toStdString()), std::optional<std::string>(stored.toStdString()));
        for (const char *other : {"X1", "Y1", "X2", "Y2"}) {
            if (key != QLatin1String(other))
                QCOMPARE(f.setting(other), std::optional<std::string>("5"));
        }

        // "&Cancel" does not undo it, and the next activation shows it.
        QTest::mouseClick(dialog.controls().cancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f.setting(key.toStdString()), std::optional<std::string>(stored.toStdString()));
        showFilter(f);
        QCOMPARE(field->text(), stored);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void useIsWrittenAtEveryClickOnly() {
        WindowsFixture f;
        f.setSetting("FilterArea", "1");
        const std::string before = test::readFile(f.file("qelm.ini"));
        ui::FilterDialog &dialog = showFilter(f);
        QCheckBox *use = dialog.controls().use;
        QVERIFY(use->isChecked());
        // Showing the stored state is no change.
        QCOMPARE(test::readFile(f.file("qelm.ini")), before);

        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(f.setting("FilterArea"), std::optional<std::string>("0"));
        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(f.setting("FilterArea"), std::optional<std::string>("1"));
        QTest::mouseClick(use, Qt::LeftButton);
        QTest::mouseClick(dialog.controls().cancel, Qt::LeftButton);
        QCOMPARE(f.setting("FilterArea"), std::optional<std::string>("0"));
        showFilter(f);
        QVERIFY(!use->isChecked());
    }

    void aRefusedSettingsWriteIsReported() {
        WindowsFixture f;
        // A write-protected settings file: read as usual, never replaced.
        test::writeFile(f.file("qelm.ini"), "");
        QVERIFY(QFile::setPermissions(QString::fromStdString(f.file("qelm.ini")),
                                      QFileDevice::ReadOwner));
        ui::FilterDialog &dialog = showFilter(f);
        QVERIFY(f.messages.errors.isEmpty());
        QTest::mouseClick(dialog.controls().use, Qt::LeftButton);
        const QString refused = QStringLiteral("Unable to write to %1.")
                                    .arg(QString::fromStdString(f.file("qelm.ini")));
        QCOMPARE(f.messages.errors, QStringList{refused});
        dialog.controls().x1->setText(QStringLiteral("0x20"));
        QVERIFY(leaveField(dialog, dialog.controls().x1));
        QCOMPARE(dialog.controls().x1->text(), QStringLiteral("32"));
        QCOMPARE(f.messages.errors, (QStringList{refused, refused}));
    }

    // Each activation reads the settings and the list file anew; a missing file keeps the list.
    void activationReadsTheFileAndTheSettings_data() {
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("secondFile");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("file replaces the list")
            << true << "4eed\r\n\r\n0a28" << QStringList{"4eed", "", "0a28"};
        QTest::newRow("empty file empties the list") << true << "" << QStringList{};
        QTest::newRow("missing file keeps the list")
            << false << "" << QStringList{"0a28", "0eed", "1f14"};
    }

    void activationReadsTheFileAndTheSettings() {
        QFETCH(bool, fileThere);
        QFETCH(QString, secondFile);
        QFETCH(QStringList, expected);
        WindowsFixture f;
        writeArt(f);
        test::writeFile(listFile(f), "0a28\r\n0eed\r\n");
        f.setSetting("X1", "100");
        f.setSetting("Y2", "0x20");
        ui::FilterDialog &dialog = showFilter(f);
        QCOMPARE(entries(dialog), (QStringList{"0a28", "0eed"}));
        QCOMPARE(selectedRow(dialog), 0);
        const ui::FilterDialog::Controls &c = dialog.controls();
        QCOMPARE((QStringList{c.x1->text(), c.y1->text(), c.x2->text(), c.y2->text()}),
                 (QStringList{"100", "0", "0", "32"}));
        QVERIFY(!c.use->isChecked());

        // The operator adds an entry; "&Cancel" saves it.
        c.id->setText(QStringLiteral("0x1f14"));
        QTest::mouseClick(c.add, Qt::LeftButton);
        QTest::mouseClick(c.cancel, Qt::LeftButton);
        QCOMPARE(test::readFile(listFile(f)), std::string("0a28\r\n0eed\r\n1f14\r\n"));

        // Changed while the dialog is hidden.
        std::filesystem::remove(listFile(f));
        if (fileThere)
            test::writeFile(listFile(f), secondFile.toStdString());
        f.setSetting("X1", "-7");
        f.setSetting("FilterArea", "1");
        showFilter(f);
        QCOMPARE(entries(dialog), expected);
        if (fileThere)
            QCOMPARE(selectedRow(dialog), expected.isEmpty() ? -1 : 0);
        QCOMPARE(c.x1->text(), QStringLiteral("-7"));
        QVERIFY(c.use->isChecked());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void anUnreadableListFileStopsTheActivation() {
        WindowsFixture f;
        writeArt(f);
        test::writeFile(listFile(f), "0eed\r\n");
        ui::FilterDialog &dialog = showFilter(f);
        QTest::mouseClick(dialog.controls().cancel, Qt::LeftButton);

        std::filesystem::remove(listFile(f));
        std::filesystem::create_directories(listFile(f) + "/inside");
        f.setSetting("X2", "44");
        showFilter(f);
        QCOMPARE(f.messages.errors, QStringList{cannot("open", listFile(f))});
        QCOMPARE(entries(dialog), QStringList{"0eed"});
        QCOMPARE(dialog.controls().x2->text(), QStringLiteral("44"));
    }

    void addTurnsTheIdFieldIntoAnEntry_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("decimal, art entry and hex give one entry")
            << QStringList{"3821", "20205", "0x0eed", "0X0eed"} << QStringList{"0eed"};
        QTest::newRow("order kept")
            << QStringList{"0x20", "0x10", "0x20", "0x01"} << QStringList{"0020", "0010", "0001"};
    }

    void addTurnsTheIdFieldIntoAnEntry() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        WindowsFixture f;
        ui::FilterDialog &dialog = showFilter(f);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const ui::FilterDialog::Controls &c = dialog.controls();
        for (const QString &text : typed) {
            c.id->setText(text);
            QTest::mouseClick(c.add, Qt::LeftButton);
            QCOMPARE(c.id->text(), text);
            // Ready for the next ID: the field has the focus and its text is selected.
            QVERIFY(c.id->hasFocus());
            QCOMPARE(c.id->selectedText(), text);
        }
        QCOMPARE(entries(dialog), expected);
        QVERIFY(!test::exists(listFile(f)));
    }

    void removeAndSortChangeOnlyTheList_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("removeRow");
        QTest::addColumn<bool>("sort");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("remove the middle") << "0eed\r\n0a28\r\n1f14\r\n"
                                           << 1 << false << QStringList{"0eed", "1f14"};
        QTest::newRow("remove the last") << "0eed\r\n0a28\r\n" << 1 << false << QStringList{"0eed"};
        QTest::newRow("nothing selected removes nothing")
            << "0eed\r\n0a28\r\n"
            << -1 << false << QStringList{"0eed", "0a28"};
        QTest::newRow("sort ignores case")
            << "1f14\r\n0EED\r\n0a28\r\n0eec\r\n"
            << -1 << true << QStringList{"0a28", "0eec", "0EED", "1f14"};
        QTest::newRow("remove, then sort") << "b\r\nc\r\na\r\n"
                                           << 0 << true << QStringList{"a", "c"};
    }

    void removeAndSortChangeOnlyTheList() {
        QFETCH(QString, file);
        QFETCH(int, removeRow);
        QFETCH(bool, sort);
        QFETCH(QStringList, expected);
        WindowsFixture f;
        test::writeFile(listFile(f), file.toStdString());
        ui::FilterDialog &dialog = showFilter(f);
        const ui::FilterDialog::Controls &c = dialog.controls();
        c.entries->clearSelection();
        if (removeRow >= 0)
            c.entries->setCurrentRow(removeRow);
        QTest::mouseClick(c.remove, Qt::LeftButton);
        QCOMPARE(selectedRow(dialog), -1);
        // A second "&Remove" has nothing selected to remove.
        QTest::mouseClick(c.remove, Qt::LeftButton);
        if (sort)
            QTest::mouseClick(c.sort, Qt::LeftButton);
        QCOMPARE(entries(dialog), expected);
        QCOMPARE(test::readFile(listFile(f)), file.toStdString());

        // Sorting happens once: a later entry goes to the end.
        c.id->setText(QStringLiteral("0x0001"));
        QTest::mouseClick(c.add, Qt::LeftButton);
        QCOMPARE(entries(dialog), expected + QStringList{"0001"});
    }

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
        const ui::FilterDialog::Controls &c = dialog.controls();
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
        const ui::FilterDialog::Controls &c = dialog.controls();
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
        const ProgressGauge &gauge = *f.mainWindow().controls().gauge;
        if (steps > 0) {
            QCOMPARE(gauge.maximum(), steps);
            QCOMPARE(gauge.progress(), steps);
        }
    }

    void okBeforeAnyAnalysisMarksNothingAndSavesTheList() {
        WindowsFixture f;
        writeArt(f);
        ui::FilterDialog &dialog = showFilter(f);
        dialog.controls().id->setText(QStringLiteral("3821"));
        QTest::mouseClick(dialog.controls().add, Qt::LeftButton);
        QTest::mouseClick(dialog.controls().ok, Qt::LeftButton);
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
        const ui::FilterDialog::Controls &c = dialog.controls();
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

    void theIdFieldPreviewsWhatItNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal item ID") << "3821"
                                         << "red";
        QTest::newRow("art entry number") << "20205"
                                          << "red";
        QTest::newRow("lower-case x") << "0x0eed"
                                      << "red";
        QTest::newRow("dollar hex") << "$a28"
                                    << "blue";
        QTest::newRow("no art for this ID") << "0x0eee"
                                            << "none";
    }

    void theIdFieldPreviewsWhatItNames() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        WindowsFixture f;
        writeArt(f);
        ui::FilterDialog &dialog = showFilter(f);
        QCOMPARE(shownArt(dialog), QStringLiteral("none"));
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClicks(dialog.controls().id, typed);
        QCOMPARE(shownArt(dialog), shown);
        QVERIFY(f.messages.errors.isEmpty());
        if (shown != QLatin1String("none")) {
            const QImage &picture = dialog.controls().preview->picture();
            QCOMPARE(picture.size(), QSize(131, 225));
            QCOMPARE(picture.pixel(10, 10), qRgb(255, 255, 255));
        }
    }

    void selectingAnEntryPreviewsIt() {
        WindowsFixture f;
        writeArt(f);
        test::writeFile(listFile(f), "0a28\r\n0eed\r\nffff\r\n");
        ui::FilterDialog &dialog = showFilter(f);
        // The first entry is selected and shown at once.
        QCOMPARE(selectedRow(dialog), 0);
        QCOMPARE(shownArt(dialog), QStringLiteral("blue"));
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QListWidget *list = dialog.controls().entries;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(selectedRow(dialog), 1);
        QCOMPARE(shownArt(dialog), QStringLiteral("red"));
        // An entry without art leaves the picture.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(shownArt(dialog), QStringLiteral("red"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(shownArt(dialog), QStringLiteral("blue"));
        QVERIFY(f.messages.errors.isEmpty());
    }

    // An art file that cannot be opened is reported, whichever control asked for the preview.
    void aPreviewThatCannotOpenItsFileIsReported_data() {
        QTest::addColumn<int>("trigger");
        QTest::newRow("activation") << 0;
        QTest::newRow("ID field") << 1;
        QTest::newRow("entry selected") << 2;
    }

    void aPreviewThatCannotOpenItsFileIsReported() {
        QFETCH(int, trigger);
        WindowsFixture f;
        writeArt(f);
        const std::string missing = f.file("gone/art.mul");
        test::writeFile(listFile(f), "0eed\r\n0a28\r\n");
        if (trigger == 0)
            f.setSetting("Art", missing);
        ui::FilterDialog &dialog = showFilter(f);
        if (trigger != 0) {
            QCOMPARE(shownArt(dialog), QStringLiteral("red"));
            f.setSetting("Art", missing);
        }
        if (trigger == 1)
            dialog.controls().id->setText(QStringLiteral("3821"));
        if (trigger == 2)
            dialog.controls().entries->setCurrentRow(1);
        QCOMPARE(f.messages.errors, QStringList{cannot("open", missing)});
        QCOMPARE(shownArt(dialog), trigger == 0 ? QStringLiteral("none") : QStringLiteral("red"));
        // The command went on: the list is there and the dialog open.
        QCOMPARE(entries(dialog), (QStringList{"0eed", "0a28"}));
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(FilterDialogTest)
#include "tst_filterdialog.moc"
