// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessaplex::ui {

// The controls inside the main window's groups, each created as a child of parent at the given
// place and with the given object name. Buttons and edits are FieldHeight high; the window
// buttons are taller.
inline constexpr int FieldHeight = 21;

// A button that Return in an edit never clicks.
QPushButton *groupButton(QWidget *parent, const char *name, const char *caption, int left, int top,
                         int width, int height = FieldHeight);
QLineEdit *silverEdit(QWidget *parent, const char *name, int left, int top, int width);
// A caption left of a field; it needs no name.
QLabel *fieldLabel(QWidget *parent, const char *caption, int left, int top, int width);

} // namespace tessaplex::ui
