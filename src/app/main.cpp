// Program entry: one copy only, the display scaled to the design, then the main menu, whose
// creation runs start-up.

#include "appnavigator.h"
#include "clock.h"
#include "display.h"
#include "handcursor.h"
#include "helpviewer.h"
#include "program.h"
#include "randomsource.h"
#include "singleinstance.h"
#include "studystate.h"
#include "tf_hint.h"
#include "tf_main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char* argv[])
{
    moji::SingleInstance instance;
    if (!instance.acquire())
        return 0; // another copy runs: end at once, showing nothing

    const moji::ScreenInfo screen = moji::prepareDisplay(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("もじまる（小３）"));

    // The layout was drawn for MS P Gothic; IPA P Gothic keeps its metrics.
    for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック", "MS Gothic"})
        QFont::insertSubstitution(QString::fromUtf8(name), QStringLiteral("IPAPGothic"));
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));

    // Message-box buttons in Japanese (はい / いいえ / キャンセル).
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    moji::SystemClock clock;
    moji::RandomSource random;
    moji::StudyState state(QApplication::applicationDirPath(), clock);
    state.settingsPath = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/Mojimaru.ini");
    const auto audio = moji::createSdlAudio();
    moji::HelpWindow help(state.pathOf(QStringLiteral("Mojimaru3.hlp")));
    moji::MessageBoxes messages;
    moji::Program program(state, clock, random, *audio, help, messages);
    moji::installHints(program);
    const QPixmap hand(QStringLiteral(":/hand-cursor.png"));
    if (!hand.isNull())
        program.handCursor = QCursor(hand, moji::HandCursorHotX, moji::HandCursorHotY);

    moji::TF_Main mainMenu(program, screen);
    moji::AppNavigator navigator(program, mainMenu);
    program.navigator = &navigator;
    if (!mainMenu.FormCreate())
        return 0;
    mainMenu.showScreen();
    return app.exec();
}
