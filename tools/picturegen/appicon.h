#pragma once

#include "canvas.h"

#include <QByteArray>
#include <QImage>

namespace moji::pictures {

// The program's icon for the desktop's menus and task bars: a practice square with the kanji
// 字 and a teacher's red flower circle (はなまる), on a blue tile. Drawn on a 100-unit square;
// outside the tile stays transparent.
void drawAppIcon(Canvas& canvas);

// The icon at `pixels` square, antialiased, transparent around the tile.
QImage appIcon(int pixels);
// The scalable icon (SVG).
QByteArray appIconSvg();

} // namespace moji::pictures
