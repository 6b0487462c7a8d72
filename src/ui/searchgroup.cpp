// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/searchgroup.h"

#include "ui/groupcontrols.h"
#include "ui/uistyle.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tessaplex::ui {

SearchGroup::SearchGroup(QWidget *parent)
    : GroupBox(QStringLiteral("Search"), parent) {
    m_byId =
        named(place(new QRadioButton(QStringLiteral("ID"), this), 8, 18, 64, 17), "searchById");
    m_byId->setChecked(true);
    m_id = silverEdit(this, "searchId", 72, 16, 105);
    m_byPosition = named(place(new QRadioButton(QStringLiteral("Position"), this), 8, 42, 64, 17),
                         "searchByPosition");
    m_x = silverEdit(this, "searchX", 72, 40, 49);
    m_y = silverEdit(this, "searchY", 128, 40, 49);
    QPushButton *find = groupButton(this, "find", "Find", 184, 16, 65);
    QPushButton *findNext = groupButton(this, "findNext", "Find Next", 184, 40, 65);

    connect(find, &QPushButton::clicked, this, &SearchGroup::findClicked);
    connect(findNext, &QPushButton::clicked, this, &SearchGroup::findNextClicked);
    for (QLineEdit *edit : {m_id, m_x, m_y})
        edit->installEventFilter(this);
}

selection::SearchQuery SearchGroup::query() const {
    if (m_byId->isChecked())
        return selection::SearchQuery::byId(m_id->text().toStdString());
    return selection::SearchQuery::byPosition(m_x->text().toStdString(), m_y->text().toStdString());
}

bool SearchGroup::eventFilter(QObject *watched, QEvent *event) {
    // Only a click switches the mode: moving into a field with the keyboard leaves it as it is.
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_id)
            m_byId->setChecked(true);
        else if (watched == m_x || watched == m_y)
            m_byPosition->setChecked(true);
    }
    return GroupBox::eventFilter(watched, event);
}

} // namespace tessaplex::ui
