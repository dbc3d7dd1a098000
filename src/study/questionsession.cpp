#include "questionsession.h"

#include "clock.h"
#include "filestore.h"
#include "randomsource.h"
#include "studystate.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace moji {

namespace {

const QString BankFile = QStringLiteral("Mondai1.dat");

QByteArray labelBytes(const QString& label)
{
    return cp932::trim(cp932::encodeLossy(label));
}

} // namespace

void QuestionSession::shuffle(std::array<int, Questions>& kanji)
{
    // Asked in a random order, not weakest first.
    for (int i = Questions - 1; i > 0; --i)
        std::swap(kanji[std::size_t(i)], kanji[std::size_t(m_random.Random(i + 1))]);
}

void QuestionSession::chooseQuestions()
{
    StudyState& s = m_state;
    requireRange(s.CurrentLevel, 1, MaxLevel, QString(), "CurrentLevel");
    requireRange(s.StudyMode, 1, 2, QString(), "StudyMode");
    struct Candidate {
        int kanjiNo;
        int correct;
        bool taken = false;
    };
    std::vector<Candidate> candidates;
    for (int i = 1; i <= KanjisPerLevel; ++i) {
        const int k = firstKanjiOfLevel(s.CurrentLevel) + i - 1;
        candidates.push_back({k, s.KanjiProgress[k][s.StudyMode].Correct});
    }

    std::array<int, Questions> chosen{};
    if (s.SessionKind) {
        // The kanji with the fewest correct answers first, each pick uniform among the kanji
        // tied for fewest (the k-th tie replaces the pick with a chance of 1 in k).
        for (int q = 0; q < Questions; ++q) {
            int pick = -1;
            int ties = 0;
            for (int i = 0; i < KanjisPerLevel; ++i) {
                const Candidate& c = candidates[std::size_t(i)];
                if (c.taken)
                    continue;
                if (pick < 0 || c.correct < candidates[std::size_t(pick)].correct) {
                    pick = i;
                    ties = 1;
                } else if (c.correct == candidates[std::size_t(pick)].correct && m_random.Random(++ties) == 0) {
                    pick = i;
                }
            }
            candidates[std::size_t(pick)].taken = true;
            chosen[std::size_t(q)] = candidates[std::size_t(pick)].kanjiNo;
        }
        shuffle(chosen);
    } else if (s.ReviewSession) {
        // ふくしゅう: the ten learned kanji the pupil's memory model chose, in any order.
        for (int q = 0; q < Questions; ++q) {
            const int16_t k = s.ReviewKanji[std::size_t(q)];
            requireRange(k, FirstKanjiNo, FirstKanjiNo + KanjiCount - 1, QString(), "ReviewKanji");
            chosen[std::size_t(q)] = k;
        }
        shuffle(chosen);
    } else {
        std::vector<int> left;
        for (const Candidate& c : candidates)
            left.push_back(c.kanjiNo);
        for (int q = 0; q < Questions; ++q) {
            const auto pick = left.begin() + m_random.Random(int(left.size()));
            chosen[std::size_t(q)] = *pick;
            left.erase(pick);
        }
    }

    const std::vector<AskedQuestionRecord> recent =
        s.PlayerNo >= 1 && s.PlayerNo <= MaxPlayers ? s.ReadRecentQuestions(s.PlayerNo) : std::vector<AskedQuestionRecord>();
    for (int q = 1; q <= Questions; ++q) {
        QuizItem item;
        item.KanjiNo = int16_t(chosen[std::size_t(q - 1)]);
        item.QuestionNo = int16_t(freshQuestion(item.KanjiNo, recent));
        s.QuizSet[q] = item;
    }
}

int QuestionSession::freshQuestion(int kanjiNo, const std::vector<AskedQuestionRecord>& recent)
{
    const int count = std::max(1, int(m_state.QuestionIndex[kanjiNo].QuestionCount));
    // A question the pupil was not asked in their last sessions, when the kanji has one.
    std::vector<int> fresh;
    for (int n = 1; n <= count; ++n) {
        const bool seen = std::any_of(recent.begin(), recent.end(),
                                      [&](const AskedQuestionRecord& r) { return r.KanjiNo == kanjiNo && r.QuestionNo == n; });
        if (!seen)
            fresh.push_back(n);
    }
    if (fresh.empty())
        return 1 + m_random.Random(count);
    return fresh[std::size_t(m_random.Random(int(fresh.size())))];
}

void QuestionSession::rememberAsked()
{
    StudyState& s = m_state;
    if (s.PlayerNo < 1 || s.PlayerNo > MaxPlayers)
        return;
    std::vector<AskedQuestionRecord> session;
    for (int q = 1; q <= Questions; ++q)
        session.push_back({s.QuizSet[q].KanjiNo, s.QuizSet[q].QuestionNo});
    s.RememberAskedQuestions(s.PlayerNo, session);
}

SentenceView QuestionSession::loadQuestion(int n)
{
    StudyState& s = m_state;
    QuizItem& item = s.QuizSet[n];
    const QuestionRecord record = s.ReadQuestion(item.KanjiNo, item.QuestionNo);
    const int target = record.TargetPart;
    const bool reading = s.StudyMode == 1;
    SentenceView view;
    view.target = target;
    for (int i = 1; i <= 3; ++i) {
        const QByteArray part = record.Parts[std::size_t(i - 1)];
        if (reading && i == target) {
            item.Answer = SjisString<10>::fromBytes(part);
            view.parts[std::size_t(i - 1)] = s.KanjiTable[item.KanjiNo].Glyph.toUnicode();
        } else {
            view.parts[std::size_t(i - 1)] = cp932::decodeLossy(part);
        }
    }
    if (!reading)
        item.Answer = SjisString<10>::fromBytes(s.KanjiTable[item.KanjiNo].Glyph.bytes());
    item.TargetPiece = int16_t(target);
    item.Piece1 = SjisString<20>::fromUnicode(view.parts[0].trimmed());
    item.Piece2 = SjisString<20>::fromUnicode(view.parts[1].trimmed());
    item.Piece3 = SjisString<20>::fromUnicode(view.parts[2].trimmed());
    return view;
}

SentenceView QuestionSession::storedSentence(int n) const
{
    const QuizItem& item = m_state.QuizSet[n];
    return {{item.Piece1.toUnicode(), item.Piece2.toUnicode(), item.Piece3.toUnicode()}, item.TargetPiece};
}

int QuestionSession::timeLimitMinutes() const
{
    // A limit edited outside 1 to 59 into the settings would end a session at once or not be
    // a time of day at all.
    const int limit = m_state.StudyMode == 1 ? m_state.ReadTimeLimit : m_state.WriteTimeLimit;
    return std::clamp(limit, 1, 59);
}

void QuestionSession::startClock()
{
    m_countdown.start(timeLimitMinutes() / (24.0 * 60.0));
}

std::optional<QString> QuestionSession::clockText() const
{
    const double left = std::floor(m_countdown.remaining() * 86400000.0 + 0.5);
    if (left <= 0)
        return std::nullopt;
    const qint64 seconds = qint64(left) / 1000;
    const qint64 m = seconds / 60;
    const qint64 s = seconds % 60;
    QString text = QStringLiteral("のこり");
    if (m > 0)
        text += QString::number(m) + QStringLiteral("ふん");
    return text + QString::number(s) + QStringLiteral("びょう");
}

void QuestionSession::commitAnswer(int n, const QString& label)
{
    m_state.QuizSet[n].Given = SjisString<10>::fromBytes(labelBytes(label));
}

void QuestionSession::fillRemaining(int current)
{
    if (!filestore::exists(m_state.dataPath(BankFile)))
        return;
    for (int n = current + 1; n <= Questions; ++n)
        loadQuestion(n);
}

bool QuestionSession::isAnswer(int n, const QString& label) const
{
    return m_state.QuizSet[n].Answer.bytes() == labelBytes(label);
}

int QuestionSession::nextWrong(int n) const
{
    if (n >= Questions)
        return 0;
    ++n;
    while (m_state.QuizSet[n].Correct && n < Questions)
        ++n;
    if (n == Questions && m_state.QuizSet[n].Correct)
        return 0;
    return n;
}

bool QuestionSession::wrongCorrection(int n)
{
    if (n < 1 || n > Questions)
        return false;
    int& tries = m_wrongTries[std::size_t(n)];
    ++tries;
    const bool practiceWriting = !m_state.SessionKind && m_state.StudyMode == 2;
    return m_state.ReviewHelpOn && tries == (practiceWriting ? 1 : 2);
}

} // namespace moji
