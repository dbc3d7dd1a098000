// The hint screen: choosing the hint of the situation, paging within it, the answer hint of a
// practice question, and what happens when Hint.dat cannot be read.

#include "screenfixture.h"
#include "testfiles.h"
#include "tf_hint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <set>

using namespace moji;
using namespace testing_support;

namespace {

struct HintPlace {
    int topic;
    int section;
    int mode;
};

// One 510-byte record written field by field: the context, the number, one heading line and
// one explanation line, the other lines empty.
QByteArray hintRecord(const HintPlace& c, int number, const QString& heading, const QString& body)
{
    auto field = [](Bytes& b, const QString& text, int size) {
        const QByteArray bytes = cp932::encodeLossy(text);
        b.raw(bytes).zeros(size - int(bytes.size()));
    };
    Bytes b;
    b.i16(c.topic).i16(c.section).i16(c.mode).i16(0).i16(number);
    field(b, heading, 40);
    b.zeros(4 * 40);
    field(b, body, 60);
    b.zeros(4 * 60);
    return b;
}

// Nine hints: 1 for the main menu, 2 to 5 for the mode menu, 6 for the question session
// before a question, 7 to 9 for a reading question on screen.
QByteArray nineHints()
{
    QByteArray file;
    for (int n = 1; n <= 9; ++n) {
        HintPlace c{1, 1, 1};
        if (n >= 2 && n <= 5)
            c = {4, 1, 1};
        else if (n == 6)
            c = {12, 1, 1};
        else if (n >= 7)
            c = {12, 2, 1};
        file += hintRecord(c, n, QStringLiteral("ヒント%1のみだし").arg(n), QStringLiteral("ヒント%1のせつめい").arg(n));
    }
    return file;
}

class Hints : public ::testing::Test {
protected:
    Hints() { writeFile(f.path(QStringLiteral("Hint.dat")), nineHints()); }
    ~Hints() override
    {
        if (dialog)
            dialog->close();
        delete dialog;
    }
    void context(int topic, int section, int mode)
    {
        f.state.HintTopic = int16_t(topic);
        f.state.HintSection = int16_t(section);
        f.state.HintMode = int16_t(mode);
    }
    void open()
    {
        delete dialog;
        dialog = new TF_Hint(f.program);
        dialog->show();
    }
    QString heading() const { return dialog->findChild<QPlainTextEdit*>(QStringLiteral("Mem_Hint_Level1"))->toPlainText(); }
    QString body() const { return dialog->findChild<QPlainTextEdit*>(QStringLiteral("Mem_Hint_Level2"))->toPlainText(); }
    QString firstHeadingLine() const { return heading().section(QLatin1Char('\n'), 0, 0); }
    QString firstBodyLine() const { return body().section(QLatin1Char('\n'), 0, 0); }
    void click(const char* name) { QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton); }
    QPushButton* answerButton() const { return dialog->findChild<QPushButton*>(QStringLiteral("Btn_Kotae_Hint")); }
    // A practice reading question on screen whose answer is `reading`.
    void readingQuestion(const QString& reading)
    {
        context(12, 2, 1);
        f.state.SessionKind = false;
        f.state.StudyMode = 1;
        f.state.HintQuestion = 3;
        f.state.QuizSet[3].Answer = SjisString<10>::fromUnicode(reading);
    }

    ScreenFixture f;
    QPointer<TF_Hint> dialog;
};

} // namespace

TEST_F(Hints, PagingStaysWithinTheHintsOfTheSituation)
{
    context(12, 2, 1);
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("もじまる"));
    EXPECT_EQ(dialog->size(), QSize(425, 313));
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog->hintNo(), 7);
    // Five heading lines and five explanation lines, each ending at its field's first NUL.
    EXPECT_EQ(heading(), QStringLiteral("ヒント7のみだし\n\n\n\n"));
    EXPECT_EQ(body(), QStringLiteral("ヒント7のせつめい\n\n\n\n"));

    click("Btn_Next");
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント8のみだし"));
    click("Btn_Next");
    EXPECT_EQ(firstBodyLine(), QStringLiteral("ヒント9のせつめい"));
    click("Btn_Next");
    dialog->Btn_NextPrevClick(1);
    EXPECT_EQ(dialog->hintNo(), 9) << "the run of this situation ends at 9";
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント9のみだし"));

    click("Btn_Prev");
    click("Btn_Prev");
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント7のみだし"));
    click("Btn_Prev");
    dialog->Btn_NextPrevClick(0);
    EXPECT_EQ(dialog->hintNo(), 7) << "hint 6 belongs to another situation";
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント7のみだし"));

    // The picture leads to the hint screen's help topic; もどる closes.
    QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
    EXPECT_EQ(f.help.topics, std::vector<int>{30});
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        dialog->grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/hint.png"));
    click("BitBtn1");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(Hints, ASituationWithoutHintsShowsHintOne)
{
    context(3, 1, 1);
    open();
    EXPECT_EQ(dialog->hintNo(), 1);
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント1のみだし"));
    click("Btn_Next");
    EXPECT_EQ(dialog->hintNo(), 1) << "hint 2 is the mode menu's";
    dialog->close();

    context(4, 1, 1);
    open();
    EXPECT_EQ(dialog->hintNo(), 2);
}

// Hint.dat is read once per run: a second opening uses the index read at the first, and only
// the texts come from the file again.
TEST_F(Hints, TheIndexIsReadOnceThroughTheInstalledHandler)
{
    installHints(f.program);
    QStringList seen;
    auto readAndClose = [&] {
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<TF_Hint*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            seen << shown->findChild<QPlainTextEdit*>(QStringLiteral("Mem_Hint_Level1"))->toPlainText().section(QLatin1Char('\n'), 0, 0);
            QTest::mouseClick(shown->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
    };
    context(12, 2, 1);
    readAndClose();
    f.state.OpenHint();
    EXPECT_TRUE(f.state.HintIndexLoaded);
    EXPECT_EQ(f.state.HintIndexCount, 9);

    // A new file whose only reading-question hint is number 2: a fresh index would pick 2.
    QByteArray changed;
    for (int n = 1; n <= 9; ++n) {
        const HintPlace c = n == 2 ? HintPlace{12, 2, 1} : HintPlace{1, 1, 1};
        changed += hintRecord(c, n, QStringLiteral("あたらしい%1").arg(n), QString());
    }
    writeFile(f.path(QStringLiteral("Hint.dat")), changed);
    readAndClose();
    f.state.OpenHint();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ヒント7のみだし"), QStringLiteral("あたらしい7")}));
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

TEST_F(Hints, TheAnswerHintIsOfferedOnlyForAPracticeQuestionOnScreen)
{
    struct Case {
        int topic, section;
        bool practice;
        int question;
        bool offered;
    };
    const Case cases[] = {
        {12, 2, true, 3, true},   {12, 4, true, 3, true},  {12, 2, false, 3, false},
        {12, 1, true, 0, false},  {8, 1, true, 3, false},  {12, 2, true, 0, false},
    };
    for (const Case& c : cases) {
        context(c.topic, c.section, 1);
        f.state.SessionKind = !c.practice;
        f.state.HintQuestion = int16_t(c.question);
        open();
        EXPECT_EQ(answerButton()->isVisible(), c.offered)
            << c.topic << "/" << c.section << (c.practice ? " practice" : " challenge") << " q" << c.question;
        dialog->close();
    }
}

TEST_F(Hints, AReadingAnswerHintGivesLengthFirstOrLastKana)
{
    readingQuestion(QStringLiteral("き"));
    f.random.seed(5);
    open();
    ASSERT_TRUE(answerButton()->isVisible());
    for (int i = 0; i < 12; ++i) {
        QTest::mouseClick(answerButton(), Qt::LeftButton);
        EXPECT_EQ(heading(), QStringLiteral("こたえはなんもじかな？\n\n\n\n\n"));
        EXPECT_EQ(body(), QStringLiteral("こたえは１もじです。\n\n\n\n\n"));
    }
    dialog->close();

    readingQuestion(QStringLiteral("さくら"));
    open();
    std::set<std::pair<QString, QString>> forms;
    for (int i = 0; i < 30; ++i) {
        QTest::mouseClick(answerButton(), Qt::LeftButton);
        forms.emplace(firstHeadingLine(), firstBodyLine());
    }
    const std::set<std::pair<QString, QString>> expected = {
        {QStringLiteral("こたえはなんもじかな？"), QStringLiteral("こたえは3もじです。")},
        {QStringLiteral("こたえのさいしょのじはなにかな？"), QStringLiteral("さです？")},
        {QStringLiteral("こたえのさいごのじはなにかな？"), QStringLiteral("らです？")},
    };
    EXPECT_EQ(forms, expected);

    // The answer hint is not kept: paging shows the file's hints again.
    click("Btn_Next");
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("ヒント8のみだし"));
}

TEST_F(Hints, AWritingAnswerHintGivesTheStrokeCount)
{
    f.loadDictionary();
    context(12, 3, 2);
    f.state.SessionKind = false;
    f.state.StudyMode = 2;
    f.state.HintQuestion = 10;
    f.state.QuizSet[10].KanjiNo = 256; // 屋, nine strokes
    f.state.QuizSet[10].Answer = SjisString<10>::fromBytes(f.state.KanjiTable[256].Glyph.bytes());
    open();
    QTest::mouseClick(answerButton(), Qt::LeftButton);
    EXPECT_EQ(firstHeadingLine(), QStringLiteral("こたえはなんかくかな？"));
    EXPECT_EQ(firstBodyLine(), QStringLiteral("こたえは9かくです。"));
    if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS"))
        dialog->grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/hint-answer.png"));
}

// A Hint.dat that cannot be read is reported by name and ends the program, before the dialog
// shows; a bad hint number is reported but leaves the program running.
TEST_F(Hints, AnUnreadableHintFileIsReported)
{
    const QString message = QStringLiteral("Hint.datでエラーがおこりました。 ");
    struct Case {
        const char* what;
        QByteArray bytes; // empty: no file at all
        bool endsProgram;
    };
    const QByteArray tooHigh = hintRecord({1, 1, 1}, 101, QStringLiteral("x"), QString());
    const QByteArray outOfPlace = hintRecord({1, 1, 1}, 1, QString(), QString()) + hintRecord({4, 1, 1}, 7, QString(), QString());
    const Case cases[] = {
        {"missing", QByteArray(), true},
        {"empty", QByteArray(""), true},
        {"shorter than a record", QByteArray(100, 'a'), true},
        {"hint number 101", tooHigh, false},
        {"hint number out of place", outOfPlace, false},
    };
    for (const Case& c : cases) {
        ScreenFixture fixture;
        if (!c.bytes.isNull())
            writeFile(fixture.path(QStringLiteral("Hint.dat")), c.bytes);
        QWidget screen; // the screen the hint button was on
        screen.show();
        TF_Hint failing(fixture.program, &screen);
        EXPECT_EQ(failing.exec(), QDialog::Rejected) << c.what;
        EXPECT_FALSE(failing.isVisible()) << c.what;
        EXPECT_EQ(fixture.messages.shown, QStringList{message}) << c.what;
        EXPECT_FALSE(fixture.state.HintIndexLoaded) << c.what;
        EXPECT_EQ(fixture.state.HintIndexCount, 0) << c.what;
        EXPECT_EQ(!screen.isVisible(), c.endsProgram) << c.what;
    }
}
