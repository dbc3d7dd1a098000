#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>

namespace moji {

class CatcherGame;

// The catcher's play field as pictures, without a window: the star, the paddle and the 20
// kanji tiles, built once; the navy background; the working copy in which each frame is
// composed; and the view the screen shows, which takes each frame in one copy. Between frames
// only the 32 x 32 squares under the objects are painted back, and the paddle strip along the
// bottom is repainted on every tick.
class CatcherField {
public:
    static const QColor Navy;
    static const QColor Aqua;

    // `starStrip` is STARS2.bmp (two 24 x 24 twinkles, white transparent); the left one is
    // used, and a plain star is drawn when the picture is missing or too small. `glyphs` are
    // the kanji of the level pool, slot 1 first; `tileFont` writes them.
    CatcherField(QSize fieldSize, const QImage& starStrip, const std::array<QString, 20>& glyphs, const QFont& tileFont);

    // The whole field navy again.
    void clear();
    // Draws every shown object into the working copy, copies it to the view, then paints the
    // background back under each object in the working copy.
    void composeFrame(const CatcherGame& game);
    // The strip along the bottom of the view, navy, with the paddle at x; `flash` shows the
    // brighter paddle of a catch.
    void drawPaddleStrip(int paddleX, bool flash = false);

    const QImage& view() const { return m_view; }
    const QImage& star() const { return m_star; }
    const QImage& paddle() const { return m_paddle; }
    // The tile of pool slot 1 to 20.
    const QImage& tile(int slot) const;

private:
    QSize m_size;
    QImage m_star;  // 32 x 32, the 24 x 24 star in its middle
    QImage m_paddle;
    QImage m_flashPaddle;
    std::array<QImage, 20> m_tiles;
    QImage m_background;
    QImage m_work;
    QImage m_view;
};

} // namespace moji
