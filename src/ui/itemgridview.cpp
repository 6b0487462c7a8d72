// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/itemgridview.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tessaplex::ui {

ItemGridView::ItemGridView(QWidget *parent)
    : QTableView(parent) {}

int ItemGridView::selectedModelRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ItemGridView::selectModelRow(int modelRow) {
    const QModelIndex index = model()->index(modelRow, 0);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

bool ItemGridView::mayMoveTo(const QModelIndex &index) {
    if (!index.isValid() || index.row() == selectedModelRow() || !m_gate)
        return true;
    return m_gate(index.row());
}

QModelIndex ItemGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    // Taking the focus would make the first row current by itself; a row becomes current only
    // when the operator or a command selects it.
    if (m_takingFocus)
        return {};
    const QModelIndex target = QTableView::moveCursor(cursorAction, modifiers);
    return mayMoveTo(target) ? target : currentIndex();
}

void ItemGridView::mousePressEvent(QMouseEvent *event) {
    if (!mayMoveTo(indexAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ItemGridView::mouseMoveEvent(QMouseEvent *event) {
    // Dragging with the button held moves the selection from row to row as well.
    if ((event->buttons() & Qt::LeftButton) && !mayMoveTo(indexAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void ItemGridView::mouseDoubleClickEvent(QMouseEvent *event) {
    // The first click has already selected the row (or been refused), so the double click acts
    // on whatever row is current now.
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedRows();
}

void ItemGridView::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Insert:
        emit insertPressed();
        break;
    case Qt::Key_Delete:
        emit deletePressed();
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void ItemGridView::focusInEvent(QFocusEvent *event) {
    m_takingFocus = true;
    QTableView::focusInEvent(event);
    m_takingFocus = false;
}

void ItemGridView::keyboardSearch(const QString &) {
    // Typing jumps to nothing: the group "Search" finds rows, and a jump here would move the
    // grid past the row selection's preview.
}

} // namespace tessaplex::ui
