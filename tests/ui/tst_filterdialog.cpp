// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter dialog: the entry list kept for the whole run and saved whichever button closes the
// dialog, the area written field by field, the previews, and "&OK" marking rows.
#include "filterwindow.h"
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
using uitest::analyseFilterWorld;
using uitest::cannot;
using uitest::entries;
using uitest::FilterControls;
using uitest::listFile;
using uitest::markedRows;
using uitest::selectedRow;
using uitest::showFilter;
using uitest::WindowsFixture;
using uitest::writeArt;

namespace {

QLineEdit *areaField(const ui::FilterDialog &dialog, const QString &key) {
    const FilterControls c(dialog);
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
    FilterControls(dialog).id->setFocus(Qt::TabFocusReason);
    return !field->hasFocus();
}

// What the preview shows at its top-left corner, or "none" before the first drawing.
QString shownArt(const ui::FilterDialog &dialog) {
    const QImage &picture = FilterControls(dialog).preview->picture();
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
        QTest::mouseClick(FilterControls(dialog).cancel, Qt::LeftButton);
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
        QCheckBox *use = FilterControls(dialog).use;
        QVERIFY(use->isChecked());
        // Showing the stored state is no change.
        QCOMPARE(test::readFile(f.file("qelm.ini")), before);

        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(f.setting("FilterArea"), std::optional<std::string>("0"));
        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(f.setting("FilterArea"), std::optional<std::string>("1"));
        QTest::mouseClick(use, Qt::LeftButton);
        QTest::mouseClick(FilterControls(dialog).cancel, Qt::LeftButton);
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
        QTest::mouseClick(FilterControls(dialog).use, Qt::LeftButton);
        const QString refused = QStringLiteral("Unable to write to %1.")
                                    .arg(QString::fromStdString(f.file("qelm.ini")));
        QCOMPARE(f.messages.errors, QStringList{refused});
        FilterControls(dialog).x1->setText(QStringLiteral("0x20"));
        QVERIFY(leaveField(dialog, FilterControls(dialog).x1));
        QCOMPARE(FilterControls(dialog).x1->text(), QStringLiteral("32"));
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
        const FilterControls c(dialog);
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
        QTest::mouseClick(FilterControls(dialog).cancel, Qt::LeftButton);

        std::filesystem::remove(listFile(f));
        std::filesystem::create_directories(listFile(f) + "/inside");
        f.setSetting("X2", "44");
        showFilter(f);
        QCOMPARE(f.messages.errors, QStringList{cannot("open", listFile(f))});
        QCOMPARE(entries(dialog), QStringList{"0eed"});
        QCOMPARE(FilterControls(dialog).x2->text(), QStringLiteral("44"));
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
        const FilterControls c(dialog);
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
        const FilterControls c(dialog);
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
        QTest::keyClicks(FilterControls(dialog).id, typed);
        QCOMPARE(shownArt(dialog), shown);
        QVERIFY(f.messages.errors.isEmpty());
        if (shown != QLatin1String("none")) {
            const QImage &picture = FilterControls(dialog).preview->picture();
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
        QListWidget *list = FilterControls(dialog).entries;
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
            FilterControls(dialog).id->setText(QStringLiteral("3821"));
        if (trigger == 2)
            FilterControls(dialog).entries->setCurrentRow(1);
        QCOMPARE(f.messages.errors, QStringList{cannot("open", missing)});
        QCOMPARE(shownArt(dialog), trigger == 0 ? QStringLiteral("none") : QStringLiteral("red"));
        // The command went on: the list is there and the dialog open.
        QCOMPARE(entries(dialog), (QStringList{"0eed", "0a28"}));
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(FilterDialogTest)
#include "tst_filterdialog.moc"
