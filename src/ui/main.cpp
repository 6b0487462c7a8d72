// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaplex"));
    QLabel placeholder(QStringLiteral("Tessaplex"));
    placeholder.show();
    return QApplication::exec();
}
