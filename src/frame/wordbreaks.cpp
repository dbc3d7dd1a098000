#include "wordbreaks.h"

#include <QFontMetrics>
#include <QLabel>

namespace moji {

namespace {

constexpr QChar WordJoiner(0x2060);

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('\n') || c == QLatin1Char('\t');
}

// A line may break after these,
bool breaksAfter(QChar c)
{
    static const QString marks = QStringLiteral("、。，．！？：」』）】・");
    return isSpace(c) || marks.contains(c);
}

// and before these.
bool breaksBefore(QChar c)
{
    static const QString marks = QStringLiteral("「『（【");
    return isSpace(c) || marks.contains(c);
}

// Folder, file and computer names are written in Latin letters, digits and signs.
bool isNameCharacter(QChar c)
{
    return c.unicode() > 0x20 && c.unicode() < 0x7f;
}

// The words of a text and what lies between them, as [start, end) pairs of each word.
QList<std::pair<qsizetype, qsizetype>> words(const QString& text)
{
    QList<std::pair<qsizetype, qsizetype>> found;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || isSpace(text[i]) || (i > start && (breaksAfter(text[i - 1]) || breaksBefore(text[i])));
        if (!end)
            continue;
        if (i > start)
            found.append({start, i});
        start = i < text.size() && isSpace(text[i]) ? i + 1 : i;
    }
    return found;
}

// The word with the name in it shortened in the middle to fit `width`, keeping whatever
// comes before and after the name ("コンピューター（kodo…-pc）の"). A word with no name in it
// is left whole, however wide: the box grows to hold it.
QString shortenedWord(const QString& word, const QFontMetrics& metrics, int width)
{
    qsizetype first = 0;
    while (first < word.size() && !isNameCharacter(word[first]))
        ++first;
    qsizetype last = word.size();
    while (last > first && !isNameCharacter(word[last - 1]))
        --last;
    if (last - first < 2)
        return word;
    const QString before = word.left(first);
    const QString after = word.mid(last);
    const int room = std::max(width - metrics.horizontalAdvance(before + after), metrics.horizontalAdvance(QStringLiteral("MM…MM")));
    const QString name = word.mid(first, last - first);
    // A path keeps its file's name whole when it can: the folders give way.
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const QString file = slash > 0 ? name.mid(slash) : QString();
    const int fileWidth = metrics.horizontalAdvance(file);
    if (!file.isEmpty() && fileWidth < room / 2)
        return before + metrics.elidedText(name.left(slash), Qt::ElideMiddle, room - fileWidth) + file + after;
    return before + metrics.elidedText(name, Qt::ElideMiddle, room) + after;
}

} // namespace

QString keepWordsWhole(const QString& text)
{
    QString joined;
    joined.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (i > 0 && c != WordJoiner && text[i - 1] != WordJoiner && !c.isLowSurrogate() && !breaksAfter(text[i - 1])
            && !breaksBefore(c))
            joined += WordJoiner;
        joined += c;
    }
    return joined;
}

QString withoutWordJoiners(const QString& text)
{
    QString plain = text;
    return plain.remove(WordJoiner);
}

QString boxLines(const QString& text, const QFontMetrics& metrics, int lineWidth)
{
    const QString plain = withoutWordJoiners(text);
    QString fitted;
    qsizetype done = 0;
    for (const auto& [start, end] : words(plain)) {
        fitted += plain.mid(done, start - done);
        const QString word = plain.mid(start, end - start);
        fitted += metrics.horizontalAdvance(word) > lineWidth ? shortenedWord(word, metrics, lineWidth) : word;
        done = end;
    }
    fitted += plain.mid(done);
    return keepWordsWhole(fitted);
}

void setWrappedText(QLabel* label, const QString& text)
{
    label->setWordWrap(true);
    label->setText(boxLines(text, label->fontMetrics(), std::max(1, label->contentsRect().width())));
}

} // namespace moji
