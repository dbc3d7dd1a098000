// The result and level-up dialog after a session has been recorded: the messages, the picture,
// the progress toward the next step, and a picture file that cannot be read.

#include "screenfixture.h"
#include "testfiles.h"
#include "tf_level_up.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace moji;
using namespace testing_support;

namespace {

class LevelUp : public ::testing::Test {
protected:
    LevelUp()
    {
        for (const char* name : {"Present1.wmf", "Present2.wmf", "Present3.wmf"})
            f.useBuiltFile(QString::fromLatin1(name));
    }
    // One pupil at this step with these points, and a session of `correct` right answers at
    // that step recorded as the scoring screen records it.
    void recordSession(int level, int mode, int points, int correct, bool challenge)
    {
        f.addPupils(1, level, mode);
        f.state.SelectPupil(1);
        f.state.LevelPoints = int16_t(points);
        f.state.SessionKind = challenge;
        for (int i = 1; i <= 10; ++i) {
            f.state.QuizSet[i].KanjiNo = int16_t(firstKanjiOfLevel(level) + i - 1);
            f.state.QuizSet[i].Correct = i <= correct;
        }
        f.state.SessionCorrect = int16_t(correct);
        f.state.RecordSessionResult(correct >= PassMark);
    }
    TF_Level_Up& open()
    {
        dialog = std::make_unique<TF_Level_Up>(f.program);
        dialog->show();
        return *dialog;
    }
    // A label's text as words: line breaks are layout only.
    QString text(const char* name) const { return dialog->findChild<QLabel*>(QLatin1String(name))->text().remove(QChar(0x2060)); }
    QGroupBox* progress() const { return dialog->findChild<QGroupBox*>(QStringLiteral("Grp_Title1")); }
    QProgressBar* bar() const { return dialog->findChild<QProgressBar*>(QStringLiteral("PBar_Level_Cnt")); }
    // Opaque pixels of the picture as shown.
    int pictureInk() const
    {
        const QImage image = dialog->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().toImage();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        return ink;
    }
    void shot(const QString& name) const
    {
        if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
            dialog->grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QLatin1Char('/') + name);
    }

    ScreenFixture f;
    std::unique_ptr<TF_Level_Up> dialog;
};

} // namespace

TEST_F(LevelUp, APerfectPracticeSuggestsTheChallenge)
{
    recordSession(4, 1, 12, 10, false);
    open();
    shot(QStringLiteral("levelup-practice.png"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("がんばれ！  あああ"));
    EXPECT_EQ(dialog->size(), QSize(435, 339));
    EXPECT_EQ(text("Lbl_Goukaku_Msg1"), QStringLiteral("やったね！ １００点、おめでとう！"));
    EXPECT_EQ(text("Lbl_Level_Msg1"), QStringLiteral("こんどは、チャレンジモードでがんばろうね。"));
    EXPECT_EQ(dialog->pictureFile(), QStringLiteral("Present1.wmf"));
    EXPECT_GT(pictureInk(), 2000);
    // Practice leaves the step and the points alone, and the progress shows them.
    EXPECT_TRUE(progress()->isVisible());
    EXPECT_EQ(progress()->title(), QStringLiteral("あああの、チャレンジきろく"));
    EXPECT_EQ(text("Lbl_Level1"), QStringLiteral("べんきょうちゅうのレベル: 4"));
    EXPECT_EQ(text("Lbl_Level2"), QStringLiteral("べんきょう中のしゅるい: 読むれんしゅう"));
    EXPECT_EQ(bar()->minimum(), 0);
    EXPECT_EQ(bar()->maximum(), 40);
    EXPECT_EQ(bar()->value(), 12);

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(LevelUp, EightRightThatCompleteTheReadingStageRaiseTheLevel)
{
    recordSession(3, 1, 35, 8, true);
    ASSERT_TRUE(f.state.LevelRaised);
    open();
    shot(QStringLiteral("levelup-raised.png"));
    EXPECT_EQ(text("Lbl_Goukaku_Msg1"), QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。"));
    EXPECT_EQ(text("Lbl_Level_Msg1"), QStringLiteral("やったね。これでレベルがあがったよ。"));
    EXPECT_EQ(dialog->pictureFile(), QStringLiteral("Present2.wmf"));
    EXPECT_EQ(text("Lbl_Level1"), QStringLiteral("べんきょうちゅうのレベル: 3"));
    EXPECT_EQ(text("Lbl_Level2"), QStringLiteral("べんきょう中のしゅるい: 書くれんしゅう"));
    EXPECT_EQ(bar()->value(), 0);
}

TEST_F(LevelUp, FinishingLevelTenWritingMakesAKanjiDoctor)
{
    recordSession(10, 2, 30, 10, true);
    ASSERT_EQ(f.state.Roster[1].Level, 11);
    open();
    shot(QStringLiteral("levelup-doctor.png"));
    EXPECT_EQ(text("Lbl_Goukaku_Msg1"), QStringLiteral("やったね！ １００点、おめでとう！"));
    EXPECT_EQ(text("Lbl_Level_Msg1"), QStringLiteral("おめでとう。これであなたは、かんじはかせです。"));
    EXPECT_EQ(dialog->pictureFile(), QStringLiteral("Present2.wmf"));
    EXPECT_FALSE(progress()->isVisible());
    EXPECT_FALSE(bar()->isVisible());
}

TEST_F(LevelUp, AFailedSessionIsEncouragedWithTheBuiltInPicture)
{
    f.addPupils(1, 2, 1);
    f.state.Roster[1].Name = SjisString<10>::fromUnicode(QStringLiteral("あいうえお"));
    f.state.PlayerNo = 1;
    f.state.SessionKind = true;
    f.state.SessionCorrect = 6;
    f.state.LevelPoints = 55; // more than a step's worth still fills the bar only once
    // Without the picture files nothing needs to be read for a failed session.
    for (const char* name : {"Present1.wmf", "Present2.wmf", "Present3.wmf"})
        QFile::remove(f.path(QString::fromLatin1(name)));
    open();
    shot(QStringLiteral("levelup-failed.png"));
    EXPECT_FALSE(dialog->failed());
    // Twelve bytes of "がんばれ！  " and the ten of the longest name make the 22 allowed.
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("がんばれ！  あいうえお"));
    EXPECT_EQ(text("Lbl_Goukaku_Msg1"), QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。"));
    EXPECT_EQ(text("Lbl_Level_Msg1"), QString());
    EXPECT_TRUE(dialog->pictureFile().isEmpty());
    EXPECT_GT(pictureInk(), 2000);
    EXPECT_EQ(bar()->value(), 40);
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

// A picture that cannot be read is reported by name and ends the program.
TEST_F(LevelUp, AnUnreadablePictureEndsTheProgram)
{
    f.addPupils(1, 5, 1);
    f.state.PlayerNo = 1;
    f.state.SessionKind = false;
    struct Case {
        int correct;
        const char* file;
        QByteArray bytes; // null: the file is missing
    };
    const QByteArray present3 = readFile(f.path(QStringLiteral("Present3.wmf")));
    const Case cases[] = {{10, "Present1.wmf", QByteArray()},
                          {8, "Present3.wmf", QByteArray("not a picture at all")},
                          {9, "Present3.wmf", present3.left(present3.size() / 2)}};
    for (const Case& c : cases) {
        f.messages.shown.clear();
        const QString name = QString::fromLatin1(c.file);
        QFile::remove(f.path(name));
        if (!c.bytes.isNull())
            writeFile(f.path(name), c.bytes);
        f.state.SessionCorrect = int16_t(c.correct);
        QWidget scoring;
        scoring.show();
        TF_Level_Up failing(f.program, &scoring);
        EXPECT_TRUE(failing.failed()) << c.file;
        EXPECT_EQ(failing.exec(), QDialog::Rejected) << c.file;
        EXPECT_EQ(f.messages.shown, QStringList{name + QStringLiteral("でエラーがおこりました。 ")});
        EXPECT_FALSE(scoring.isVisible()) << c.file;
    }
}
