// The real program as one login of a family uses it, for the tests that run it as several
// logins on one shared records folder. Once its main menu is on screen it walks the real
// screens: registers the pupil named on its command line unless they are on the roster,
// prints the roster it sees ("pupils: たろう,じろう"), plays a challenge of that pupil with
// every answer right (the scoring screen on its own timer), returns to the main menu, prints
// how many sessions the pupil's history holds ("sessions: 2") and "ready", and waits to be
// ended. Its message boxes print their text and answer Yes.
//
//   mojimaru_family <program folder> <pupil name>

#include "clickablelabel.h"
#include "kanachart.h"
#include "messages.h"
#include "programrun.h"
#include "screenfixture.h"
#include "sessiondriver.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace moji;
using namespace testing_support;

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class PrintedYes final : public Messages {
public:
    void information(QWidget*, const QString& text) override { say(text); }
    bool question(QWidget*, const QString& text) override
    {
        say(text);
        return true;
    }
    void error(QWidget*, const QString& text) override { say(text); }
};

// Calls `then` once `done` holds, looking every 100 ms while the event loop runs.
void whenDone(std::function<bool()> done, std::function<void()> then)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, [poll, done = std::move(done), then = std::move(then)] {
        if (!done())
            return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start();
}

int pupilNamed(const StudyState& state, const QString& name)
{
    for (int p = 1; p <= state.PlayerCount; ++p) {
        if (state.Roster[p].Name.toUnicode() == name)
            return p;
    }
    return 0;
}

void walk(TF_Main& menu, const QString& name)
{
    StudyState& state = menu.program().state;
    if (pupilNamed(state, name) == 0) {
        menu.commandClick(7);
        TF_Touroku* registration = topLevel<TF_Touroku>();
        for (const QChar c : name)
            QTest::mouseClick(registration->kanaButton(int(RegistrationKana.indexOf(c)) + 1), Qt::LeftButton);
        QTest::mouseClick(registration->findChild<QPushButton*>(QStringLiteral("btn_Touroku")), Qt::LeftButton);
    }
    QStringList pupils;
    for (int p = 1; p <= state.PlayerCount; ++p)
        pupils << state.Roster[p].Name.toUnicode();
    say(QStringLiteral("pupils: ") + pupils.join(QLatin1Char(',')));

    const int pupil = pupilNamed(state, name);
    menu.commandClick(5);
    QTest::mouseClick(topLevel<TF_Player>()->nameLabel(pupil), Qt::LeftButton);
    QTest::mouseClick(topLevel<TF_Mode>()->commandLabel(3), Qt::LeftButton);
    TF_Shutsudai* session = topLevel<TF_Shutsudai>();
    QTest::mouseClick(sessionButton(*session, "Btn_Next"), Qt::LeftButton); // はじめ
    for (int q = 1; q <= 10; ++q)
        answerQuestion(*session, state, true);
    // The scoring screen marks one row every 1.5 s, then the result opens (closed as it opens)
    // and the mode menu returns.
    static ModalCloser closer;
    whenDone([] { return topLevel<TF_Mode>() != nullptr && topLevel<TF_Shutsudai>() == nullptr; }, [&menu, &state, pupil] {
        QTest::mouseClick(topLevel<TF_Mode>()->findChild<QWidget*>(QStringLiteral("Img_Button4")), Qt::LeftButton);
        QTest::mouseClick(topLevel<TF_Player>()->findChild<QWidget*>(QStringLiteral("Img_Button4")), Qt::LeftButton);
        say(QStringLiteral("sessions: %1").arg(state.ReadHistory(pupil).size()));
        say(menu.isVisible() ? QStringLiteral("ready") : QStringLiteral("not back on the main menu"));
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <program folder> <pupil name>\n", argv[0]);
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[2]);
    PrintedYes messages;
    RunHooks hooks;
    hooks.programFolder = QString::fromLocal8Bit(argv[1]);
    hooks.messages = &messages;
    hooks.firstPaint = [name](TF_Main& menu) {
        QTimer::singleShot(0, &menu, [&menu, name] { walk(menu, name); });
    };
    return runProgram(argc, argv, hooks);
}
