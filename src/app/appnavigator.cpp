#include "appnavigator.h"

#include "errors.h"
#include "program.h"
#include "tf_game1.h"
#include "tf_game3.h"
#include "tf_k_ichiran.h"
#include "tf_kseiseki1.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_renshuu.h"
#include "tf_seiseki1.h"
#include "tf_seiseki2.h"
#include "tf_settei.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

#include <QApplication>

namespace moji {

void AppNavigator::show(Screen screen)
{
    // A screen that finishes while the program ends opens nothing after it.
    if (m_program.ending)
        return;
    try {
        open(screen);
    } catch (const DataError& e) {
        // A screen that cannot be built from its files (a damaged picture): say which file,
        // and end the program as on any data file that fails.
        endProgramWithError(m_program, QApplication::activeWindow(), errorReportText(e));
    }
}

void AppNavigator::open(Screen screen)
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
    case Screen::ModeMenu:
        if (!m_modeMenu)
            m_modeMenu = new TF_Mode(m_program);
        m_modeMenu->showScreen();
        return;
    case Screen::PracticeLevels:
        (new TF_Renshuu(m_program))->showScreen();
        return;
    case Screen::QuestionSession:
        (new TF_Shutsudai(m_program))->showScreen();
        return;
    case Screen::MatchingGame:
        (new TF_Game1(m_program))->showScreen();
        return;
    case Screen::CatcherGame:
        (new TF_Game3(m_program))->showScreen();
        return;
    case Screen::GradesOverview:
        // Back from a pupil's history the overview is shown again as it was.
        if (!m_gradesOverview)
            m_gradesOverview = new TF_Seiseki1(m_program);
        m_gradesOverview->showScreen();
        return;
    case Screen::StudyHistory:
        (new TF_Seiseki2(m_program))->showScreen();
        return;
    case Screen::KanjiGrades:
        (new TF_KSeiseki1(m_program))->showScreen();
        return;
    case Screen::KanjiBoard:
        (new TF_K_ichiran(m_program))->showScreen();
        return;
    }
}

void AppNavigator::openSettings(QWidget* parent)
{
    if (m_program.ending)
        return;
    TF_Settei dialog(m_program, parent);
    dialog.exec();
}

} // namespace moji
