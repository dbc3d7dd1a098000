// The handwriting pad on a real desktop, written on as a child writes: every stroke a drag of the
// real pointer through the X server (xdotool: press, moves, release), small and off the middle
// of the square, read by the real recogniser. A message belongs to the writing it speaks of:
// it goes with the kanji it was about when the answer is cleared, when the review checks the
// answer, and when the stroke-order diagram closes; and a stroke beyond the thirtieth is
// refused with a word, not silently.

#include "desktop.h"
#include "desktopprogram.h"
#include "handwritingpanel.h"
#include "program.h"
#include "randomsource.h"
#include "sessiondriver.h"
#include "synthetic.h"
#include "tf_level_up.h"
#include "tf_mode.h"
#include "tf_renshuu.h"
#include "tf_shutsudai.h"
#include "writingsquare.h"
#include "clickablelabel.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QSignalSpy>

using namespace moji;
using namespace testing_support;

namespace {

class PadOnTheDesktop : public DesktopProgram {
protected:
    // Drags the real pointer through the stroke's points (0..255 on the square) and waits
    // until the pad has taken the stroke.
    void drag(const handwriting::Stroke& stroke)
    {
        WritingSquare* square = pad->square();
        auto at = [square](const handwriting::Point& p) {
            const QPoint g = square->mapToGlobal(
                QPoint(qRound(p.x * (square->width() - 1) / 255.0), qRound(p.y * (square->height() - 1) / 255.0)));
            return QStringList{QString::number(g.x()), QString::number(g.y())};
        };
        QStringList args{QStringLiteral("mousemove")};
        args << at(stroke.front()) << QStringLiteral("mousedown") << QStringLiteral("1");
        for (std::size_t i = 1; i < stroke.size(); i += 2)
            args << QStringLiteral("mousemove") << at(stroke[i]);
        args << QStringLiteral("mousemove") << at(stroke.back()) << QStringLiteral("mouseup") << QStringLiteral("1");
        QSignalSpy finished(square, &WritingSquare::strokeFinished);
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), args);
        ASSERT_TRUE(waitFor([&] { return tool.state() == QProcess::NotRunning; }, 10000)) << "xdotool hung";
        ASSERT_TRUE(waitFor([&] { return finished.count() == 1; })) << "the pad never saw the pen lifted";
    }

    // A kanji as a hand writes it from Kakijun.dat, at half the square's size off its middle.
    void write(const QString& kanji, double left, double top)
    {
        const handwriting::StrokeOrderTable* table = run->program.strokeOrder(nullptr);
        ASSERT_TRUE(table && table->strokesOf(kanji)) << qPrintable(kanji);
        for (const handwriting::Stroke& s : handwriting::placed(handwriting::handwritten(*table->strokesOf(kanji), hand), 0.5, left, top))
            drag(s);
    }

    // Takes the first candidate that is not `other` into the answer; which one it was.
    QString takeCandidateOtherThan(const QString& other)
    {
        for (int i = 1; i <= HandwritingPad::MaxCandidates; ++i) {
            QPushButton* b = pad->candidateButton(i);
            if (b->isEnabled() && b->isVisible() && b->text() != other) {
                const QString kanji = b->text();
                click(b);
                return kanji;
            }
        }
        ADD_FAILURE() << "no candidate but " << qPrintable(other);
        return {};
    }

    QString said() const { return pad->message(); }

    TF_Shutsudai* startWritingPractice()
    {
        start();
        // The recogniser the program makes once its dictionary is read.
        run->program.recognizer = createSchoolRecognizer(state());
        TF_Mode* menu = choosePupil(*run, 1);
        if (!menu)
            return nullptr;
        click(menu->commandLabel(4));
        TF_Renshuu* levels = onView<TF_Renshuu>();
        if (!levels)
            return nullptr;
        click(levels->levelButton(2, 1));
        TF_Shutsudai* session = onView<TF_Shutsudai>();
        if (!session)
            return nullptr;
        clickShown(sessionButton(*session, "Btn_Next")); // はじめ
        pad = session->handwriting();
        return session;
    }

    void openPad()
    {
        ASSERT_TRUE(pad);
        click(pad->openButton());
        ASSERT_TRUE(waitFor([this] { return pad->padGroup()->isVisible(); }));
    }

    HandwritingPanel* pad = nullptr;
    RandomSource hand{3};
};

} // namespace

TEST_F(PadOnTheDesktop, AMessageGoesWithTheWritingItSpeaksOfAndAFullSquareSaysSo)
{
    QPointer<TF_Shutsudai> session = startWritingPractice();
    ASSERT_TRUE(session && pad);
    openPad();

    // A kanji written small in the top left and taken: the pad says what it thinks of it.
    const QString answer = state().QuizSet[1].Answer.toUnicode();
    write(answer, 12, 20);
    const QString taken = takeCandidateOtherThan(QString());
    EXPECT_EQ(session->answerText(), taken);
    EXPECT_TRUE(said().startsWith(QStringLiteral("「%1」").arg(taken))) << qPrintable(said());

    // ぜんぶけす: the kanji is gone from the answer, and so is what was said of it.
    clickShown(sessionButton(*session, "Btn_Delall"));
    EXPECT_TRUE(session->answerText().isEmpty());
    EXPECT_FALSE(said().contains(taken)) << qPrintable(said());

    // Thirty strokes, then a thirty-first: refused, and the pupil is told.
    for (int i = 0; i < 31; ++i) {
        const int x = 20 + (i % 10) * 22, y = 40 + (i / 10) * 50;
        drag({{x, y}, {x + 4, y + 15}, {x + 8, y + 30}});
    }
    EXPECT_EQ(pad->pad().strokes().size(), 30u);
    EXPECT_TRUE(said().contains(QStringLiteral("かけないよ"))) << "the 31st stroke went without a word: " << qPrintable(said());
    click(pad->clearButton());
    EXPECT_TRUE(pad->pad().strokes().empty());

    // Every answer wrong, then the review.
    click(sessionButton(*session, "Btn_Cancel")); // back to the pickers
    for (int q = 1; q <= 10; ++q) {
        if (q == 10)
            whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("はい")); });
        answerQuestion(*session, state(), false);
    }
    whenBoxOpens([](QWidget* box) {
        EXPECT_TRUE(qobject_cast<TF_Level_Up*>(box)) << box->metaObject()->className();
        pressBoxButton(box, QStringLiteral("もどる"));
    });
    tickScoring();
    // The review is written on once it is on the screen and has the focus, as a child sees it.
    ASSERT_TRUE(waitFor([&] { return session && session->inReview() && session->isActiveWindow(); }));
    const int q = session->currentQuestion();
    const QString right = state().QuizSet[q].Answer.toUnicode();

    // A wrong kanji written on the pad and taken, then checked: what was said of it goes.
    openPad();
    write(state().QuizSet[q == 1 ? 2 : 1].Answer.toUnicode(), 110, 100);
    const QString wrong = takeCandidateOtherThan(right);
    EXPECT_TRUE(said().startsWith(QStringLiteral("「%1」").arg(wrong))) << qPrintable(said());
    // A dialog showing the answer over the screen is closed as the pupil closes it.
    whenBoxOpens([](QWidget* box) { pressBoxButton(box, QStringLiteral("とじる")); });
    checkInReview(*session);
    QTest::qWait(300);
    forgetUnansweredBoxes();
    EXPECT_EQ(session->currentQuestion(), q);
    EXPECT_FALSE(said().contains(wrong)) << "a message about a kanji checked and gone: " << qPrintable(said());

    // The answer's stroke order beside the pad, with a word of its own; closed, both go.
    if (pad->strokeOrderButton()->text() == QStringLiteral("とじる"))
        click(pad->strokeOrderButton());
    EXPECT_FALSE(said().contains(wrong)) << qPrintable(said());
    EXPECT_FALSE(said().contains(QStringLiteral("かきじゅん"))) << "the diagram's word outlived it: " << qPrintable(said());
}
