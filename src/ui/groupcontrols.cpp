// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/groupcontrols.h"

#include "ui/uistyle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessaplex::ui {

QPushButton *groupButton(QWidget *parent, const char *name, const char *caption, int left, int top,
                         int width, int height) {
    auto *result = new QPushButton(QString::fromLatin1(caption), parent);
    result->setAutoDefault(false);
    return named(place(result, left, top, width, height), name);
}

QLineEdit *silverEdit(QWidget *parent, const char *name, int left, int top, int width) {
    auto *edit = new QLineEdit(parent);
    setSilverBackground(*edit);
    return named(place(edit, left, top, width, FieldHeight), name);
}

QLabel *fieldLabel(QWidget *parent, const char *caption, int left, int top, int width) {
    auto *result = new QLabel(QString::fromLatin1(caption), parent);
    result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return place(result, left, top, width, FieldHeight);
}

} // namespace tessaplex::ui
