#include "testprogram.h"

#include "tf_hint.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace testing_support {

QString makeProgramFolder(const QString& parent)
{
    const QDir built(QStringLiteral(MOJIMARU_PROGRAM_DIR));
    const QString folder = QDir(parent).filePath(QStringLiteral("mojimaru"));
    QDir().mkpath(folder);
    const QStringList written{QStringLiteral("Player1.*"), QStringLiteral("Kiroku*"), QStringLiteral("Saikin*"),
                              QStringLiteral("Game*.dat"), QStringLiteral("Mojimaru.lock")};
    for (const QFileInfo& file : built.entryInfoList(QDir::Files)) {
        if (file.fileName() == QLatin1String("mojimaru") || QDir::match(written, file.fileName()))
            continue;
        QFile::copy(file.filePath(), QDir(folder).filePath(file.fileName()));
    }
    return folder;
}

ProgramRun::ProgramRun(const QString& folder, const QString& settingsPath, const moji::Clock& clock, Boxes shown,
                       const moji::ScreenInfo& screen)
    : state(folder, clock),
      program(state, clock, random, audio, help, shown == Boxes::Real ? static_cast<moji::Messages&>(boxes) : messages),
      mainMenu(program, screen), navigator(program, mainMenu)
{
    state.settingsPath = settingsPath;
    program.navigator = &navigator;
    moji::installHints(program);
}

ProgramRun::~ProgramRun()
{
    // Screens still open refer to this run: they go before it does.
    program.ending = true;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != &mainMenu)
            w->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<moji::ScreenFrame*>(w) && w != &mainMenu)
            delete w;
    }
}

bool ProgramRun::start()
{
    if (!mainMenu.FormCreate())
        return false;
    mainMenu.showScreen();
    mainMenu.afterFirstPaint();
    return true;
}

QStringList ProgramRun::errors() const
{
    QStringList found;
    for (const QString& m : messages.shown) {
        if (m.contains(QStringLiteral("エラー")))
            found << m;
    }
    return found;
}

} // namespace testing_support

#include "clickablelabel.h"
#include "picturebutton.h"
#include "tf_mode.h"
#include "tf_player.h"

namespace testing_support {

moji::TF_Mode* choosePupil(ProgramRun& run, int n)
{
    click(run.mainMenu.command(5));
    moji::TF_Player* players = onView<moji::TF_Player>();
    if (!players)
        return nullptr;
    click(players->nameLabel(n));
    EXPECT_EQ(run.state.PlayerNo, n);
    return onView<moji::TF_Mode>();
}

} // namespace testing_support
