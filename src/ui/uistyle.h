// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>
#include <QStringList>

class QLabel;
class QWidget;

namespace tessaplex::ui {

// The silver (192, 192, 192) of the grid, the line window and search fields and the Options
// dialog's edits.
inline const QColor Silver{192, 192, 192};

// Gives the widget a silver base and window colour; the widget fills its background itself.
void setSilverBackground(QWidget &widget);

// Places the window so that its client area is centred on the primary screen.
void centreOnScreen(QWidget &window);

// Shows the window application-modal and makes it the active window. Returns at once: the
// dialogs' own buttons do the rest, so no nested event loop is needed.
void showModally(QWidget &window);

// Makes child a child of parent at the given place (left, top, width, height in pixels).
template <typename Widget> Widget *place(Widget *child, int left, int top, int width, int height) {
    child->setGeometry(QRect(left, top, width, height));
    return child;
}

// Gives child the object name by which it is found among its window's children (the window
// tests and the screenshot tool reach the controls so, not through the window's interface).
template <typename Widget> Widget *named(Widget *child, const char *name) {
    child->setObjectName(QString::fromLatin1(name));
    return child;
}

// Shows text in the label, cut with an ellipsis where it is wider than a one-line label or, in a
// word-wrapping label, needs more lines than the label's height holds; the tooltip then holds
// the whole text.
void setElidedText(QLabel &label, const QString &text);

// Shrinks the window's font by steps of half a point until every caption of its buttons, labels
// and check boxes fits its control, so that no caption is cut off at the fixed sizes; keeps the
// font when everything fits. Never goes below 6 points.
void fitFontToCaptions(QWidget &window);

// The captions of the window's controls that do not fit their controls in the window's present
// font; empty when every caption shows whole.
[[nodiscard]] QStringList clippedCaptions(const QWidget &window);

} // namespace tessaplex::ui
