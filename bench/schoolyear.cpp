// A simulated school year: does ふくしゅう keep the learned kanji in memory, and what does it
// cost in progress through the steps? A class of pupils studies four sessions a week for the
// 35 weeks of the three terms, through the program's own choice of questions
// (QuestionSession::chooseQuestions), its marking (Scoring) and its recording
// (StudyState::RecordSessionResult, with the pupil's memory model following the history as in
// the program). Each pupil's true memory is FSRS with weights of their own and a difficulty
// for each kanji, drawn around the defaults, so the scheduler never knows it exactly; a pupil
// answers each question right with the true probability of recall. The same pupils, on the
// same seeds, play the year twice: the plain flow (challenges at their step, as the program
// always had them), and the same flow with every fourth session a ふくしゅう session.
//
//   schoolyear [--seed N] [--spread S] [--pupils N] [--every N]
//
// --spread scales how far the true weights lie from the defaults (1 by default; 0 makes every
// pupil the scheduler's own model); --every N makes one session in N a ふくしゅう (4 by
// default).

#include "clock.h"
#include "daynumber.h"
#include "fsrs.h"
#include "pupilmemory.h"
#include "questionsession.h"
#include "randomsource.h"
#include "review.h"
#include "scoring.h"
#include "studystate.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace moji;
using namespace moji::memory;

namespace {

// Terms of 12, 14 and 9 weeks of study, from the first Monday of April, with six weeks of summer
// holidays and two of winter ones between them; sessions on Monday, Tuesday, Thursday and
// Friday after school. In the second flow every fourth session (the Friday one) is ふくしゅう.
constexpr std::array<int, 3> TermWeeks = {12, 14, 9};
constexpr std::array<int, 2> HolidayWeeks = {6, 2};
constexpr std::array<int, 4> SessionDays = {0, 1, 3, 4};

struct Options {
    uint32_t seed = 1;
    double spread = 1.0;
    int pupils = 30;
    int every = 4;
};

// A pupil's true memory: FSRS with their own weights, each kanji and mode with a difficulty
// of its own, and the chance of knowing a kanji when first asked (taught at school, or not).
class TruePupil {
public:
    TruePupil(uint32_t seed, double spread) : m_model(weights(seed, spread))
    {
        std::mt19937_64 draw(seed * 7919u + 17u);
        std::normal_distribution<double> z;
        const double first = std::clamp(0.6 + 0.12 * spread * z(draw), 0.2, 0.95);
        m_firstRight = {first, std::clamp(first - 0.15, 0.1, 0.9)};
        for (int k = FirstKanjiNo; k < FirstKanjiNo + KanjiCount; ++k) {
            for (int m = 1; m <= 2; ++m)
                m_items[k][m].difficultyShift = 1.2 * spread * z(draw) + (m == 2 ? 0.8 * spread : 0.0);
        }
    }

    double recall(int k, int m, qint64 day) const
    {
        const Item& i = m_items[k][m];
        if (!i.asked)
            return m_firstRight[std::size_t(m - 1)];
        return m_model.retrievability(double(day - i.lastDay), i.state.stability);
    }

    void answer(int k, int m, qint64 day, bool right)
    {
        Item& i = m_items[k][m];
        const Grade g = right ? Grade::Good : Grade::Again;
        if (!i.asked) {
            i.state = m_model.first(g);
            i.state.difficulty = std::clamp(i.state.difficulty + i.difficultyShift, 1.0, 10.0);
        } else {
            i.state = m_model.next(i.state, int(day - i.lastDay), g);
        }
        i.lastDay = day;
        i.asked = true;
    }

private:
    struct Item {
        MemoryState state;
        qint64 lastDay = 0;
        bool asked = false;
        double difficultyShift = 0;
    };

    // The defaults, the first stabilities, the growth after recall, the stability after a
    // lapse and the curve's decay each scaled by a factor of the pupil's own.
    static Fsrs::Weights weights(uint32_t seed, double spread)
    {
        std::mt19937_64 draw(seed * 104729u + 3u);
        std::normal_distribution<double> z;
        Fsrs::Weights w = Fsrs::DefaultWeights;
        for (const std::size_t i : {0u, 1u, 2u, 3u, 8u, 11u, 20u})
            w[i] *= std::exp(0.25 * spread * z(draw));
        return w;
    }

    Fsrs m_model;
    std::array<double, 2> m_firstRight{};
    CheckedArray<CheckedArray<Item, 1, 2>, FirstKanjiNo, LastKanjiSlot> m_items;
};

// What one pupil's year came to.
struct YearResult {
    std::array<double, 3> recallSum{}; // of every learned kanji at the end of each term
    std::array<int, 3> learned{};
    double levelOneSum = 0; // of level 1's kanji at the year's end
    int levelOneCount = 0;
    int step = 0; // 1 = level 1 reading … 20 = level 10 writing, 21 = every level finished
    int challenges = 0, practices = 0, reviews = 0;
};

int stepNumber(const PlayerRecord& p)
{
    return p.Level > MaxLevel ? 2 * MaxLevel + 1 : 2 * (p.Level - 1) + p.Mode;
}

// One pupil's year through the program's logic, in a records folder of its own.
YearResult playYear(const QString& folder, uint32_t seed, double spread, int reviewEvery)
{
    ManualClock clock;
    StudyState state(folder, clock);
    PupilMemory memory;
    state.historyFollower = &memory;
    RandomSource random(seed);
    std::mt19937_64 luck(seed * 31u + 7u);
    std::uniform_real_distribution<double> chance;
    TruePupil pupil(seed, spread);

    state.PlayerCount = 1;
    state.Roster[1].Level = 1;
    state.Roster[1].Mode = 1;
    state.Roster[1].Name = SjisString<10>::fromUnicode(QStringLiteral("せいと"));

    YearResult result;
    int sessions = 0;
    qint64 monday = qint64(daynumber::fromDate(QDate(2026, 4, 6)));
    for (std::size_t term = 0; term < TermWeeks.size(); ++term) {
        for (int week = 0; week < TermWeeks[term]; ++week, monday += 7) {
            for (std::size_t s = 0; s < SessionDays.size(); ++s) {
                const qint64 day = monday + SessionDays[s];
                clock.set(double(day) + 16.5 / 24);
                // The pupil picks their name, then a command of the mode menu.
                state.SelectPupil(1);
                const PlayerRecord& step = state.Roster[1];
                std::optional<ReviewPlan> plan;
                if (reviewEvery > 0 && ++sessions % reviewEvery == 0)
                    plan = planReview(learnedByRecall(memory, step.Level, step.Mode, day));
                if (plan) {
                    prepareReviewSession(state, *plan);
                    ++result.reviews;
                } else if (step.Level <= MaxLevel) {
                    state.SessionKind = true;
                    state.ReviewSession = false;
                    state.CurrentLevel = step.Level;
                    state.StudyMode = step.Mode;
                    ++result.challenges;
                } else {
                    // Every level finished: practice of a level and mode of their choice.
                    state.SessionKind = false;
                    state.ReviewSession = false;
                    state.CurrentLevel = int16_t(1 + random.Random(MaxLevel));
                    state.StudyMode = int16_t(1 + random.Random(2));
                    ++result.practices;
                }
                QuestionSession session(state, random, clock);
                session.chooseQuestions();
                for (int q = 1; q <= QuestionSession::Questions; ++q) {
                    QuizItem& item = state.QuizSet[q];
                    const bool right = chance(luck) < pupil.recall(item.KanjiNo, state.StudyMode, day);
                    pupil.answer(item.KanjiNo, state.StudyMode, day, right);
                    item.Answer = SjisString<10>::fromUnicode(QStringLiteral("こたえ"));
                    item.Given = right ? item.Answer : SjisString<10>();
                }
                Scoring scoring(state);
                while (scoring.nextRow()) {
                }
                // A passed session is recorded once its mistakes are corrected, as counting.
                state.RecordSessionResult(scoring.ending() != Scoring::Ending::Failed);
            }
        }
        // The last school day of the term (Friday).
        const qint64 termEnd = monday - 3;
        const PlayerRecord& step = state.Roster[1];
        for (int k = FirstKanjiNo; k < FirstKanjiNo + KanjiCount; ++k) {
            for (int m = 1; m <= 2; ++m) {
                if (!stepCompleted(step.Level, step.Mode, k, m))
                    continue;
                const double r = pupil.recall(k, m, termEnd);
                result.recallSum[term] += r;
                ++result.learned[term];
                if (term + 1 == TermWeeks.size() && k <= lastKanjiOfLevel(1)) {
                    result.levelOneSum += r;
                    ++result.levelOneCount;
                }
            }
        }
        if (term < HolidayWeeks.size())
            monday += 7 * HolidayWeeks[term];
    }
    result.step = stepNumber(state.Roster[1]);
    return result;
}

struct ClassResult {
    std::array<double, 3> recall{};
    double levelOne = 0;
    double meanStep = 0;
    double learnedPerPupil = 0;
    int finished = 0; // pupils who finished every level
    int challenges = 0, practices = 0, reviews = 0;
};

// The class's year, with one session in `reviewEvery` a ふくしゅう (none when 0).
ClassResult playClass(const Options& o, int reviewEvery, const QString& base)
{
    YearResult total;
    double steps = 0;
    int finished = 0;
    for (int p = 0; p < o.pupils; ++p) {
        QTemporaryDir dir(base + QStringLiteral("/mojimaru-year-XXXXXX"));
        if (!dir.isValid()) {
            std::fprintf(stderr, "schoolyear: cannot make a folder in %s\n", qPrintable(base));
            std::exit(1);
        }
        const YearResult y = playYear(dir.path(), o.seed * 1000u + uint32_t(p), o.spread, reviewEvery);
        for (std::size_t t = 0; t < 3; ++t) {
            total.recallSum[t] += y.recallSum[t];
            total.learned[t] += y.learned[t];
        }
        total.levelOneSum += y.levelOneSum;
        total.levelOneCount += y.levelOneCount;
        steps += y.step;
        finished += y.step == 2 * MaxLevel + 1 ? 1 : 0;
        total.challenges += y.challenges;
        total.practices += y.practices;
        total.reviews += y.reviews;
    }
    ClassResult c;
    for (std::size_t t = 0; t < 3; ++t)
        c.recall[t] = total.learned[t] > 0 ? 100.0 * total.recallSum[t] / total.learned[t] : 0.0;
    c.levelOne = total.levelOneCount > 0 ? 100.0 * total.levelOneSum / total.levelOneCount : 0.0;
    c.meanStep = steps / o.pupils;
    c.learnedPerPupil = double(total.learned[2]) / o.pupils;
    c.finished = finished;
    c.challenges = total.challenges;
    c.practices = total.practices;
    c.reviews = total.reviews;
    return c;
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        try {
            if (arg == "--seed")
                o.seed = uint32_t(std::stoul(value));
            else if (arg == "--spread")
                o.spread = std::stod(value);
            else if (arg == "--pupils")
                o.pupils = std::stoi(value);
            else if (arg == "--every")
                o.every = std::stoi(value);
            else
                return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    return o.spread >= 0 && o.spread <= 10 && o.pupils >= 1 && o.pupils <= 10000 && o.every >= 1 && o.every <= 100;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: schoolyear [--seed N] [--spread S (0 to 10)] [--pupils N] [--every N]\n");
        return 2;
    }
    // Every session is flushed to disk as the program does; memory is faster where there is one.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();

    const ClassResult plain = playClass(o, 0, base);
    const ClassResult review = playClass(o, o.every, base);

    std::printf("A school year of %d pupils: 4 sessions a week, terms of %d, %d and %d weeks, one session in %d a review;"
                " seed %u, spread %.2f\n",
                o.pupils, TermWeeks[0], TermWeeks[1], TermWeeks[2], o.every, o.seed, o.spread);
    std::printf("%-46s %16s %16s\n", "", "the plain flow", "with review");
    const char* const terms[3] = {"mean recall of learned kanji, end of term 1", "mean recall of learned kanji, end of term 2",
                                  "mean recall of learned kanji, year end"};
    for (std::size_t t = 0; t < 3; ++t)
        std::printf("%-46s %14.1f %% %14.1f %%\n", terms[t], plain.recall[t], review.recall[t]);
    std::printf("%-46s %14.1f %% %14.1f %%\n", "recall of level 1's kanji at year end", plain.levelOne, review.levelOne);
    std::printf("%-46s %16.1f %16.1f\n", "kanji learned per pupil (reading + writing)", plain.learnedPerPupil,
                review.learnedPerPupil);
    std::printf("%-46s %16.1f %16.1f\n", "mean step reached (21 = every level)", plain.meanStep, review.meanStep);
    std::printf("%-46s %16d %16d\n", "pupils who finished every level", plain.finished, review.finished);
    std::printf("%-46s %16s %16s\n", "sessions: challenge / practice / review",
                (std::to_string(plain.challenges) + " / " + std::to_string(plain.practices) + " / " + std::to_string(plain.reviews)).c_str(),
                (std::to_string(review.challenges) + " / " + std::to_string(review.practices) + " / " + std::to_string(review.reviews)).c_str());
    const double change = plain.meanStep > 0 ? 100.0 * (review.meanStep - plain.meanStep) / plain.meanStep : 0.0;
    std::printf("year-end recall of learned kanji: plain flow %.1f %%, with review %.1f %% (%+.1f points); mean step: %.1f vs %.1f (%+.1f %%)\n",
                plain.recall[2], review.recall[2], review.recall[2] - plain.recall[2], plain.meanStep, review.meanStep, change);
    return 0;
}
