#pragma once

#include <QColor>
#include <QImage>

namespace moji::pictures {

constexpr int ButtonSize = 48;
constexpr int ButtonCount = 8;
constexpr int StarTileSize = 34;
constexpr int TwinkleTileSize = 24;
constexpr int CursorSize = 32;

// The colour of every screen the bitmaps are shown on.
const QColor Navy(0, 0, 128);

// ButtonX.bmp: the eight 48 x 48 header pictures side by side (hint, help, minimise, back,
// study, grades, registration, settings), pure white where transparent.
QImage buttonStrip();
// Stars.bmp: a lit and an unlit star in 34 x 34 tiles on one white background that the
// program floods with navy from pixel (1, 1).
QImage starTiles();
// STARS2.bmp: a bright and a dimmer twinkle in 24 x 24 tiles, pure white where transparent.
QImage twinkleTiles();
// The program's pointer: a hand pointing up, with real transparency (see handcursor.h).
QImage handCursor();

// An antialiased drawing on a transparent background as a bitmap whose pure white is the
// transparent colour: edge pixels are mixed with `backdrop`, the colour it will be shown on,
// and nothing opaque is left pure white.
QImage keyed(const QImage& drawing, const QColor& backdrop = Navy);

// Paints the area of `seed`'s colour connected to it (four-neighbour steps) with `colour`, as
// the program prepares Stars.bmp.
void floodFill(QImage& image, const QPoint& seed, const QColor& colour);

} // namespace moji::pictures
