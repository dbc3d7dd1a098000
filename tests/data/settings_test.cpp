// Mojimaru.ini: the private-profile layer and the settings read at start and saved by the
// settings dialog.

#include "clock.h"
#include "errors.h"
#include "inifile.h"
#include "studystate.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <pwd.h>

#include <QDir>
#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

namespace {

class Settings : public ::testing::Test {
protected:
    Settings() : state(dir.path(), clock) { state.settingsPath = path(); }
    QString path() const { return dir.filePath(QStringLiteral("config/Mojimaru.ini")); }
    void write(const char* text)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("config")));
        writeFile(path(), QByteArray(text));
    }
    QString text() const { return QString::fromLatin1(readFile(path())); }

    QTemporaryDir dir;
    ManualClock clock;
    StudyState state;
};

} // namespace

TEST_F(Settings, IntegersReadWithMinusOneForMissingValues)
{
    write("[Mojimaru3]\n"
          "a=\n"
          "b=abc\n"
          "c= 42 \n"
          "d=-1\n"
          "e=12abc\n"
          "f=99999999999\n"
          "g=\"7\"\n");
    IniFile ini(path(), QStringLiteral("Mojimaru.ini"));
    ini.load();
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("absent"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("a"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("b"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("c"), -1), 42);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("d"), 5), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("e"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("f"), -1), 99999999999) << "a number, however large";
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("g"), -1), 7);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Other"), QStringLiteral("c"), -1), -1);
}

TEST_F(Settings, NamesIgnoreCaseAndWritesKeepEveryOtherLine)
{
    write("; parents' notes\n"
          "[other]\n"
          "keep=me\n"
          "\n"
          "[MOJIMARU3]\n"
          " write_time = 25\n"
          "Debug=0\n"
          "\n"
          "[tail]\n"
          "x=1\n");
    IniFile ini(path(), QStringLiteral("Mojimaru.ini"));
    ini.load();
    EXPECT_EQ(ini.readInteger(QStringLiteral("Mojimaru3"), QStringLiteral("Write_Time"), -1), 25);
    ini.writeString(QStringLiteral("mojimaru3"), QStringLiteral("WRITE_TIME"), QStringLiteral("30"));
    ini.writeString(QStringLiteral("Mojimaru3"), QStringLiteral("Read_Time"), QStringLiteral("12"));
    ini.writeString(QStringLiteral("Mojimaru1"), QStringLiteral("POPMSG"), QStringLiteral("N"));
    ini.save();
    EXPECT_EQ(text(), QStringLiteral("; parents' notes\n"
                                     "[other]\n"
                                     "keep=me\n"
                                     "\n"
                                     "[MOJIMARU3]\n"
                                     "write_time=30\n"
                                     "Debug=0\n"
                                     "Read_Time=12\n"
                                     "\n"
                                     "[tail]\n"
                                     "x=1\n"
                                     "[Mojimaru1]\n"
                                     "POPMSG=N\n"));
}

TEST_F(Settings, WindowsLineEndingsAreKept)
{
    write("[Mojimaru3]\r\nRead_Time=4\r\n");
    IniFile ini(path(), QStringLiteral("Mojimaru.ini"));
    ini.load();
    ini.writeString(QStringLiteral("Mojimaru3"), QStringLiteral("Write_Time"), QStringLiteral("6"));
    ini.save();
    EXPECT_EQ(text(), QStringLiteral("[Mojimaru3]\r\nRead_Time=4\r\nWrite_Time=6\r\n"));
}

TEST_F(Settings, AFirstStartCreatesTheFileWithDefaults)
{
    state.ReadSettings();
    EXPECT_EQ(state.WriteTimeLimit, 10);
    EXPECT_EQ(state.ReadTimeLimit, 10);
    EXPECT_FALSE(state.DebugMode);
    EXPECT_EQ(text(), QStringLiteral("[Mojimaru3]\nWrite_Time=10\nRead_Time=10\n"));
}

TEST_F(Settings, StartReadsTheDebugSwitchAndTheTimeLimits)
{
    struct Case {
        const char* file;
        bool debug;
        int write, read;
    };
    const Case cases[] = {
        {"[Mojimaru3]\nDebug=1\nWrite_Time=3\nRead_Time=0\n", true, 3, 0},
        {"[Mojimaru3]\nDebug=0\nWrite_Time=3\nRead_Time=4\n", false, 3, 4},
        {"[Mojimaru3]\nDebug=2\nWrite_Time=3\nRead_Time=4\n", false, 3, 4},
        {"[Mojimaru3]\nDebug=on\nWrite_Time=3\nRead_Time=-1\n", false, 3, 10},
        {"[Mojimaru1]\nWrite_Time=5\nRead_Time=6\nPOPMSG=Y\n[Mojimaru3]\nPOPMSG=Y\n", false, 10, 10},
    };
    for (const Case& c : cases) {
        write(c.file);
        state.DebugMode = false;
        state.PopupsOn = false;
        state.ReadSettings();
        EXPECT_EQ(state.DebugMode, c.debug) << c.file;
        EXPECT_EQ(state.WriteTimeLimit, c.write) << c.file;
        EXPECT_EQ(state.ReadTimeLimit, c.read) << c.file;
        EXPECT_FALSE(state.PopupsOn) << "notices never come from the file";
    }
    // A stored -1 is replaced by 10 and written back.
    write("[Mojimaru3]\nWrite_Time=3\nRead_Time=-1\n");
    state.ReadSettings();
    EXPECT_EQ(text(), QStringLiteral("[Mojimaru3]\nWrite_Time=3\nRead_Time=10\n"));
}

TEST_F(Settings, TimeLimitsBeyondSixteenBitsAreRejected)
{
    write("[Mojimaru3]\nWrite_Time=40000\nRead_Time=4\n");
    state.WriteTimeLimit = 7;
    try {
        state.ReadSettings();
        FAIL();
    } catch (const RangeError& e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("Mojimaru.ini"));
    }
    EXPECT_EQ(state.WriteTimeLimit, 7);
}

// The dialog's values must still be there after a restart.
TEST_F(Settings, SavedTimeLimitsSurviveARestart)
{
    write("[Mojimaru3]\nDebug=1\nWrite_Time=10\nRead_Time=10\n");
    state.ReadSettings();
    state.WriteTimeLimit = 5;
    state.ReadTimeLimit = 8;
    state.SaveSettings();
    EXPECT_EQ(text(), QStringLiteral("[Mojimaru3]\nDebug=1\nWrite_Time=5\nRead_Time=8\nTegaki=1\nKotae_Oshie=1\nFukushuu=1\n"
                                     "[Mojimaru1]\nWrite_Time=5\nRead_Time=8\nPOPMSG=N\n"));

    StudyState restarted(dir.path(), clock);
    restarted.settingsPath = path();
    restarted.ReadSettings();
    EXPECT_EQ(restarted.WriteTimeLimit, 5);
    EXPECT_EQ(restarted.ReadTimeLimit, 8);
    EXPECT_TRUE(restarted.DebugMode);
}

TEST_F(Settings, AnUnreadableFileIsAFileError)
{
    QDir().mkpath(path()); // a folder in the file's place
    try {
        state.ReadSettings();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), QStringLiteral("Mojimaru.ini"));
    }
}

// The records folder a parent names: a path as the system writes file names (UTF-8, so a
// folder with a Japanese name is found), "~/" in the home folder, a relative path beside the
// settings file; "~name/" in that login's home, and kept as written when there is no such login.
// The settings dialog's save keeps the line as it was.
TEST_F(Settings, TheNamedRecordsFolderIsAFolderOfTheSystem)
{
    const struct {
        const char* line;
        QString folder;
    } cases[] = {
        {"Records_Folder=/srv/もじまる/3年1組\n", QStringLiteral("/srv/もじまる/3年1組")},
        {"records_folder = \"/srv/kiroku/\" \n", QStringLiteral("/srv/kiroku")},
        {"Records_Folder=~/kiroku\n", QDir::homePath() + QStringLiteral("/kiroku")},
        {"Records_Folder=~root/kiroku\n", QFile::decodeName(::getpwnam("root")->pw_dir) + QStringLiteral("/kiroku")},
        {"Records_Folder=~nobody-of-this-name/kiroku\n", QStringLiteral("~nobody-of-this-name/kiroku")},
        {"Records_Folder=../shared\n", QDir::cleanPath(dir.filePath(QStringLiteral("shared")))},
        {"Records_Folder=\n", QString()},
        {"", QString()},
    };
    for (const auto& c : cases) {
        write((QByteArray("[Mojimaru3]\nWrite_Time=10\nRead_Time=10\n") + c.line).constData());
        state.ReadSettings();
        EXPECT_EQ(state.NamedRecordsFolder, c.folder) << c.line;
    }

    write("[Mojimaru3]\nRecords_Folder=/srv/もじまる\nWrite_Time=10\nRead_Time=10\n");
    state.ReadSettings();
    state.SaveSettings();
    EXPECT_TRUE(readFile(path()).startsWith("[Mojimaru3]\nRecords_Folder=/srv/もじまる\n"));
    // The folder the parent was asked about is kept as the system's bytes too.
    state.AskedRecordsFolder = state.NamedRecordsFolder;
    state.SaveAskedRecordsFolder();
    state.ReadSettings();
    EXPECT_EQ(state.AskedRecordsFolder, QStringLiteral("/srv/もじまる"));
}
