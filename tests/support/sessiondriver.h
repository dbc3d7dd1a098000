#pragma once

// A pupil's hands in a question session: kana typed on the chart, kanji found with the
// writing pickers by one of their three routes, answers committed, and the scoring screen
// ticked through. Header-only, for the test programs that link the study screens.

#include "handwritingpanel.h"
#include "kanachart.h"
#include "pickerpanels.h"
#include "screenfixture.h"
#include "studystate.h"
#include "tf_saiten.h"
#include "tf_shutsudai.h"
#include "writingsquare.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <initializer_list>
#include <vector>

namespace testing_support {

// How a kanji is found in a writing session.
enum class Route { Part, Strokes, Candidates };

inline QPushButton* sessionButton(const moji::TF_Shutsudai& screen, const char* name)
{
    return screen.findChild<QPushButton*>(QLatin1String(name));
}

inline void clickShown(QPushButton* button)
{
    ASSERT_TRUE(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

// "答えあわせ" in the review, then the second of the ○ or × until the screen goes on (or the
// screen is gone).
inline void checkInReview(moji::TF_Shutsudai& screen)
{
    QPointer<moji::TF_Shutsudai> alive(&screen);
    clickShown(sessionButton(screen, "Btn_awase"));
    auto* mark = screen.findChild<QWidget*>(QStringLiteral("Lbl_Maru_Batsu"));
    QTRY_VERIFY_WITH_TIMEOUT(!alive || !alive->isVisible() || !mark->isVisible(), 5000);
}

// A kanji of the grade other than `kanjiNo`, for a wrong answer.
constexpr int otherKanji(int kanjiNo)
{
    return kanjiNo == moji::LastKanjiSlot - 1 ? moji::FirstKanjiNo : kanjiNo + 1;
}

// Types a reading on the kana chart.
inline void typeKana(moji::TF_Shutsudai& screen, const QString& kana)
{
    for (const QChar c : kana) {
        int button = 0;
        for (int i = 1; i <= 80 && button == 0; ++i) {
            if (moji::KanaChart[i - 1] == c && !moji::isHiddenKanaButton(i))
                button = i;
        }
        ASSERT_NE(button, 0) << "not on the chart";
        clickShown(screen.pickers()->kanjiButton(button));
    }
}

// Finds a kanji with the writing pickers by one of the three routes, clicks it and returns to
// the first view.
inline void pickKanji(moji::TF_Shutsudai& screen, const moji::StudyState& state, int kanjiNo, Route route)
{
    const moji::KanjiEntry& k = state.KanjiTable[kanjiNo];
    moji::PickerPanels* p = screen.pickers();
    switch (route) {
    case Route::Part:
        clickShown(p->radicalButton(k.Component1Group));
        clickShown(p->partButton(k.Component1No));
        break;
    case Route::Strokes: clickShown(p->strokeButton(k.StrokeCount)); break;
    case Route::Candidates: clickShown(p->candidatesButton()); break;
    }
    QPushButton* cancel = sessionButton(screen, "Btn_Cancel");
    for (int i = 1; i <= 80; ++i) {
        QPushButton* b = p->kanjiButton(i);
        if (b->isVisible() && b->text() == k.Glyph.toUnicode()) {
            clickShown(b);
            QTest::mouseClick(cancel, Qt::LeftButton); // back to the first view
            if (cancel->isVisible())
                QTest::mouseClick(cancel, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "kanji " << kanjiNo << " not in the list";
}

// Draws one stroke on the pad with the mouse through these points of the 0..255 writing
// square: pressed at the first, moved through the others, released at the last.
inline void drawStroke(moji::WritingSquare* square, const std::vector<QPoint>& points)
{
    ASSERT_TRUE(square && square->isVisible() && points.size() >= 2);
    auto at = [square](QPoint p) {
        return QPoint(qRound(p.x() * (square->width() - 1) / 255.0), qRound(p.y() * (square->height() - 1) / 255.0));
    };
    QTest::mousePress(square, Qt::LeftButton, {}, at(*points.begin()));
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        QTest::mouseMove(square, at(*p));
    QTest::mouseRelease(square, Qt::LeftButton, {}, at(*(points.end() - 1)));
}

// The texts of the pad's candidate buttons that can be pressed, in order.
inline QStringList padCandidates(const moji::HandwritingPanel& pad)
{
    QStringList shown;
    for (int i = 1; i <= moji::HandwritingPad::MaxCandidates; ++i) {
        if (pad.candidateButton(i)->isEnabled())
            shown << pad.candidateButton(i)->text();
    }
    return shown;
}

// Answers the current question rightly or wrongly, then presses "つぎ".
inline void answerQuestion(moji::TF_Shutsudai& screen, const moji::StudyState& state, bool right,
                           Route route = Route::Part)
{
    const moji::QuizItem& item = state.QuizSet[screen.currentQuestion()];
    if (state.StudyMode == 1)
        typeKana(screen, right ? item.Answer.toUnicode() : QStringLiteral("ぬ"));
    else
        pickKanji(screen, state, right ? item.KanjiNo : otherKanji(item.KanjiNo), route);
    clickShown(sessionButton(screen, "Btn_Next"));
}

// Ticks the scoring screen on view through its ten rows and the finishing step.
inline void tickScoring()
{
    moji::TF_Saiten* saiten = topLevel<moji::TF_Saiten>();
    ASSERT_NE(saiten, nullptr);
    QPointer<moji::TF_Saiten> alive = saiten;
    for (int i = 0; i < 11 && alive; ++i)
        saiten->Tim_SaitenTimer();
    EXPECT_TRUE(alive.isNull() || !alive->isVisible()) << "scoring closes itself";
}

// Whether a result dialog closed by a ModalCloser said `message`.
inline bool resultSaid(const QStringList& closed, const QString& message)
{
    for (QString seen : closed) {
        if (seen.startsWith(QStringLiteral("moji::TF_Level_Up")) && seen.remove(QLatin1Char('\n')).contains(message))
            return true;
    }
    return false;
}

} // namespace testing_support
