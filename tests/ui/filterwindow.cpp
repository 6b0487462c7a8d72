// SPDX-License-Identifier: GPL-3.0-or-later
#include "filterwindow.h"

#include "sampleshard.h"
#include "support/artfixture.h"
#include "ui/filterdialog.h"
#include "ui/mainwindow.h"
#include "world/itemtable.h"

#include <QTest>

#include <vector>

namespace tessaplex::uitest {

namespace {

QStringList shownEntries(const ui::FilterDialog &dialog) {
    QStringList texts;
    const QListWidget *list = FilterControls(dialog).entries;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

std::string filterWorld() {
    return "[SPHERE]\r\nVERSION=0.55\r\n\r\n" + worldItem("0eed", {"ATTR=010", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=08010", "P=1001,500,0"}) +
           worldItem("0eed", {"ATTR=0", "P=1000,500,0"}) + worldItem("0eed", {"P=1000,500,0"}) +
           worldItem("0a28", {"ATTR=010", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=10", "P=1000,500,0"}) +
           worldItem("0eed", {"ATTR=010", "P=1000,501,0"});
}

constexpr std::uint16_t RedPixel = 0x7c00;  // red 31
constexpr std::uint16_t BluePixel = 0x001f; // blue 31

// A run record: a width x height rectangle of one pixel value.
std::string solidRecord(int width, int height, std::uint16_t pixel) {
    const test::ArtRow row = {test::ArtRun{0, std::vector<std::uint16_t>(width, pixel)}};
    return test::runArtRecord(std::vector<test::ArtRow>(height, row),
                              static_cast<std::uint16_t>(width));
}

} // namespace

ui::FilterDialog &showFilter(WindowsFixture &f) {
    QTest::mouseClick(f.mainControls().filter, Qt::LeftButton);
    return f.windows().filter();
}

QStringList entries(const ui::FilterDialog &dialog) {
    QStringList own;
    for (const std::string &entry : dialog.entries())
        own.append(QString::fromStdString(entry));
    return own == shownEntries(dialog) ? own : QStringList{QStringLiteral("<control differs>")};
}

int selectedRow(const ui::FilterDialog &dialog) {
    const QList<QListWidgetItem *> selected = FilterControls(dialog).entries->selectedItems();
    return selected.isEmpty() ? -1 : FilterControls(dialog).entries->row(selected.front());
}

std::string listFile(const WindowsFixture &f) {
    return f.file("qelmitem.txt");
}

QString cannot(const char *what, const std::string &path) {
    return QStringLiteral("Cannot %1 file %2.")
        .arg(QLatin1String(what), QString::fromStdString(path));
}

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

void writeArt(WindowsFixture &f) {
    test::ArtFilesBuilder art;
    art.add(0x4eed, solidRecord(6, 4, RedPixel)).add(0x4a28, solidRecord(3, 3, BluePixel));
    test::writeFile(f.file("artidx.mul"), art.indexBytes());
    test::writeFile(f.file("art.mul"), art.dataBytes());
    f.setSetting("ArtIdx", f.file("artidx.mul"));
    f.setSetting("Art", f.file("art.mul"));
}

} // namespace tessaplex::uitest
