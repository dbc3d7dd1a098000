#include "strokestext.h"

#include <QRegularExpression>
#include <QStringList>

namespace moji::handwriting {

namespace {
constexpr int Largest = 255;
} // namespace

std::optional<Strokes> parseStrokes(const QString& text, QString& error)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    Strokes strokes;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        Stroke stroke;
        for (const QString& word : line.split(blanks, Qt::SkipEmptyParts)) {
            const QStringList xy = word.split(QLatin1Char(','));
            bool okX = false, okY = false;
            const int x = xy.value(0).toInt(&okX);
            const int y = xy.value(1).toInt(&okY);
            if (xy.size() != 2 || !okX || !okY) {
                error = QStringLiteral("line %1: \"%2\" is not a point x,y").arg(n + 1).arg(word);
                return std::nullopt;
            }
            if (x < 0 || x > Largest || y < 0 || y > Largest) {
                error = QStringLiteral("line %1: %2 lies outside the 0..%3 square").arg(n + 1).arg(word).arg(Largest);
                return std::nullopt;
            }
            stroke.push_back({x, y});
        }
        strokes.push_back(std::move(stroke));
    }
    if (strokes.empty()) {
        error = QStringLiteral("no strokes: write one stroke per line as x,y x,y ...");
        return std::nullopt;
    }
    return strokes;
}

QString strokesToText(const Strokes& strokes)
{
    QString text;
    for (const Stroke& stroke : strokes) {
        QStringList points;
        for (const Point& p : stroke)
            points << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
        text += points.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace moji::handwriting
