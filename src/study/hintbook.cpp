#include "hintbook.h"

#include "filestore.h"
#include "randomsource.h"
#include "studystate.h"

namespace moji {

namespace {

const QString HintFile = QStringLiteral("Hint.dat");

QStringList decodeLines(const std::array<QByteArray, 5>& lines)
{
    QStringList text;
    for (const QByteArray& line : lines)
        text << cp932::decodeLossy(line);
    return text;
}

// One line of answer, then the five empty lines the memos are given after it.
HintText answerLines(const QString& question, const QString& answer)
{
    HintText text;
    text.level1 << question;
    text.level2 << answer;
    for (int i = 0; i < 5; ++i) {
        text.level1 << QString();
        text.level2 << QString();
    }
    return text;
}

} // namespace

HintBook::HintBook(StudyState& state, RandomSource& random) : m_state(state), m_random(random) {}

void HintBook::loadIndex()
{
    if (m_state.HintIndexLoaded)
        return;
    const auto records = filestore::readRecords<HintRecord>(m_state.dataPath(HintFile), HintFile);
    if (records.empty())
        throw FileError(HintFile, QStringLiteral("no hint in the file"));
    // Filled aside and taken whole, so that a bad record leaves no half-read index behind.
    CheckedArray<HintIndexEntry, 1, MaxHints> index;
    int position = 0;
    for (const HintRecord& r : records) {
        ++position;
        requireRange(r.HintNo, 1, MaxHints, HintFile, "hint number");
        // Hints are read back by position, so a number elsewhere would show another hint.
        if (r.HintNo != position)
            throw RangeError(HintFile, QStringLiteral("hint number %1 in record %2").arg(r.HintNo).arg(position));
        index[r.HintNo] = HintIndexEntry{r.Topic, r.Section, r.Mode, r.Reserved, r.HintNo};
    }
    m_state.HintIndex = index;
    m_state.HintIndexCount = records.back().HintNo;
    m_state.HintIndexLoaded = true;
}

bool HintBook::matchesContext(const HintIndexEntry& entry) const
{
    return entry.Topic == m_state.HintTopic && entry.Section == m_state.HintSection && entry.Mode == m_state.HintMode;
}

int HintBook::firstHint() const
{
    for (int i = 1; i <= m_state.HintIndexCount; ++i) {
        if (matchesContext(m_state.HintIndex[i]))
            return m_state.HintIndex[i].HintNo;
    }
    return 1;
}

std::optional<int> HintBook::adjacentHint(int current, int step) const
{
    const int target = current + step;
    if (target < 1 || target > m_state.HintIndexCount)
        return std::nullopt;
    if (!matchesContext(m_state.HintIndex[target]))
        return std::nullopt;
    return target;
}

std::optional<HintText> HintBook::readHint(int n) const
{
    requireRange(n, 1, MaxHints, HintFile, "hint number");
    const QString path = m_state.dataPath(HintFile);
    if (!filestore::exists(path))
        return std::nullopt;
    const HintRecord record = filestore::readRecordAt<HintRecord>(path, HintFile, n - 1);
    return HintText{decodeLines(record.Level1), decodeLines(record.Level2)};
}

bool HintBook::answerHintOffered() const
{
    return m_state.HintTopic == AnswerHintTopic && m_state.HintSection != 1 && !m_state.SessionKind
           && m_state.QuizSet.contains(m_state.HintQuestion);
}

std::optional<HintText> HintBook::answerHint()
{
    if (!m_state.QuizSet.contains(m_state.HintQuestion))
        return std::nullopt;
    const QuizItem& item = m_state.QuizSet[m_state.HintQuestion];
    if (m_state.StudyMode != 1) {
        const int strokes = m_state.KanjiTable[item.KanjiNo].StrokeCount;
        return answerLines(QStringLiteral("こたえはなんかくかな？"),
                           QStringLiteral("こたえは%1かくです。").arg(strokes));
    }
    // Every kana of a reading is one two-byte character.
    const QString answer = item.Answer.toUnicode();
    if (answer.isEmpty())
        return std::nullopt;
    if (answer.size() == 1)
        return answerLines(QStringLiteral("こたえはなんもじかな？"), QStringLiteral("こたえは１もじです。"));
    switch (m_random.Random(3)) {
    case 0:
        return answerLines(QStringLiteral("こたえはなんもじかな？"),
                           QStringLiteral("こたえは%1もじです。").arg(answer.size()));
    case 1:
        return answerLines(QStringLiteral("こたえのさいしょのじはなにかな？"), answer.left(1) + QStringLiteral("です？"));
    default:
        return answerLines(QStringLiteral("こたえのさいごのじはなにかな？"), answer.right(1) + QStringLiteral("です？"));
    }
}

} // namespace moji
