#include "pitch.h"

#include <cmath>

namespace moji::audio {

std::optional<int> parsePitch(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    static constexpr int Steps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G from C
    const QChar letter = text[0].toUpper();
    if (letter < QLatin1Char('A') || letter > QLatin1Char('G'))
        return std::nullopt;
    int key = Steps[letter.unicode() - 'A'];
    qsizetype i = 1;
    for (; i < text.size() && (text[i] == QLatin1Char('#') || text[i] == QLatin1Char('b')); ++i)
        key += text[i] == QLatin1Char('#') ? 1 : -1;
    const QString octaveText = text.mid(i);
    if (octaveText.isEmpty() || octaveText.size() > 2)
        return std::nullopt;
    bool ok = false;
    const int octave = octaveText.toInt(&ok);
    if (!ok || octave < -1 || octave > 9)
        return std::nullopt;
    key += (octave + 1) * 12;
    if (key < 0 || key > 127)
        return std::nullopt;
    return key;
}

double keyFrequency(double key)
{
    return 440.0 * std::exp2((key - 69.0) / 12.0);
}

} // namespace moji::audio
