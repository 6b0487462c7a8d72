// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/uistyle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace tessaplex::ui {

namespace {

// A button's caption without its accelerator marks, as it is drawn.
QString shownText(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The room a caption needs inside its control with the given metrics.
bool captionFits(const QWidget &widget, const QFontMetrics &metrics) {
    const QStyle *style = widget.style();
    if (const auto *box = qobject_cast<const QGroupBox *>(&widget)) {
        if (box->title().isEmpty())
            return true;
        return metrics.horizontalAdvance(shownText(box->title())) + 16 <= box->width();
    }
    if (qobject_cast<const QCheckBox *>(&widget) || qobject_cast<const QRadioButton *>(&widget)) {
        const auto *button = static_cast<const QAbstractButton *>(&widget);
        const bool check = qobject_cast<const QCheckBox *>(&widget) != nullptr;
        const int indicator = style->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                                       : QStyle::PM_ExclusiveIndicatorWidth,
                                                 nullptr, &widget) +
                              style->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                                       : QStyle::PM_RadioButtonLabelSpacing,
                                                 nullptr, &widget);
        return indicator + metrics.horizontalAdvance(shownText(button->text())) <=
                   button->width() &&
               metrics.height() <= button->height() + 2;
    }
    if (const auto *button = qobject_cast<const QPushButton *>(&widget)) {
        return metrics.horizontalAdvance(shownText(button->text())) + 6 <= button->width() &&
               metrics.ascent() + metrics.descent() <= button->height();
    }
    if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        if (label->text().isEmpty() || label->wordWrap())
            return true;
        return metrics.horizontalAdvance(label->text()) <= label->width() &&
               metrics.ascent() + metrics.descent() <= label->height() + 1;
    }
    return true;
}

QString captionOf(const QWidget &widget) {
    if (const auto *box = qobject_cast<const QGroupBox *>(&widget))
        return box->title();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    return {};
}

// The captions that do not fit with font; a control with a font of its own (the About notice)
// is measured with that font.
QStringList captionsNotFitting(const QWidget &window, const QFont *font) {
    QStringList clipped;
    const auto children = window.findChildren<QWidget *>();
    for (const QWidget *child : children) {
        const bool ownFont = child->testAttribute(Qt::WA_SetFont);
        if (font && ownFont)
            continue;
        const QFontMetrics metrics(font && !ownFont ? *font : child->font());
        if (!captionFits(*child, metrics))
            clipped.append(captionOf(*child));
    }
    return clipped;
}

bool allCaptionsFit(const QWidget &window, const QFont &font) {
    return captionsNotFitting(window, &font).isEmpty();
}

} // namespace

void setSilverBackground(QWidget &widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, Silver);
    palette.setColor(QPalette::Window, Silver);
    palette.setColor(QPalette::Button, Silver);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void centreOnScreen(QWidget &window) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.left() + (area.width() - window.width()) / 2,
                area.top() + (area.height() - window.height()) / 2);
}

void showModally(QWidget &window) {
    if (window.windowModality() != Qt::ApplicationModal)
        window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
}

void setElidedText(QLabel &label, const QString &text) {
    const QFontMetrics metrics = label.fontMetrics();
    QString shown = metrics.elidedText(text, Qt::ElideRight, label.width());
    if (label.wordWrap()) {
        const QRect room(0, 0, label.width(), label.height());
        const auto fits = [&](const QString &candidate) {
            return metrics.boundingRect(room, Qt::TextWordWrap, candidate).height() <=
                   room.height();
        };
        QStringList words = text.split(QLatin1Char(' '));
        shown = text;
        while (!fits(shown) && words.size() > 1) {
            words.removeLast();
            QString kept = words.join(QLatin1Char(' '));
            if (kept.endsWith(QLatin1Char(',')))
                kept.chop(1);
            shown = kept + QStringLiteral(" \u2026");
        }
    }
    label.setText(shown);
    label.setToolTip(shown == text ? QString() : text);
}

void fitFontToCaptions(QWidget &window) {
    QFont font = window.font();
    const bool inPoints = font.pointSizeF() > 0;
    qreal size = inPoints ? font.pointSizeF() : font.pixelSize();
    const qreal step = inPoints ? 0.5 : 1;
    const qreal smallest = inPoints ? 6 : 8;
    bool changed = false;
    while (!allCaptionsFit(window, font) && size - step >= smallest) {
        size -= step;
        if (inPoints)
            font.setPointSizeF(size);
        else
            font.setPixelSize(static_cast<int>(size));
        changed = true;
    }
    if (changed)
        window.setFont(font);
}

QStringList clippedCaptions(const QWidget &window) {
    return captionsNotFitting(window, nullptr);
}

} // namespace tessaplex::ui
