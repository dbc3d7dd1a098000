#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace moji {

// The soft yellow, rounded look of the buttons a child presses beside the program's picture
// buttons (the kanji board's lists, the handwriting pad, the review's stroke order): darker
// when pointed at and when pressed, greyed when disabled. It styles push and tool buttons
// alike.
QString friendlyButtonStyle();

// Such a push button at `geometry`, its text bold at `pixels`, taking no keyboard focus.
QPushButton* friendlyButton(const QString& text, const char* name, const QRect& geometry, int pixels, QWidget* parent);

} // namespace moji
