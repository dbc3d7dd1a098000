#pragma once

#include <array>

namespace moji {

// The hint topic of every screen; the screen sets it, with section 1 and mode 1, when it
// becomes active. Topic 3 belongs to no screen.
namespace HintTopics {
constexpr int MainMenu = 1;
constexpr int MatchingGame = 2;
constexpr int ModeMenu = 4;
constexpr int KanjiBoard = 5;
constexpr int KanjiGrades = 6;
constexpr int PlayerSelection = 7;
constexpr int PracticeLevels = 8;
constexpr int Scoring = 9;
constexpr int GradesOverview = 10;
constexpr int StudyHistory = 11;
constexpr int QuestionSession = 12;
constexpr int Registration = 13;
constexpr int CatcherGame = 14;
} // namespace HintTopics

// Sections the question session sets while a question is on screen.
namespace HintSections {
constexpr int Screen = 1;
constexpr int Answer = 2;       // the kana chart (reading) or the first writing view
constexpr int RadicalGroups = 3; // writing: a part route is under way, groups showing
constexpr int Parts = 4;         // writing: the parts of a group are showing
constexpr int KanjiList = 5;     // writing: the kanji with the chosen part are showing
} // namespace HintSections

struct HintContext {
    int topic;
    int section;
    int mode;
    friend bool operator==(const HintContext&, const HintContext&) = default;
};

// Every context the screens can ask the hint screen for; Hint.dat must cover each.
inline constexpr std::array<HintContext, 19> UsedHintContexts = {{
    {HintTopics::MainMenu, 1, 1},
    {HintTopics::MatchingGame, 1, 1},
    {HintTopics::ModeMenu, 1, 1},
    {HintTopics::KanjiBoard, 1, 1},
    {HintTopics::KanjiGrades, 1, 1},
    {HintTopics::PlayerSelection, 1, 1},
    {HintTopics::PracticeLevels, 1, 1},
    {HintTopics::Scoring, 1, 1},
    {HintTopics::GradesOverview, 1, 1},
    {HintTopics::StudyHistory, 1, 1},
    {HintTopics::QuestionSession, 1, 1},
    // The question session always asks in its study mode, also before the first question.
    {HintTopics::QuestionSession, 1, 2},
    {HintTopics::Registration, 1, 1},
    {HintTopics::CatcherGame, 1, 1},
    {HintTopics::QuestionSession, HintSections::Answer, 1},
    {HintTopics::QuestionSession, HintSections::Answer, 2},
    {HintTopics::QuestionSession, HintSections::RadicalGroups, 2},
    {HintTopics::QuestionSession, HintSections::Parts, 2},
    {HintTopics::QuestionSession, HintSections::KanjiList, 2},
}};

} // namespace moji
