// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

#include <functional>

namespace tessaplex::ui {

// The grid of the item table. It asks before its current row moves to another row, whether by
// mouse, by arrow keys or by dragging, so that the main window can refuse the move (an art
// preview that fails keeps the grid where it was). Insert, Delete and double clicks are passed
// to the main window as signals; every other key keeps its usual meaning.
class ItemGridView : public QTableView {
    Q_OBJECT
public:
    explicit ItemGridView(QWidget *parent = nullptr);

    // Called with the model row the grid is about to move to; returning false keeps the grid on
    // its current row. Not called when the row stays the same.
    using RowChangeGate = std::function<bool(int modelRow)>;
    void setRowChangeGate(RowChangeGate gate) { m_gate = std::move(gate); }

    // The model row the grid has selected, or -1 when none.
    [[nodiscard]] int selectedModelRow() const;
    // Makes modelRow the selected and current row and scrolls it into view, without asking the
    // gate (the caller has done the row's work) and without taking the keyboard focus.
    void selectModelRow(int modelRow);

signals:
    void insertPressed();
    void deletePressed();
    // A double click anywhere on the rows.
    void doubleClickedRows();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // Whether the grid may move to index: always when it stays on its row.
    bool mayMoveTo(const QModelIndex &index);

    RowChangeGate m_gate;
    bool m_takingFocus = false;
};

} // namespace tessaplex::ui
