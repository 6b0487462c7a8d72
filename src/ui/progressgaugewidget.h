// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/progressgauge.h"

#include <QWidget>

namespace tessaplex::ui {

// The progress gauge as a horizontal bar filled from the left, with the percentage in its middle.
// Commands run on the user-interface thread, so it repaints at once whenever its percentage
// changes instead of waiting for the event loop.
class ProgressGaugeWidget : public QWidget, public ProgressGauge {
    Q_OBJECT
public:
    explicit ProgressGaugeWidget(QWidget *parent = nullptr);

protected:
    void percentChanged(int percent) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tessaplex::ui
