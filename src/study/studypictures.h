#pragma once

#include <QPixmap>
#include <QSize>

namespace moji {

// The two pictures the study dialogs draw themselves rather than read from a file, so that
// they are always there: a smiling light bulb for the hint screen and a sprout in a pot,
// raising a leaf for courage, for a session that did not pass. Both are drawn for `size`
// (in device-independent pixels) at the given pixel ratio, on a transparent background.
QPixmap hintBulbPicture(QSize size, qreal pixelRatio = 1.0);
QPixmap sproutPicture(QSize size, qreal pixelRatio = 1.0);

} // namespace moji
