// The stroke-order diagram numbers the strokes itself from Kakijun.dat: the font's kanji must lie
// where Kakijun.dat says its strokes begin and end, for every kanji of grades 1 to 3, or the
// numbers would stand beside the wrong strokes; and the font's own small numbers are gone.

#include "factkanji.h"
#include "strokediagram.h"
#include "strokeorder.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QPainter>

#include <cmath>

using namespace moji;
using namespace moji::handwriting;

namespace {

const QString FactsPath = QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv");

// Whether any ink lies within `reach` pixels of the point.
bool inkNear(const QImage& image, QPointF at, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.rect().contains(p) && qGray(image.pixel(p)) < 128)
                return true;
        }
    }
    return false;
}

} // namespace

TEST(StrokeDiagram, TheFontsKanjiLieWhereTheirStrokesAreRecorded)
{
    if (!hasStrokeOrderFont(QStringLiteral("橋")))
        GTEST_SKIP() << "fonts-kanjistrokeorders is not installed";
    StrokeOrderTable table;
    table.load(QStringLiteral(MOJIMARU_PROGRAM_DIR "/Kakijun.dat"), dictionaryOfFacts(FactsPath));
    constexpr int Side = 300;
    int ends = 0, onInk = 0;
    for (const QString& kanji : kanjiOfFacts(FactsPath)) {
        const auto* strokes = table.strokesOf(kanji);
        ASSERT_NE(strokes, nullptr);
        // The strokes alone, in black on white: the diagram without its numbers.
        QImage ink(Side, Side, QImage::Format_RGB32);
        ink.fill(Qt::white);
        const QImage drawn = strokeDiagram(kanji, strokes, Side);
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                const QRgb c = drawn.pixel(x, y);
                if (qBlue(c) > qRed(c) + 30) // the navy ink, not the red numbers nor the paper
                    ink.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
        for (const ReferenceStroke& s : *strokes) {
            ends += 2;
            onInk += inkNear(ink, onDiagram(s.start, Side), Side / 50) ? 1 : 0;
            onInk += inkNear(ink, onDiagram(s.end, Side), Side / 50) ? 1 : 0;
        }
    }
    EXPECT_GE(onInk, ends * 95 / 100) << onInk << " of " << ends << " stroke ends on the font's ink";
}

