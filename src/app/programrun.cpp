#include "programrun.h"

#include "handcursor.h"
#include "programfolder.h"
#include "singleinstance.h"
#include "startuptrace.h"
#include "systemsignals.h"
#include "tf_hint.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

namespace moji {

namespace {

// How long a second start waits for the running copy to answer.
constexpr int AskToComeForwardMilliseconds = 2000;

// Calls back once, on the first paint of a widget.
class FirstPaint : public QObject {
public:
    FirstPaint(TF_Main& menu, std::function<void(TF_Main&)> callback) : m_menu(menu), m_callback(std::move(callback)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_callback && !m_menu.underLoadingNotice()) {
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

void setUpApplication()
{
    QApplication::setApplicationDisplayName(QStringLiteral("もじまる（小３）"));
    // The desktop's menu entry, so that a task bar shows the program as the menu does.
    QGuiApplication::setDesktopFileName(QStringLiteral(MOJIMARU_APP_ID));
    // The layout was drawn for MS P Gothic; IPA P Gothic keeps its metrics.
    for (const char* name : {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック", "MS Gothic"})
        QFont::insertSubstitution(QString::fromUtf8(name), QStringLiteral("IPAPGothic"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic")));

    // Message-box buttons in Japanese (はい / いいえ / キャンセル).
    auto* japanese = new QTranslator(qApp);
    if (japanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(japanese);
}

void setApplicationIcon()
{
    // Sizes a task bar and Alt+Tab show; the desktop's menus take the installed theme's. Every
    // window carries each size as an X property: a 256-pixel one would cost a quarter megabyte.
    QIcon icon;
    for (const char* size : {"48x48", "128x128"})
        icon.addFile(QStringLiteral(":/icons/%1/apps/" MOJIMARU_APP_ID ".png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
}

ProgramServices::ProgramServices(const QString& programFolder, const QString& settingsPath, const ScreenInfo& screen,
                                 const Clock* clock, Messages* messages, bool musicOnSilentOutputs)
    : m_clock(clock ? *clock : m_systemClock), m_state(programFolder, m_clock),
      m_audio(createSdlAudio(m_state.dataPath(QStringLiteral("Music.sf2")), musicOnSilentOutputs)), m_help(m_state.dataPath(QStringLiteral("Mojimaru3.hlp"))),
      m_program(m_state, m_clock, m_random, *m_audio, m_help, messages ? *messages : m_messages),
      m_mainMenu(m_program, screen),
      m_navigator(m_program, m_mainMenu)
{
    m_state.settingsPath = settingsPath;
    m_program.navigator = &m_navigator;
    installHints(m_program);
    const QPixmap hand(QStringLiteral(":/hand-cursor.png"));
    if (!hand.isNull())
        m_program.handCursor = QCursor(hand, HandCursorHotX, HandCursorHotY);
}

bool ProgramServices::start()
{
    return m_mainMenu.FormCreate();
}

void ProgramServices::finishStart()
{
    if (!m_program.recognizer)
        m_program.recognizer = createSchoolRecognizer(m_state);
}

int runProgram(int argc, char** argv, const RunHooks& hooks)
{
    traceStartup("entered");
    // Before anything else can take them: a signal ends the program from the first step to the
    // last.
    SystemSignals systemSignals;
    SingleInstance instance;
    const SingleInstance::Outcome lock = instance.acquire();
    traceStartup("single-instance lock");
    if (lock == SingleInstance::Outcome::HeldByAnotherCopy) {
        // Another copy runs: it comes to the front (a parent who starts the program again
        // finds it), and this one ends.
        QCoreApplication app(argc, argv);
        instance.askHolderToComeForward(AskToComeForwardMilliseconds);
        return 0;
    }

    PreparedDisplay display = prepareDisplay(argc, argv);
    const ScreenInfo screen = display.screen;
    traceStartup("screen probed");
    QApplication app(argc, argv);
    display.probe.reset();
    traceStartup("application");
    setUpApplication();
    traceStartup("application set up");

    // During start-up nothing read needs writing back: a signal closes the box that may be
    // open (a damaged file, the records in use) and start-up stops. Once the main menu is up it
    // is the exit command, from wherever the pupil is.
    Program* program = nullptr;
    TF_Main* menu = nullptr;
    bool endAsked = false;
    QObject::connect(&systemSignals, &SystemSignals::endRequested, &app, [&] {
        if (menu) {
            menu->endFromOutside();
            return;
        }
        endAsked = true;
        if (program)
            program->ending = true;
        closeEveryBox();
    });
    systemSignals.listen();

    if (lock == SingleInstance::Outcome::Failed) {
        // Without the lock a second copy could run beside this one on the same files.
        MessageBoxes boxes;
        (hooks.messages ? *hooks.messages : boxes).error(nullptr, fileErrorMessage(instance.path()));
        return 1;
    }
    const ProgramFolder folder = hooks.programFolder.isEmpty() ? locateProgramFolder(QApplication::applicationDirPath())
                                                               : ProgramFolder{hooks.programFolder};
    ProgramServices services(folder.path,
                             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                 + QStringLiteral("/Mojimaru.ini"),
                             screen, nullptr, hooks.messages, hooks.musicOnSilentOutputs);
    services.state().installed = folder.installed;
    program = &services.program();
    program->ending = endAsked;
    traceStartup("services");
    TF_Main& mainMenu = services.mainMenu();
    FirstPaint watcher(mainMenu, [&](TF_Main& painted) {
        if (hooks.firstPaint)
            hooks.firstPaint(painted);
        // Once the first frame is out: what it did not need. A copy started before this
        // waits for the socket (askHolderToComeForward).
        QTimer::singleShot(0, &painted, [&] {
            setApplicationIcon();
            instance.listenForLaterStarts(bringProgramForward);
            services.finishStart();
            traceStartup("after the first paint");
        });
    });
    mainMenu.installEventFilter(&watcher);
    if (endAsked || !services.start() || program->ending)
        return 0;
    menu = &mainMenu;
    mainMenu.showScreen();
    traceStartup("menu shown");
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainMenu, [&mainMenu](QSessionManager&) {
        // Ended once the session manager's request has been answered.
        QMetaObject::invokeMethod(&mainMenu, &TF_Main::endFromOutside, Qt::QueuedConnection);
    });
    return app.exec();
}

} // namespace moji
