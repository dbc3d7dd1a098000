#include "desktopprogram.h"

#include "clickablelabel.h"
#include "desktop.h"
#include "records.h"
#include "sessiondriver.h"
#include "tf_mode.h"
#include "tf_shutsudai.h"

#include <QFileInfo>

using namespace moji;

namespace testing_support {

namespace {
constexpr int WatchdogMilliseconds = 500;
constexpr int BoxTicksAllowed = 20; // ten seconds
} // namespace

DesktopProgram::DesktopProgram()
{
    folder = makeProgramFolder(dir.path());
    m_watchdog.setInterval(WatchdogMilliseconds);
    QObject::connect(&m_watchdog, &QTimer::timeout, [this] {
        QWidget* box = QApplication::activeModalWidget();
        m_boxTicks = box && box == m_box ? m_boxTicks + 1 : 0;
        m_box = box;
        if (box && m_boxTicks > BoxTicksAllowed) {
            ADD_FAILURE() << "a box nobody answered: " << box->metaObject()->className() << " "
                          << boxText(box).toStdString();
            box->close();
        }
    });
    m_watchdog.start();
}

DesktopProgram::~DesktopProgram()
{
    EXPECT_EQ(forgetUnansweredBoxes(), 0) << "a box the test waited for never opened";
    run.reset();
    settle();
}

void DesktopProgram::start()
{
    run = std::make_unique<ProgramRun>(folder, dir.filePath(QStringLiteral("config/Mojimaru.ini")), clock,
                                       ProgramRun::Boxes::Real, ScreenInfo{640, 480, 24, 60, 96});
    state().RegisterPupil(SjisString<10>::fromUnicode(QStringLiteral("たろう")));
    ASSERT_TRUE(run->mainMenu.FormCreate());
    run->mainMenu.showScreen();
    // Up as a family sees it: active, painted, its tune playing (which also finds the MIDI device).
    ASSERT_TRUE(waitFor([this] { return run->mainMenu.isActiveWindow() && run->mainMenu.musicPlaying(); }))
        << "the main menu never became active with its music";
}

QString DesktopProgram::path(const QString& name) const
{
    return QDir(folder).filePath(name);
}

TF_Shutsudai* DesktopProgram::startChallenge()
{
    TF_Mode* menu = topLevel<TF_Mode>();
    if (!menu)
        menu = choosePupil(*run, 1);
    if (!menu)
        return nullptr;
    click(menu->commandLabel(3));
    TF_Shutsudai* session = onView<TF_Shutsudai>();
    if (session)
        clickShown(sessionButton(*session, "Btn_Next")); // はじめ
    return session;
}

int DesktopProgram::historyRecords() const
{
    return int(QFileInfo(path(historyFileName(1))).size() / HistoryRecord::Size);
}

} // namespace testing_support
