// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter dialog: the entry list kept for the whole run, read anew at every activation, and
// the area written field by field.
#include "filterwindow.h"
#include "ui/filterdialog.h"
#include "ui/uistyle.h"
#include "windowsfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace tessaplex;
using uitest::cannot;
using uitest::entries;
using uitest::FilterControls;
using uitest::listFile;
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
};

QTEST_MAIN(FilterDialogTest)
#include "tst_filterdialog.moc"
