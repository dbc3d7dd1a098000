#include "programrun.h"

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
#include <QEvent>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace moji {

namespace {

// Calls back once, on the first paint of a widget.
class FirstPaint : public QObject {
public:
    FirstPaint(TF_Main& menu, std::function<void(TF_Main&)> callback) : m_menu(menu), m_callback(std::move(callback)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_callback) {
            auto callback = std::move(m_callback);
            m_callback = nullptr;
            callback(m_menu);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TF_Main& m_menu;
    std::function<void(TF_Main&)> m_callback;
};

} // namespace

int runProgram(int argc, char** argv, const RunHooks& hooks)
{
    SingleInstance instance;
    if (!instance.acquire())
        return 0; // another copy runs: end at once, showing nothing

    const ScreenInfo screen = prepareDisplay(argc, argv);
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

    SystemClock clock;
    RandomSource random;
    StudyState state(hooks.programFolder.isEmpty() ? QApplication::applicationDirPath() : hooks.programFolder, clock);
    state.settingsPath = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/Mojimaru.ini");
    const auto audio = createSdlAudio();
    HelpWindow help(state.pathOf(QStringLiteral("Mojimaru3.hlp")));
    MessageBoxes messages;
    Program program(state, clock, random, *audio, help, messages);
    installHints(program);
    const QPixmap hand(QStringLiteral(":/hand-cursor.png"));
    if (!hand.isNull())
        program.handCursor = QCursor(hand, HandCursorHotX, HandCursorHotY);

    TF_Main mainMenu(program, screen);
    AppNavigator navigator(program, mainMenu);
    program.navigator = &navigator;
    FirstPaint watcher(mainMenu, hooks.firstPaint);
    if (hooks.firstPaint)
        mainMenu.installEventFilter(&watcher);
    if (!mainMenu.FormCreate())
        return 0;
    mainMenu.showScreen();
    return app.exec();
}

} // namespace moji
