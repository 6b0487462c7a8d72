// SPDX-License-Identifier: GPL-3.0-or-later
// The Filter dialog's preview: of the ID field, of the selected entry, and an art file that
// cannot be opened.
#include "filterwindow.h"
#include "ui/filterdialog.h"
#include "ui/previewimage.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

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

class FilterPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

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

QTEST_MAIN(FilterPreviewTest)
#include "tst_filterpreview.moc"
