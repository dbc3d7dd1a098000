// What a family meets off the scripted paths: a program restored from the task bar stays on
// screen, an answer typed before going back is kept, the review's ○ or × sits over the answer
// the pupil gave, the result leaves the score and the marks in view, and every box keeps its
// words whole and fits the screen, however long the names in it.

#include "desktop.h"
#include "desktopprogram.h"
#include "errors.h"
#include "picturebutton.h"
#include "messages.h"
#include "sessiondriver.h"
#include "recordsopening.h"
#include "tf_level_up.h"
#include "tf_saiten.h"
#include "tf_shutsudai.h"
#include "tf_touroku.h"
#include "wordbreaks.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTableWidget>
#include <QTextLayout>

using namespace moji;
using namespace testing_support;

namespace {

class Family : public DesktopProgram {};

QRect globalRect(const QWidget* w)
{
    return {w->mapToGlobal(QPoint(0, 0)), w->size()};
}

// Where the lines of a box's text begin, laid out as the box lays it out.
QList<int> lineStarts(const QLabel* label)
{
    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<int> starts;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        starts << line.textStart();
    }
    layout.endLayout();
    return starts;
}

} // namespace

TEST_F(Family, AfterTheTaskBarRestoresTheProgramItStaysOnScreen)
{
    start();
    TF_Main& menu = run->mainMenu;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        clickOnScreen(menu.command(3)); // アイコンにする
        ASSERT_TRUE(waitFor([&] { return managedState(menu.winId()) == QLatin1String("Iconic"); }));
        desktopTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), QString::number(menu.winId())});
        ASSERT_TRUE(waitFor([&] { return managedState(menu.winId()) == QLatin1String("Normal"); }));

        // Away to registration and back: the menu comes back on screen, not to the task bar.
        clickOnScreen(menu.command(7));
        auto* registration = waitForTheOnlyScreen<TF_Touroku>();
        ASSERT_NE(registration, nullptr);
        // The window manager maps it a moment after Qt shows it.
        EXPECT_TRUE(waitFor([&] { return managedState(registration->winId()) == QLatin1String("Normal"); }));
        clickOnScreen(child<QWidget>(registration, "Img_Button4"));
        ASSERT_TRUE(waitForTheOnlyScreen<TF_Main>());
        QTest::qWait(500);
        EXPECT_EQ(managedState(menu.winId()), QLatin1String("Normal"));
        EXPECT_FALSE(menu.isMinimized());
    }
}

TEST_F(Family, AnswersStayWhereThePupilPutThemAndTheResultLeavesTheMarksInView)
{
    start();
    QPointer<TF_Shutsudai> session = startChallenge();
    ASSERT_TRUE(session);
    ASSERT_TRUE(waitFor([&] { return session->isActiveWindow(); }));

    // An answer typed, then 前のもんだい and つぎ: it is still there.
    answerQuestion(*session, state(), true);
    typeKana(*session, state().QuizSet[2].Answer.toUnicode());
    clickOnScreen(sessionButton(*session, "Btn_Prev"));
    ASSERT_TRUE(waitFor([&] { return session->currentQuestion() == 1; }));
    clickOnScreen(sessionButton(*session, "Btn_Next"));
    ASSERT_TRUE(waitFor([&] { return session->currentQuestion() == 2; }));
    EXPECT_EQ(session->answerText(), state().QuizSet[2].Answer.toUnicode());
    clickShown(sessionButton(*session, "Btn_Next"));
    for (int q = 3; q <= 10; ++q) {
        if (q == 10)
            whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
        answerQuestion(*session, state(), q % 2 == 0);
    }
    ASSERT_TRUE(waitFor([] { return topLevel<TF_Saiten>() != nullptr; }));
    EXPECT_TRUE(state().QuizSet[2].Given == state().QuizSet[2].Answer) << "question 2 is scored right";

    // Five wrong: the result opens over the scoring screen, clear of the score and the marks.
    auto* scoring = topLevel<TF_Saiten>();
    const QTableWidget* grid = scoring->grid();
    int marksLeft = 0;
    for (int c = 0; c < 3; ++c)
        marksLeft += grid->columnWidth(c);
    const QRect marks(grid->viewport()->mapToGlobal(QPoint(marksLeft, 0)), grid->viewport()->size() - QSize(marksLeft, 0));
    const QRect score = globalRect(scoring->scoreLabel());
    bool placed = false;
    whenBoxOpens([&](QWidget* box) {
        EXPECT_TRUE(qobject_cast<TF_Level_Up*>(box));
        QTest::qWait(400); // the window manager frames it
        const QRect frame = box->frameGeometry();
        placed = true;
        EXPECT_FALSE(frame.intersects(score)) << "the score stays in view";
        EXPECT_FALSE(frame.intersects(marks)) << "the answers' marks stay in view";
        EXPECT_TRUE(box->screen()->geometry().contains(frame));
        pressBoxButton(box, QStringLiteral("もどる"));
    });
    tickScoring();
    EXPECT_TRUE(placed);

    // The review: the × sits over the wrong answer, which stays under it for its second; a
    // click on the chart meanwhile changes nothing.
    ASSERT_TRUE(waitFor([&] { return session && session->inReview() && session->isActiveWindow(); }));
    const int first = session->currentQuestion();
    auto* mark = session->findChild<QLabel*>(QStringLiteral("Lbl_Maru_Batsu"));
    typeKana(*session, QStringLiteral("ぬ"));
    clickOnScreen(sessionButton(*session, "Btn_awase"));
    ASSERT_TRUE(waitFor([&] { return mark->isVisible(); }));
    EXPECT_EQ(mark->text(), QStringLiteral("×"));
    EXPECT_TRUE(globalRect(mark).contains(globalRect(session->findChild<QLabel*>(QStringLiteral("Lbl_kotae"))).center()));
    clickOnScreen(session->pickers()->kanjiButton(1));
    EXPECT_EQ(session->answerText(), QStringLiteral("ぬ")) << "the answer stays under its mark";
    ASSERT_TRUE(waitFor([&] { return !mark->isVisible(); }));
    EXPECT_EQ(session->currentQuestion(), first);
    EXPECT_TRUE(session->answerText().isEmpty());

    // The ○ sits over the right answer, on its own question, before the next one comes.
    typeKana(*session, state().QuizSet[first].Answer.toUnicode());
    clickOnScreen(sessionButton(*session, "Btn_awase"));
    ASSERT_TRUE(waitFor([&] { return mark->isVisible(); }));
    EXPECT_EQ(mark->text(), QStringLiteral("○"));
    EXPECT_EQ(session->currentQuestion(), first);
    EXPECT_EQ(session->answerText(), state().QuizSet[first].Answer.toUnicode());
    ASSERT_TRUE(waitFor([&] { return session->currentQuestion() != first; }));
}

TEST_F(Family, AChildWhoKeepsClickingTheScoringScreenIsNotHeldThere)
{
    start();
    QPointer<TF_Shutsudai> session = startChallenge();
    ASSERT_TRUE(session);
    for (int q = 1; q <= 10; ++q) {
        if (q == 10)
            whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
        clickShown(sessionButton(*session, "Btn_Next"));
    }
    ASSERT_TRUE(waitFor([] { return topLevel<TF_Saiten>() != nullptr; }));
    QPointer<TF_Saiten> scoring = topLevel<TF_Saiten>();
    // Nothing answered: the result comes over the scoring screen, then the review.
    whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("もどる")); });
    QElapsedTimer clicking;
    clicking.start();
    while (scoring && scoring->isVisible() && clicking.elapsed() < 6000) {
        clickOnScreen(scoring->grid());
        QTest::qWait(300);
    }
    EXPECT_TRUE(!scoring || !scoring->isVisible()) << "the scoring screen went on however often it was clicked";
    EXPECT_TRUE(waitFor([&] { return session && session->inReview(); }));
}

TEST_F(Family, EveryBoxKeepsItsWordsWholeAndFitsTheScreen)
{
    const QString folder = QStringLiteral("/home/") + QString(5000, QLatin1Char('a')) + QStringLiteral("/Player1.dat");
    const QString host = QString(300, QLatin1Char('k'));
    const QStringList texts = {
        QStringLiteral("１０もんおわりました。さいてんしてよいですか？"),
        QStringLiteral("これまでの記録は、控えのファイル「Kiroku-たろう-20261208-130000.bak」に残しました。"),
        QStringLiteral("名前は、とうろくのがめんにあるひらがなで入れてください。"),
        recordsInUseMessage(QStringLiteral("kodomo-pc")),
        recordsInUseMessage(host),
        fileErrorMessage(folder),
        folderNotWritableMessage(folder.chopped(12)),
        folderMissingMessage(folder.chopped(12), QStringLiteral("/home/たろう/.config/Mojimaru.ini")),
    };
    MessageBoxes boxes;
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(60).toStdString());
        bool checked = false;
        whenBoxOpens([&](QWidget* box) {
            QTest::qWait(300);
            checked = true;
            const QRect screen = box->screen()->geometry();
            EXPECT_TRUE(screen.contains(box->frameGeometry())) << "the box fits the screen";
            for (const QWidget* button : box->findChildren<QAbstractButton*>())
                EXPECT_TRUE(screen.contains(globalRect(button))) << "its buttons are on the screen";
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const QString shown = label->text();
            for (const int start : lineStarts(label)) {
                if (start == 0)
                    continue;
                const QChar before = shown[start - 1];
                EXPECT_TRUE(QStringLiteral(" 　\n、。，！？」』）").contains(before) || QStringLiteral("「『（").contains(shown[start]))
                    << "a line breaks inside a word: " << withoutWordJoiners(shown.left(start)).right(8).toStdString() << "／"
                    << withoutWordJoiners(shown.mid(start)).left(8).toStdString();
            }
            pressBoxButton(box, QStringLiteral("OK"));
        });
        boxes.information(nullptr, text);
        EXPECT_TRUE(checked);
    }
    // A long name is shortened in the middle: its start and its file's name stay.
    QFontMetrics metrics(QApplication::font());
    const QString shortened = withoutWordJoiners(boxLines(fileErrorMessage(folder), metrics, 400));
    EXPECT_TRUE(shortened.startsWith(QStringLiteral("/home/a")) && shortened.contains(QStringLiteral("…"))
                && shortened.endsWith(QStringLiteral("/Player1.datでエラーがおこりました。 ")))
        << shortened.toStdString();
}
