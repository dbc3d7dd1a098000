#include "appnavigator.h"

#include "placeholderscreen.h"
#include "program.h"
#include "tf_main.h"

namespace moji {

namespace {

QString titleOf(Screen screen)
{
    switch (screen) {
    case Screen::PlayerSelection: return QStringLiteral("べんきょうするのはだれかな？");
    case Screen::GradesOverview: return QStringLiteral("せいせき");
    case Screen::Registration: return QStringLiteral("なまえのとうろく");
    default: return QStringLiteral("もじまる");
    }
}

} // namespace

void AppNavigator::show(Screen screen)
{
    if (screen == Screen::MainMenu) {
        m_main.showScreen();
        return;
    }
    auto* next = new PlaceholderScreen(m_program, titleOf(screen));
    next->showScreen();
}

void AppNavigator::openSettings(QWidget* parent)
{
    m_program.messages.information(parent, QStringLiteral("せっていがめんは　じゅんびちゅうです。"));
}

} // namespace moji
