#pragma once

class QWidget;

namespace moji {

// The full screens one screen can send the pupil to. Screens replace one another: the
// current one closes (or hides) and the next is created and shown.
enum class Screen {
    MainMenu,
    PlayerSelection,
    GradesOverview,
    Registration,
    ModeMenu,
    PracticeLevels,
    QuestionSession,
    StudyHistory,
    KanjiGrades,
    KanjiBoard,
    MatchingGame,
    CatcherGame,
};

class Navigator {
public:
    virtual ~Navigator() = default;
    virtual void show(Screen screen) = 0;
    // The settings dialog, modal over `parent`.
    virtual void openSettings(QWidget* parent) = 0;
};

} // namespace moji
