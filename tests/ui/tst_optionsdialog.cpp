// SPDX-License-Identifier: GPL-3.0-or-later
// The Options dialog: every change is written to the settings file at once, "&OK" writes
// nothing, and every showing reads the file anew.
#include "ui/initialfolder.h"
#include "ui/mainwindow.h"
#include "ui/optionsdialog.h"
#include "ui/pathedit.h"
#include "windowsfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

using namespace tessaplex;
using uitest::OptionsControls;
using uitest::WindowsFixture;

namespace {

struct FileChoice {
    const char *key;
    QPushButton *button;
    QLineEdit *edit;
};

FileChoice fileChoice(const ui::OptionsDialog &dialog, const QString &key) {
    const OptionsControls c(dialog);
    const FileChoice choices[] = {{"Staidx", c.chooseStaidx, c.staidx},
                                  {"Statics", c.chooseStatics, c.statics},
                                  {"ArtIdx", c.chooseArtIdx, c.artIdx},
                                  {"Art", c.chooseArt, c.art},
                                  {"Hues", c.chooseHues, c.hues},
                                  {"Tiledata", c.chooseTiledata, c.tiledata},
                                  {"WorldFile", c.chooseWorldFile, c.worldFile}};
    for (const FileChoice &choice : choices) {
        if (key == QLatin1String(choice.key))
            return choice;
    }
    return {};
}

void showOptions(WindowsFixture &f) {
    QTest::mouseClick(f.mainControls().options, Qt::LeftButton);
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    void initialFolderOfAPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("Windows file") << "C:\\mul\\art.mul"
                                      << "C:\\mul";
        QTest::newRow("drive root") << "C:\\art.mul"
                                    << "C:\\";
        QTest::newRow("drive only") << "C:art.mul"
                                    << "C:";
        QTest::newRow("Unix file") << "/srv/uo/art.mul"
                                   << "/srv/uo";
        QTest::newRow("Unix root") << "/art.mul"
                                   << "/";
        QTest::newRow("bare name") << "art.mul"
                                   << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("UNC share") << "\\\\server\\art.mul"
                                   << "\\\\server";
        QTest::newRow("double separator kept") << "C:\\mul\\\\art.mul"
                                               << "C:\\mul\\\\";
        QTest::newRow("mixed separators") << "C:\\mul/sub\\art.mul"
                                          << "C:\\mul/sub";
        QTest::newRow("folder with trailing separator") << "/srv/uo/"
                                                        << "/srv/uo";
    }

    void initialFolderOfAPath() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(ui::initialFolder(path), folder);
    }

    void eachFileChoiceWritesItsKeyAtOnce_data() {
        QTest::addColumn<QString>("key");
        for (const char *key :
             {"Staidx", "Statics", "ArtIdx", "Art", "Hues", "Tiledata", "WorldFile"})
            QTest::newRow(key) << QString::fromLatin1(key);
    }

    void eachFileChoiceWritesItsKeyAtOnce() {
        QFETCH(QString, key);
        WindowsFixture f;
        f.setSetting(key.toStdString(), "C:\\old\\file.mul");
        const std::string otherKey = key == QLatin1String("Art") ? "Staidx" : "Art";
        f.setSetting(otherKey, "untouched");
        showOptions(f);
        ui::OptionsDialog &dialog = f.windows().options();
        const FileChoice choice = fileChoice(dialog, key);
        QCOMPARE(choice.edit->text(), QStringLiteral("C:\\old\\file.mul"));

        f.files.answers.push_back(QStringLiteral("/new/place/chosen.mul"));
        QTest::mouseClick(choice.button, Qt::LeftButton);
        QCOMPARE(f.files.folders, QStringList{QStringLiteral("C:\\old")});
        // Only the art data file may also be a UOP container.
        using Kinds = ui::FileChooser::Kinds;
        QCOMPARE(f.files.kinds,
                 QList<Kinds>{key == QLatin1String("Art") ? Kinds::MulOrUop : Kinds::Mul});
        QCOMPARE(choice.edit->text(), QStringLiteral("/new/place/chosen.mul"));
        QCOMPARE(f.setting(key.toStdString()), std::optional<std::string>("/new/place/chosen.mul"));
        QCOMPARE(f.setting(otherKey), std::optional<std::string>("untouched"));
        // The analysis reads the world file under the other spelling of its key.
        if (key == QLatin1String("WorldFile"))
            QCOMPARE(QString::fromStdString(
                         f.mainWindow().session().settings().readText("Custom", "Worldfile")),
                     QStringLiteral("/new/place/chosen.mul"));
        QVERIFY(f.messages.errors.isEmpty());
    }

    void cancellingTheFileDialogChangesNothing() {
        WindowsFixture f;
        f.setSetting("Statics", "/a/statics0.mul");
        const std::string before = test::readFile(f.file("qelm.ini"));
        showOptions(f);
        const FileChoice choice = fileChoice(f.windows().options(), QStringLiteral("Statics"));
        QTest::mouseClick(choice.button, Qt::LeftButton); // no answer queued: cancelled
        QCOMPARE(f.files.folders.size(), 1);
        QCOMPARE(choice.edit->text(), QStringLiteral("/a/statics0.mul"));
        QCOMPARE(test::readFile(f.file("qelm.ini")), before);
    }

    void theUnixCheckBoxWritesAtEveryClick() {
        WindowsFixture f;
        showOptions(f);
        QCheckBox *box = OptionsControls(f.windows().options()).unixLineEnds;
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(f.setting("Unix"), std::optional<std::string>("1"));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(f.setting("Unix"), std::optional<std::string>("0"));
        // Closing with the close box keeps what was written.
        f.windows().options().close();
        QCOMPARE(f.setting("Unix"), std::optional<std::string>("0"));
    }

    void theItemFolderIsWrittenAtEveryChange() {
        WindowsFixture f;
        showOptions(f);
        QLineEdit *edit = OptionsControls(f.windows().options()).itemFiles;
        const QString typed = QStringLiteral("/srv/items");
        for (int i = 0; i < typed.size(); ++i) {
            QTest::keyClick(edit, typed[i].toLatin1());
            QCOMPARE(f.setting("ItemFiles"),
                     std::optional<std::string>(typed.left(i + 1).toStdString()));
        }
        edit->clear();
        QCOMPARE(f.setting("ItemFiles"), std::optional<std::string>(""));
    }

    void okWritesNothing() {
        WindowsFixture f;
        showOptions(f);
        // With no settings file, showing the dialog and leaving it creates none.
        QTest::mouseClick(OptionsControls(f.windows().options()).ok, Qt::LeftButton);
        QVERIFY(!f.windows().options().isVisible());
        QVERIFY(!test::exists(f.file("qelm.ini")));

        f.setSetting("ItemFiles", "/srv/items");
        f.setSetting("Unix", "1");
        const std::string before = test::readFile(f.file("qelm.ini"));
        showOptions(f);
        QTest::mouseClick(OptionsControls(f.windows().options()).ok, Qt::LeftButton);
        QCOMPARE(test::readFile(f.file("qelm.ini")), before);
    }

    // Every showing reads the file; a value that differs from what the control showed counts
    // as a change and is written back in the control's own form.
    void everyShowingReadsTheSettingsAgain_data() {
        QTest::addColumn<QString>("unixBefore");
        QTest::addColumn<QString>("unixAfter");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("5 reads as true and is stored as 1") << "0"
                                                            << "5" << true << "1";
        QTest::newRow("yes reads as false, shown unchanged, kept") << "0"
                                                                   << "yes" << false << "yes";
        QTest::newRow("0x1 after 1 stays as written") << "1"
                                                      << "0x1" << true << "0x1";
        QTest::newRow("0 after 1 is stored as 0") << "1"
                                                  << "0" << false << "0";
    }

    void everyShowingReadsTheSettingsAgain() {
        QFETCH(QString, unixBefore);
        QFETCH(QString, unixAfter);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        WindowsFixture f;
        f.setSetting("Unix", unixBefore.toStdString());
        f.setSetting("ItemFiles", "/first");
        showOptions(f);
        ui::OptionsDialog &dialog = f.windows().options();
        QCOMPARE(OptionsControls(dialog).itemFiles->text(), QStringLiteral("/first"));
        QTest::mouseClick(OptionsControls(dialog).ok, Qt::LeftButton);

        // Changed by hand while the dialog is hidden.
        f.setSetting("Unix", unixAfter.toStdString());
        f.setSetting("ItemFiles", "  /second  ");
        f.setSetting("Art", "/art/art.mul");
        f.setSetting("Hues", "/art/hues.mul");
        f.setSetting("Tiledata", "/art/tiledata.mul");
        showOptions(f);
        QCOMPARE(OptionsControls(dialog).itemFiles->text(), QStringLiteral("/second"));
        QCOMPARE(OptionsControls(dialog).art->text(), QStringLiteral("/art/art.mul"));
        QCOMPARE(OptionsControls(dialog).hues->text(), QStringLiteral("/art/hues.mul"));
        QCOMPARE(OptionsControls(dialog).tiledata->text(), QStringLiteral("/art/tiledata.mul"));
        QCOMPARE(OptionsControls(dialog).unixLineEnds->isChecked(), checked);
        QCOMPARE(f.setting("Unix"), std::optional<std::string>(stored.toStdString()));
        QCOMPARE(f.setting("ItemFiles"), std::optional<std::string>("/second"));
    }

    // The arrow keys choose as the mouse does. A stored value that names no map shows as "As
    // written" but stays in the file until the operator chooses.
    void theMapChooserWritesTheOperatorsChoiceAtOnce_data() {
        QTest::addColumn<QString>("stored"); // empty: no "Map" key
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("steps"); // down arrows, or up arrows when negative
        QTest::addColumn<QString>("written");
        QTest::newRow("absent, down to map 0") << ""
                                               << "As written" << 1 << "0";
        QTest::newRow("3, down to 4") << "3"
                                      << "Map 3 (2560 x 2048)" << 1 << "4";
        QTest::newRow("1, up to as written") << "1"
                                             << "Map 1 (7168 x 4096 or 6144 x 4096)" << -2 << "";
        QTest::newRow("5, up to 2") << "5"
                                    << "Map 5 (1280 x 4096)" << -3 << "2";
        QTest::newRow("9 kept until chosen") << "9"
                                             << "As written" << 5 << "4";
        QTest::newRow("10 kept until chosen") << "10"
                                              << "As written" << 6 << "5";
    }

    void theMapChooserWritesTheOperatorsChoiceAtOnce() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(int, steps);
        QFETCH(QString, written);
        WindowsFixture f;
        if (!stored.isEmpty())
            f.setSetting("Map", stored.toStdString());
        showOptions(f);
        QComboBox *box = OptionsControls(f.windows().options()).map;
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(f.setting("Map"), stored.isEmpty()
                                       ? std::nullopt
                                       : std::optional<std::string>(stored.toStdString()));
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(box, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(f.setting("Map"), std::optional<std::string>(written.toStdString()));
        QTest::mouseClick(OptionsControls(f.windows().options()).ok, Qt::LeftButton);

        // Changed by hand while the dialog is hidden.
        f.setSetting("Map", "2");
        showOptions(f);
        QCOMPARE(box->currentText(), QStringLiteral("Map 2 (2304 x 1600)"));
        QCOMPARE(box->count(), 7);
        QVERIFY(f.messages.errors.isEmpty());
    }

    void aRefusedWriteIsReported() {
        WindowsFixture f;
        // A write-protected settings file: read as usual, never replaced.
        test::writeFile(f.file("qelm.ini"), "");
        QVERIFY(QFile::setPermissions(QString::fromStdString(f.file("qelm.ini")),
                                      QFileDevice::ReadOwner));
        showOptions(f);
        QVERIFY(f.messages.errors.isEmpty());
        f.files.answers.push_back(QStringLiteral("/x/staidx0.mul"));
        const FileChoice choice = fileChoice(f.windows().options(), QStringLiteral("Staidx"));
        QTest::mouseClick(choice.button, Qt::LeftButton);
        const QString message = QStringLiteral("Unable to write to %1.")
                                    .arg(QString::fromStdString(f.file("qelm.ini")));
        QCOMPARE(f.messages.errors, QStringList{message});
        // The edit shows the new path although the file could not keep it.
        QCOMPARE(choice.edit->text(), QStringLiteral("/x/staidx0.mul"));
        QTest::mouseClick(OptionsControls(f.windows().options()).unixLineEnds, Qt::LeftButton);
        QCOMPARE(f.messages.errors.size(), 2);
    }

    void keyboardFocusOrder() {
        WindowsFixture f;
        ui::OptionsDialog &dialog = f.windows().options();
        const OptionsControls c(dialog);
        const QList<QWidget *> expected = {
            c.staidx,       c.statics,      c.chooseStaidx, c.chooseStatics,
            c.artIdx,       c.art,          c.hues,         c.tiledata,
            c.chooseArtIdx, c.chooseArt,    c.chooseHues,   c.chooseTiledata,
            c.worldFile,    c.unixLineEnds, c.map,          c.chooseWorldFile,
            c.ok,           c.itemFiles};
        QList<QWidget *> order;
        QWidget *w = c.staidx;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order.append(w);
            w = w->nextInFocusChain();
        } while (w != c.staidx && order.size() < 40);
        QCOMPARE(order, expected);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "tst_optionsdialog.moc"
