// SPDX-License-Identifier: GPL-3.0-or-later
// The grid model: the table's rows and cells as the grid shows them, and the mark operations,
// each telling the grid of exactly the rows whose mark it changed.
#include "base/progressgauge.h"
#include "sampleshard.h"
#include "selection/filterarea.h"
#include "ui/itemtablemodel.h"
#include "ui/mainwindow.h"
#include "ui/progressgaugewidget.h"
#include "windowsfixture.h"
#include "world/itemtable.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

using namespace tessaplex;
using uitest::fourItems;
using uitest::WindowsFixture;

namespace {

const int PatchColumn = static_cast<int>(world::Column::Patch);

} // namespace

class ItemTableModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Tessaplex")); }

    // Model row i shows table row i + 1, every cell of it.
    void gridRowsAreTheTableRows() {
        WindowsFixture f;
        f.useWorldFile(fourItems());
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        const ui::ItemTableModel &model = f.mainWindow().model();
        const world::ItemTable &table = f.mainWindow().session().table();
        QCOMPARE(model.rowCount(), table.rowCount() - 1);
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int c = 0; c < 10; ++c)
                QCOMPARE(
                    model.index(row, c).data().toString(),
                    QString::fromStdString(table.cellText(static_cast<world::Column>(c), row + 1)));
        }
        QCOMPARE(model.index(1, 6).data().toString(), QStringLiteral("1152"));
        QCOMPARE(model.index(0, 8).data().toString(), QStringLiteral("95869"));
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    }

    void beforeTheFirstAnalysisTheHeadingsAreEmpty() {
        WindowsFixture f;
        const ui::ItemTableModel &model = f.mainWindow().model();
        for (int c = 0; c < 10; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
    }

    // A mark operation of the model announces exactly the rows whose mark it changed: one
    // dataChanged over the smallest range of the "PATCH" column that covers them, or none.
    void markOperationsAnnounceTheRowsTheyChanged_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        // The marks of table rows 1 to 4 (fourItems()) as letters; top and bottom are model rows,
        // -1 for no signal. The filter "0eed" admits rows 1 and 2.
        QTest::newRow("Insert") << "set" << 2 << "NNNN"
                                << "NYNN" << 1 << 1;
        QTest::newRow("Insert on a marked row") << "set" << 2 << "NYNN"
                                                << "NYNN" << -1 << -1;
        QTest::newRow("Insert without a row") << "set" << 0 << "NNNN"
                                              << "NNNN" << -1 << -1;
        QTest::newRow("Delete") << "clear" << 3 << "YYYY"
                                << "YYNY" << 2 << 2;
        QTest::newRow("double click") << "toggle" << 4 << "NNNN"
                                      << "NNNY" << 3 << 3;
        QTest::newRow("All") << "all" << 0 << "YNNY"
                             << "YYYY" << 1 << 2;
        QTest::newRow("All, all marked") << "all" << 0 << "YYYY"
                                         << "YYYY" << -1 << -1;
        QTest::newRow("None") << "none" << 0 << "NYYN"
                              << "NNNN" << 1 << 2;
        QTest::newRow("All of ID") << "allOfId" << 1 << "NNNN"
                                   << "YYNN" << 0 << 1;
        QTest::newRow("None of block") << "noneOfBlock" << 4 << "YYYY"
                                       << "NNYN" << 0 << 3;
        QTest::newRow("All of ID beyond the table") << "allOfId" << 9 << "NNNN"
                                                    << "NNNN" << -1 << -1;
        QTest::newRow("filter") << "filter" << 0 << "NNNY"
                                << "YYNY" << 0 << 1;
        // The gauge fails when it is full: the rows marked by then stay marked and are shown.
        QTest::newRow("filter failing") << "failingFilter" << 0 << "NNNN"
                                        << "YYNN" << 0 << 1;
    }

    void markOperationsAnnounceTheRowsTheyChanged() {
        QFETCH(QString, operation);
        QFETCH(int, row);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, top);
        QFETCH(int, bottom);
        WindowsFixture f;
        f.useWorldFile(fourItems());
        f.analyse(QStringLiteral("0"), QStringLiteral("23"));
        world::ItemTable &table = f.mainWindow().session().table();
        QCOMPARE(table.rowCount(), 5);
        for (int r = 1; r < table.rowCount(); ++r)
            table.setMark(r,
                          before[r - 1] == QLatin1Char('Y') ? world::Mark::Yes : world::Mark::No);
        ui::ItemTableModel &model = f.mainWindow().model();
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        // Counts on while percentChanged() stays quiet; throws once the bar is full.
        struct FailingWhenFull : ProgressGauge {
            void percentChanged(int percent) override {
                if (percent == 100)
                    throw std::runtime_error("gauge failed");
            }
        } failing;
        bool threw = false;
        if (operation == QLatin1String("set"))
            model.setMark(row);
        else if (operation == QLatin1String("clear"))
            model.clearMark(row);
        else if (operation == QLatin1String("toggle"))
            model.toggleMark(row);
        else if (operation == QLatin1String("all"))
            model.markAll();
        else if (operation == QLatin1String("none"))
            model.unmarkAll();
        else if (operation == QLatin1String("allOfId"))
            QCOMPARE(model.markAllOf(world::Column::Id, row), row < table.rowCount());
        else if (operation == QLatin1String("noneOfBlock"))
            QVERIFY(model.unmarkAllOf(world::Column::Block, row));
        else if (operation == QLatin1String("filter"))
            model.applyFilter({"0eed"}, selection::FilterArea{}, f.mainWindow().gauge());
        else {
            try {
                model.applyFilter({"0eed"}, selection::FilterArea{}, failing);
            } catch (const std::runtime_error &) {
                threw = true;
            }
            QVERIFY(threw);
        }

        QString marks;
        for (int r = 1; r < table.rowCount(); ++r)
            marks.append(QLatin1Char(table.isMarked(r) ? 'Y' : 'N'));
        QCOMPARE(marks, after);
        QCOMPARE(changed.count(), top < 0 ? 0 : 1);
        if (top >= 0) {
            QCOMPARE(changed[0][0].value<QModelIndex>(), model.index(top, PatchColumn));
            QCOMPARE(changed[0][1].value<QModelIndex>(), model.index(bottom, PatchColumn));
        }
    }
};

QTEST_MAIN(ItemTableModelTest)
#include "tst_itemtablemodel.moc"
