// The settings dialog: what it shows, the arrows, OK and CANCEL, the refusal of limits that
// cannot work, the switch of the handwriting pad, and clearing the games' score tables.

#include "screenfixture.h"
#include "testfiles.h"
#include "tf_settei.h"
#include "tf_shutsudai.h"
#include "updown.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace moji;
using namespace testing_support;

namespace {

class Settings : public ::testing::Test {
protected:
    Settings()
    {
        f.state.WriteTimeLimit = 10;
        f.state.ReadTimeLimit = 12;
    }
    void open()
    {
        dialog = std::make_unique<TF_Settei>(f.program);
        dialog->show();
    }
    QString labelText(const char* name) const
    {
        const auto* l = dialog->findChild<QLabel*>(QLatin1String(name));
        return l ? l->text() : QStringLiteral("(missing)");
    }
    void type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // An input method delivers whole text; the keyboard, key by key.
        bool ascii = true;
        for (const QChar ch : text)
            ascii = ascii && ch.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    QString ini() const { return QString::fromUtf8(readFile(f.state.settingsPath)); }

    ScreenFixture f;
    std::unique_ptr<TF_Settei> dialog;
};

} // namespace

// Every text and control, filled with the values in force (not those in the file).
TEST_F(Settings, ShowsTheLimitsInForce)
{
    writeFile(f.state.settingsPath, "[Mojimaru1]\nWrite_Time=3\nRead_Time=4\n");
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("もじまる"));
    EXPECT_EQ(dialog->size(), QSize(427, 309));
    EXPECT_EQ(labelText("Label1"), QStringLiteral("設定値を変更します。"));
    EXPECT_EQ(labelText("Label5"), QStringLiteral("このがめんは、おとうさんやおかあさんにやってもらおうね。"));
    EXPECT_EQ(labelText("Label2"), QStringLiteral("回答時間（分）"));
    EXPECT_EQ(labelText("Label3"), QStringLiteral("読む問題"));
    EXPECT_EQ(labelText("Label4"), QStringLiteral("書く問題"));
    EXPECT_EQ(dialog->kakuEdit()->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog->yomuEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(dialog->yomuArrows()->toolTip(), QStringLiteral("１分間隔で増減します"));
    EXPECT_EQ(dialog->kakuArrows()->toolTip(), QStringLiteral("１分間隔で増減します"));
    EXPECT_EQ(dialog->okButton()->toolTip(), QStringLiteral("設定値を変更します"));
    EXPECT_EQ(dialog->cancelButton()->text(), QStringLiteral("CANCEL"));
    EXPECT_EQ(dialog->cancelButton()->toolTip(), QStringLiteral("変更せずにメニューにもどる"));
    EXPECT_EQ(dialog->g1ClearButton()->text(), QStringLiteral("漢字あわせの記録を消す"));
    EXPECT_EQ(dialog->g2ClearButton()->text(), QStringLiteral("漢字キャッチャーの記録を消す"));
    EXPECT_FALSE(dialog->g1ClearButton()->isVisible()) << "no score files yet";
    EXPECT_FALSE(dialog->g2ClearButton()->isVisible());

    // The notice switch is hidden, out of the window, and mirrors the current value.
    QGroupBox* pop = dialog->popSwitch();
    EXPECT_EQ(pop->title(), QStringLiteral("ポップアップメッセージの有無"));
    EXPECT_FALSE(pop->isVisible());
    EXPECT_GE(pop->x(), dialog->width());
    const auto items = pop->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("あり"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("なし"));
    EXPECT_EQ(dialog->popItemIndex(), 1);
    dialog->close();
    f.state.PopupsOn = true;
    open();
    EXPECT_EQ(dialog->popItemIndex(), 0);
}

// The arrows move the number by one within 1 to 59, from whatever the box holds.
TEST_F(Settings, TheArrowsKeepToOneToFiftyNine)
{
    f.state.ReadTimeLimit = 58;
    f.state.WriteTimeLimit = 2;
    open();
    QToolButton* up = dialog->yomuArrows()->upButton();
    QToolButton* down = dialog->kakuArrows()->downButton();
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dialog->yomuEdit()->text(), QStringLiteral("59"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dialog->yomuEdit()->text(), QStringLiteral("59")) << "no wrap";
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(dialog->kakuEdit()->text(), QStringLiteral("1"));
    type(dialog->yomuEdit(), QStringLiteral("120"));
    QTest::mouseClick(dialog->yomuArrows()->downButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->yomuEdit()->text(), QStringLiteral("59"));
    type(dialog->kakuEdit(), QStringLiteral("20"));
    QTest::mouseClick(dialog->kakuArrows()->upButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->kakuEdit()->text(), QStringLiteral("21"));
}

// OK puts the limits in force at once and saves them so that a restart keeps them.
TEST_F(Settings, OkAppliesAndSavesTheLimits)
{
    open();
    type(dialog->kakuEdit(), QStringLiteral("5"));
    type(dialog->yomuEdit(), QStringLiteral(" ２５ "));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.state.WriteTimeLimit, 5);
    EXPECT_EQ(f.state.ReadTimeLimit, 25);
    EXPECT_FALSE(f.state.PopupsOn);
    EXPECT_TRUE(ini().contains(QStringLiteral("[Mojimaru1]\nWrite_Time=5\nRead_Time=25\nPOPMSG=N")));
    EXPECT_TRUE(f.messages.shown.isEmpty());

    // A restart: a new state reads the same file.
    StudyState restarted(f.dir.path(), f.clock);
    restarted.settingsPath = f.state.settingsPath;
    restarted.ReadSettings();
    EXPECT_EQ(restarted.WriteTimeLimit, 5);
    EXPECT_EQ(restarted.ReadTimeLimit, 25);

    // The notice switch, out of reach, is stored back unchanged.
    f.state.PopupsOn = true;
    open();
    dialog->Btn_OKClick();
    EXPECT_TRUE(f.state.PopupsOn);
    EXPECT_TRUE(ini().contains(QStringLiteral("POPMSG=Y")));
}

// A parent's switch takes the handwriting pad out of writing questions; like the limits it
// holds after a restart, and saving it keeps every other line of the file.
TEST_F(Settings, TheHandwritingSwitchTakesThePadAwayAndSurvivesARestart)
{
    f.loadDictionary();
    for (int g = 1; g <= 8; ++g)
        f.useBuiltFile(QStringLiteral("bushu%1.bmp").arg(g));
    f.program.recognizer = std::make_unique<FakeRecognizer>();
    f.addPupils(1, 2, 2);
    f.state.SelectPupil(1);
    f.state.SessionKind = true;
    f.state.CurrentLevel = 2;
    f.state.StudyMode = 2;
    // Whether a writing question offers the pad.
    auto padOffered = [&] {
        auto* session = new TF_Shutsudai(f.program);
        session->showScreen();
        QTest::mouseClick(session->findChild<QPushButton*>(QStringLiteral("Btn_Next")), Qt::LeftButton);
        EXPECT_TRUE(session->findChild<QWidget*>(QStringLiteral("Grp_Bushu"))->isVisible()) << "the pickers stay";
        auto* open = session->findChild<QWidget*>(QStringLiteral("Btn_Tegaki"));
        const bool offered = open && open->isVisible();
        session->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return offered;
    };

    const QByteArray before = "; our settings\n[Mojimaru3]\nDebug=1\nWrite_Time=10\nRead_Time=12\nColour=blue\n"
                              "[Other]\nkeep=me\n";
    writeFile(f.state.settingsPath, before);
    f.state.ReadSettings();
    EXPECT_TRUE(f.state.HandwritingOn) << "on when the file never had the key";
    EXPECT_TRUE(f.state.ReviewHelpOn);
    EXPECT_TRUE(padOffered());

    open();
    ASSERT_TRUE(dialog->handwritingSwitch()->isChecked());
    QTest::mouseClick(dialog->handwritingSwitch(), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(f.state.HandwritingOn);
    EXPECT_TRUE(f.state.ReviewHelpOn);
    EXPECT_FALSE(padOffered());
    const QString saved = ini();
    for (const char* line : {"; our settings\n[Mojimaru3]\nDebug=1\n", "Read_Time=12\nColour=blue\n", "Tegaki=0\n",
                             "Kotae_Oshie=1\n", "[Other]\nkeep=me\n", "POPMSG=N"})
        EXPECT_TRUE(saved.contains(QString::fromUtf8(line))) << line << " in\n" << qPrintable(saved);

    StudyState restarted(f.dir.path(), f.clock);
    restarted.settingsPath = f.state.settingsPath;
    restarted.ReadSettings();
    EXPECT_FALSE(restarted.HandwritingOn);
    EXPECT_TRUE(restarted.ReviewHelpOn);
    EXPECT_TRUE(restarted.DebugMode);
    EXPECT_EQ(restarted.ReadTimeLimit, 12);

    open();
    EXPECT_FALSE(dialog->handwritingSwitch()->isChecked()) << "the dialog shows the switch in force";
    QTest::mouseClick(dialog->handwritingSwitch(), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(padOffered());
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

TEST_F(Settings, CancelChangesNothing)
{
    open();
    type(dialog->kakuEdit(), QStringLiteral("5"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(f.state.WriteTimeLimit, 10);
    EXPECT_FALSE(QFile::exists(f.state.settingsPath));
}

// A limit the session cannot use, or no number at all, is refused by name with the allowed
// range; the dialog stays open and nothing changes or is saved.
TEST_F(Settings, LimitsOutsideOneToFiftyNineAreRefused)
{
    const QString writingRefusal = QStringLiteral("「書く問題」の回答時間は、１から５９までの数（分）を入れてください。");
    const QString readingRefusal = QStringLiteral("「読む問題」の回答時間は、１から５９までの数（分）を入れてください。");
    struct Case {
        const char* writing;
        const char* reading;
        QString message;
    };
    const Case cases[] = {{"0", "10", writingRefusal},  {"120", "10", writingRefusal}, {"abc", "10", writingRefusal},
                          {"", "10", writingRefusal},   {"-1", "10", writingRefusal},  {"10", "60", readingRefusal},
                          {"10", "5.5", readingRefusal}, {"x", "99", writingRefusal}};
    for (const Case& c : cases) {
        f.messages.shown.clear();
        open();
        type(dialog->kakuEdit(), QString::fromUtf8(c.writing));
        type(dialog->yomuEdit(), QString::fromUtf8(c.reading));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        EXPECT_EQ(f.messages.shown, QStringList{c.message}) << c.writing << " " << c.reading;
        EXPECT_TRUE(dialog->isVisible()) << c.writing << " " << c.reading;
        EXPECT_EQ(f.state.WriteTimeLimit, 10);
        EXPECT_EQ(f.state.ReadTimeLimit, 12);
        EXPECT_FALSE(QFile::exists(f.state.settingsPath));
        dialog->close();
    }
}

// A settings file that cannot be written is reported; the limits stay as they were.
TEST_F(Settings, ASaveThatFailsChangesNothing)
{
    // Its folder is a file: the settings cannot be written there.
    writeFile(f.path(QStringLiteral("blocker")), "x");
    f.state.settingsPath = f.path(QStringLiteral("blocker/Mojimaru.ini"));
    open();
    type(dialog->kakuEdit(), QStringLiteral("5"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Mojimaru.iniでエラーがおこりました。 ")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(f.state.WriteTimeLimit, 10);
}

// Each clear button shows only while its game's table exists and deletes it only on Yes.
TEST_F(Settings, ClearsAGamesScoresOnlyOnYes)
{
    const QString game1 = f.path(QStringLiteral("Game1.dat"));
    const QString game13 = f.path(QStringLiteral("Game13.dat"));
    writeFile(game1, QByteArray(24, '\0'));
    open();
    EXPECT_TRUE(dialog->g1ClearButton()->isVisible());
    EXPECT_FALSE(dialog->g2ClearButton()->isVisible());
    dialog->close();
    writeFile(game13, QByteArray(48, '\0'));
    open();
    EXPECT_TRUE(dialog->g2ClearButton()->isVisible());

    // No or Cancel: the file and the button stay.
    f.messages.answerYes = false;
    QTest::mouseClick(dialog->g1ClearButton(), Qt::LeftButton);
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("漢字あわせの記録を全て消します。良いですか？")});
    EXPECT_TRUE(QFile::exists(game1));
    EXPECT_TRUE(dialog->g1ClearButton()->isVisible());

    f.messages.answerYes = true;
    f.messages.shown.clear();
    QTest::mouseClick(dialog->g1ClearButton(), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(game1));
    EXPECT_FALSE(dialog->g1ClearButton()->isVisible());
    EXPECT_TRUE(QFile::exists(game13)) << "the other game's table stays";

    // The table vanished meanwhile: nothing to delete, the button goes.
    QFile::remove(game13);
    QTest::mouseClick(dialog->g2ClearButton(), Qt::LeftButton);
    EXPECT_EQ(f.messages.shown, (QStringList{QStringLiteral("漢字あわせの記録を全て消します。良いですか？"),
                                             QStringLiteral("漢字キャッチャーの記録を全て消します。良いですか？")}));
    EXPECT_FALSE(dialog->g2ClearButton()->isVisible());
    EXPECT_TRUE(dialog->isVisible()) << "clearing does not close the dialog";
}
