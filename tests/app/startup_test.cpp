// Start-up: the order of loading, every failure message naming the file start-up was
// handling (and changing no file), a second copy of the program that ends without a window,
// and a single-instance lock that cannot be made, which is reported.

#include "appfixture.h"
#include "singleinstance.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>

using namespace moji;
using namespace testing_support;

namespace {

QString failureOf(const char* file)
{
    return fileErrorMessage(QString::fromUtf8(file));
}

// Starts `program` as a process, offscreen and silent, its runtime folder (where the
// single-instance lock lies) in `runtime`.
void startWithRuntimeFolder(QProcess& process, const QString& program, const QString& runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    process.setProcessEnvironment(env);
    process.start(program, {});
}

} // namespace

// The loading notice, a window of its own, goes with the main menu rather than outliving it.
TEST(Startup, TheNoticeGoesWithTheMainMenu)
{
    AppFixture app;
    ASSERT_TRUE(app.start()) << qPrintable(app.messages.shown.join(u'\n'));
    const QPointer<TF_Pop> notice = app.mainMenu->notice();
    ASSERT_FALSE(notice.isNull());
    app.mainMenu.reset();
    EXPECT_TRUE(notice.isNull());
}

TEST(Startup, LoadsEverythingAndShowsTheLoadingNoticeFirst)
{
    AppFixture app;
    app.writeRoster(3, 4);
    app.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru1]\nPOPMSG=Y\n[Mojimaru3]\nWrite_Time=7\n");
    ASSERT_TRUE(app.start()) << qPrintable(app.messages.shown.join(u'\n'));
    EXPECT_TRUE(app.messages.shown.isEmpty()) << qPrintable(app.messages.shown.join(u'\n'));

    StudyState& s = app.state;
    EXPECT_EQ(s.LayoutKind, 2);
    EXPECT_EQ(s.LayoutScale, 1.0);
    EXPECT_EQ(s.WriteTimeLimit, 7);
    EXPECT_EQ(s.ReadTimeLimit, 10);
    EXPECT_FALSE(s.PopupsOn) << "notices never start on";
    EXPECT_EQ(s.PlayerCount, 3);
    EXPECT_EQ(app.program.highestLevel, 4);
    EXPECT_EQ(s.Roster[1].Level, 1) << "steps come from the (missing) histories";
    EXPECT_EQ(s.HintTopic, 1);
    EXPECT_EQ(s.PopGroup, 1);
    EXPECT_EQ(s.PopNo, 1);
    EXPECT_EQ(s.KanjiTable[241].StrokeCount, 2);
    ASSERT_NE(app.mainMenu->notice(), nullptr);
    EXPECT_TRUE(app.mainMenu->notice()->isStartupNotice());
    EXPECT_TRUE(app.mainMenu->notice()->isVisible());
    EXPECT_FALSE(app.program.headerImages[4].isNull());
    EXPECT_EQ(app.program.noticePicture(9).size(), QSize(48, 48));
    app.mainMenu->showScreen();
    app.mainMenu->afterFirstPaint();
    ASSERT_TRUE(app.program.maruPlayer && app.program.batsuPlayer);
    EXPECT_TRUE(app.program.maruPlayer->isOpen());

    // The larger layout at 120 dots per inch: notice pictures of 70 pixels.
    AppFixture large;
    ASSERT_TRUE(large.start({1024, 768, 32, 60, 120}));
    EXPECT_EQ(large.state.LayoutKind, 1);
    EXPECT_EQ(large.state.LayoutScale, 1.25);
    EXPECT_EQ(large.program.noticePicture(0).size(), QSize(70, 70));
    EXPECT_EQ(large.program.highestLevel, 1) << "no roster: level 1";
}

TEST(Startup, EveryFailureNamesTheFileBeingHandled)
{
    struct Case {
        const char* name;
        std::function<void(AppFixture&)> breakIt;
        QString message;
    };
    const std::vector<Case> cases = {
        {"no ButtonX.bmp", [](AppFixture& a) { a.remove(QStringLiteral("ButtonX.bmp")); }, failureOf("\\ButtonX.bmp")},
        {"ButtonX.bmp too small", [](AppFixture& a) { QImage(48, 48, QImage::Format_RGB32).save(a.path(QStringLiteral("ButtonX.bmp")), "BMP"); },
         failureOf("\\ButtonX.bmp")},
        {"ButtonX.bmp cut short",
         [](AppFixture& a) {
             const QByteArray whole = readFile(a.path(QStringLiteral("ButtonX.bmp")));
             a.write(QStringLiteral("ButtonX.bmp"), whole.left(whole.size() - 4 * 48 * 8));
         },
         failureOf("\\ButtonX.bmp")},
        {"ButtonX.bmp declaring another size",
         [](AppFixture& a) {
             QByteArray bytes = readFile(a.path(QStringLiteral("ButtonX.bmp")));
             bytes[2] = char(bytes[2] + 1);
             a.write(QStringLiteral("ButtonX.bmp"), bytes);
         },
         failureOf("\\ButtonX.bmp")},
        {"no Mojimaru1.dat", [](AppFixture& a) { a.remove(QStringLiteral("Mojimaru1.dat")); }, failureOf("Mojimaru1.dat")},
        {"bad Mojimaru1.dat", [](AppFixture& a) { a.write(QStringLiteral("Mojimaru1.dat"), Bytes().i16(1025).u8(0x88).u8(0xab).i16(1).zeros(8)); },
         failureOf("Mojimaru1.dat")},
        {"empty Mojimaru1.dat", [](AppFixture& a) { a.write(QStringLiteral("Mojimaru1.dat"), QByteArray()); }, failureOf("Mojimaru1.dat")},
        {"Mojimaru1.dat without kanji 300", [](AppFixture& a) { a.write(QStringLiteral("Mojimaru1.dat"), AppFixture::kanjiDictionary(300)); },
         failureOf("Mojimaru1.dat")},
        {"Mojimaru1.dat without kanji 1", [](AppFixture& a) { a.write(QStringLiteral("Mojimaru1.dat"), AppFixture::kanjiDictionary(1)); },
         failureOf("Mojimaru1.dat")},
        {"eleven pupils", [](AppFixture& a) { a.writeRoster(11); }, failureOf("Player1.dat")},
        {"bad history of pupil 2",
         [](AppFixture& a) {
             a.writeRoster(2);
             a.write(QStringLiteral("Kiroku2.dat"), historyRun(1, 1, 1, 999, 5, true));
         },
         failureOf("Kiroku2.dat")},
        {"points of pupil 2 passing 16 bits",
         [](AppFixture& a) {
             a.writeRoster(2);
             a.write(QStringLiteral("Kiroku1.dat"), historyRun(1, 1, 1, 241, 10, true));
             // 3277 perfect challenges in one run: 32770 points.
             a.write(QStringLiteral("Kiroku2.dat"), Bytes().repeat(historyRun(1, 1, 1, 241, 10, true), 3277));
         },
         failureOf("Kiroku2.dat")},
        {"no Mondai2.dat", [](AppFixture& a) { a.remove(QStringLiteral("Mondai2.dat")); }, failureOf("Mondai2.dat")},
        {"no Pop7.wmf", [](AppFixture& a) { a.remove(QStringLiteral("Pop7.wmf")); }, failureOf("Pop7.wmf")},
        {"garbage Pop3.wmf", [](AppFixture& a) { a.write(QStringLiteral("Pop3.wmf"), "GIF89a not a metafile"); }, failureOf("Pop3.wmf")},
        {"Pop5.wmf cut short", [](AppFixture& a) { a.write(QStringLiteral("Pop5.wmf"), AppFixture::metafile().chopped(6)); }, failureOf("Pop5.wmf")},
        {"Pop9.wmf running on past its end", [](AppFixture& a) { a.write(QStringLiteral("Pop9.wmf"), AppFixture::metafile() + QByteArray(2, '\0')); },
         failureOf("Pop9.wmf")},
        {"Pop10.wmf with a damaged placeable header",
         [](AppFixture& a) { a.write(QStringLiteral("Pop10.wmf"), QByteArray(AppFixture::metafile()).replace(10, 2, Bytes().i16(64).data())); },
         failureOf("Pop10.wmf")},
        {"settings beyond 16 bits", [](AppFixture& a) { a.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru3]\nRead_Time=99999\n"); },
         failureOf("Mojimaru.ini")},
        {"settings beyond 32 bits", [](AppFixture& a) { a.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru3]\nWrite_Time=2147483648\n"); },
         failureOf("Mojimaru.ini")},
        {"settings below 32 bits", [](AppFixture& a) { a.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru3]\nRead_Time=-2147483649\n"); },
         failureOf("Mojimaru.ini")},
        {"settings beyond 64 bits",
         [](AppFixture& a) { a.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru3]\nRead_Time= 123456789012345678901234567890\n"); },
         failureOf("Mojimaru.ini")},
    };
    for (const Case& c : cases) {
        AppFixture app;
        app.write(QStringLiteral("config/Mojimaru.ini"), "[Mojimaru3]\nWrite_Time=10\nRead_Time=10\n");
        c.breakIt(app);
        const QMap<QString, QByteArray> before = folderContents(app.dir.path());
        EXPECT_FALSE(app.start()) << c.name;
        EXPECT_EQ(app.messages.shown, QStringList{c.message}) << c.name;
        EXPECT_TRUE(!app.mainMenu->notice() || !app.mainMenu->notice()->isVisible()) << c.name;
        EXPECT_TRUE(folderContents(app.dir.path()) == before) << c.name << ": a failed start changes no file";
    }
}

// A settings file saved by an editor that marks UTF-8 with a byte-order mark: its first section
// is read, and the missing key goes into that section, the rest of the file kept as it was.
TEST(Startup, ASettingsFileWithAByteOrderMarkIsReadAsItStands)
{
    AppFixture app;
    app.write(QStringLiteral("config/Mojimaru.ini"), "\xEF\xBB\xBF[Mojimaru3]\r\nDebug=1\r\nWrite_Time=7\r\n");
    ASSERT_TRUE(app.start()) << qPrintable(app.messages.shown.join(u'\n'));
    EXPECT_TRUE(app.state.DebugMode);
    EXPECT_EQ(app.state.WriteTimeLimit, 7);
    EXPECT_EQ(app.state.ReadTimeLimit, 10);
    EXPECT_EQ(readFile(app.path(QStringLiteral("config/Mojimaru.ini"))),
              QByteArray("\xEF\xBB\xBF[Mojimaru3]\r\nDebug=1\r\nWrite_Time=7\r\nRead_Time=10\r\n"));
}

TEST(Startup, MissingComponentTableEndsTheProgramAfterLoadingTheRest)
{
    AppFixture app;
    app.remove(QStringLiteral("Bushu1.dat"));
    app.writeRoster(2, 3);
    EXPECT_FALSE(app.start());
    EXPECT_EQ(app.messages.shown, QStringList{QStringLiteral("Bushu1.dat not found")});
    EXPECT_EQ(app.state.PlayerCount, 2) << "start-up ran on through the other files";
    EXPECT_EQ(app.state.RadicalPictures[1][1], 0);
}

TEST(Startup, MissingSoundsAreReportedAndTheProgramGoesOn)
{
    AppFixture app;
    app.remove(QStringLiteral("Batsu.wav"));
    EXPECT_TRUE(app.start());
    app.mainMenu->showScreen();
    app.mainMenu->afterFirstPaint();
    EXPECT_EQ(app.messages.shown, QStringList{QStringLiteral("Batsu.wav でエラーがおこりました。 ")});
}

TEST(Startup, AScreenTooNarrowIsRefused)
{
    AppFixture app;
    EXPECT_FALSE(app.start({600, 400, 32, 60, 96}));
    EXPECT_EQ(app.messages.shown, QStringList{QStringLiteral("このディスプレイの解像度では、実行できません")});

    // Wide enough with no 640 x 480 mode to scale to (too short): start-up goes on.
    AppFixture wide;
    EXPECT_TRUE(wide.start({1024, 400, 32, 60, 96}));

    AppFixture large;
    EXPECT_FALSE(large.start({700, 600, 32, 60, 120})) << "the larger layout needs 800 pixels";
}

// The program, when its single-instance lock cannot be made (here something no copy wrote
// stands in its place), does not pass for a second copy: it names the lock file and ends with
// an error status.
TEST(Startup, ALockThatCannotBeMadeIsReported)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(QDir(runtime.path()).mkdir(QStringLiteral("Moji_Maru3.lock")));
    QProcess program;
    startWithRuntimeFolder(program, QStringLiteral(MOJIMARU_PRINTING), runtime.path());
    ASSERT_TRUE(program.waitForFinished(10000)) << "the program kept running without its lock";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()),
              fileErrorMessage(runtime.filePath(QStringLiteral("Moji_Maru3.lock"))) + QLatin1Char('\n'));
}

// The real program, started while another copy holds the lock, ends at once with no window.
TEST(Startup, ASecondCopyEndsSilently)
{
    const QString program = QStringLiteral(MOJIMARU_PROGRAM_DIR "/mojimaru");
    ASSERT_TRUE(QFileInfo::exists(program));
    QTemporaryDir runtime;
    SingleInstance first(QStringLiteral("Moji_Maru3"), runtime.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);

    QProcess second;
    startWithRuntimeFolder(second, program, runtime.path());
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second copy kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
}

// The loading notice: teal, the study picture, "もじまる" in white over a grey shadow and the
// yellow "getting ready" line, placed by fractions of the screen.
TEST(Startup, TheLoadingNoticeShowsTheNameAndGettingReady)
{
    AppFixture app;
    ASSERT_TRUE(app.start());
    TF_Pop* notice = app.mainMenu->notice();
    ASSERT_NE(notice, nullptr);
    notice->resize(800, 600);
    const QImage shot = notice->grab().toImage();
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        shot.save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/notice.png"));
    int teal = 0, yellow = 0, white = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            teal += c == QColor(0, 128, 128) ? 1 : 0;
            yellow += (c.red() > 200 && c.green() > 200 && c.blue() < 80) ? 1 : 0;
            white += (c.red() > 240 && c.green() > 240 && c.blue() > 240) ? 1 : 0;
        }
    }
    EXPECT_GT(teal, shot.width() * shot.height() / 2);
    EXPECT_GT(yellow, 100) << "ただいまじゅんびちゅう！";
    EXPECT_GT(white, 100) << "もじまる";
    // The picture of the study command sits at (W / 2 - 20, H / 3 - 80).
    EXPECT_NE(shot.pixelColor(400 - 20 + 24, 200 - 80 + 24), QColor(0, 128, 128));
    EXPECT_FALSE(notice->isEnabled()) << "the notice takes no input";
}
