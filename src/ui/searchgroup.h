// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selection/searchquery.h"
#include "ui/groupbox.h"

class QLineEdit;
class QRadioButton;

namespace tessaplex::ui {

// The group "Search": mode "ID" with its field or mode "Position" with the fields X and Y, and
// the buttons "Find" and "Find Next". A click into a field switches to that field's mode.
class SearchGroup : public GroupBox {
    Q_OBJECT
public:
    explicit SearchGroup(QWidget *parent = nullptr);

    // What the fields of the chosen mode ask for now.
    [[nodiscard]] selection::SearchQuery query() const;

signals:
    void findClicked();
    void findNextClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRadioButton *m_byId = nullptr;
    QLineEdit *m_id = nullptr;
    QRadioButton *m_byPosition = nullptr;
    QLineEdit *m_x = nullptr;
    QLineEdit *m_y = nullptr;
};

} // namespace tessaplex::ui
