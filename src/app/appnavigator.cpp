#include "appnavigator.h"

#include "placeholderscreen.h"
#include "program.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_renshuu.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

namespace moji {

namespace {

// Screens still to be built stand in with their title and the way back.
struct Pending {
    const char* title;
    Screen back;
};

Pending pending(Screen screen)
{
    switch (screen) {
    case Screen::GradesOverview: return {"せいせき", Screen::MainMenu};
    case Screen::KanjiBoard: return {"かんじのいちらん", Screen::ModeMenu};
    case Screen::KanjiGrades: return {"かんじごとのせいせき", Screen::ModeMenu};
    case Screen::MatchingGame: return {"かんじあわせゲーム", Screen::ModeMenu};
    case Screen::CatcherGame: return {"かんじキャッチャーゲーム", Screen::ModeMenu};
    case Screen::StudyHistory: return {"がくしゅうのきろく", Screen::GradesOverview};
    default: return {"もじまる", Screen::MainMenu};
    }
}

} // namespace

void AppNavigator::show(Screen screen)
{
    switch (screen) {
    case Screen::MainMenu:
        m_main.showScreen();
        return;
    case Screen::Registration:
        (new TF_Touroku(m_program))->showScreen();
        return;
    case Screen::PlayerSelection:
        // A new pupil will be chosen: the previous pupil's menu is done with.
        if (m_modeMenu)
            m_modeMenu->close();
        (new TF_Player(m_program))->showScreen();
        return;
    case Screen::PracticeLevels:
        (new TF_Renshuu(m_program))->showScreen();
        return;
    case Screen::QuestionSession:
        (new TF_Shutsudai(m_program))->showScreen();
        return;
    case Screen::ModeMenu:
        if (!m_modeMenu)
            m_modeMenu = new TF_Mode(m_program);
        m_modeMenu->showScreen();
        return;
    default: {
        const Pending p = pending(screen);
        (new PlaceholderScreen(m_program, QString::fromUtf8(p.title), p.back))->showScreen();
        return;
    }
    }
}

void AppNavigator::openSettings(QWidget* parent)
{
    m_program.messages.information(parent, QStringLiteral("せっていがめんは　じゅんびちゅうです。"));
}

} // namespace moji
