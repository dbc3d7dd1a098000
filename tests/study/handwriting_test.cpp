// The handwriting pad in writing sessions, through the real screen: strokes drawn with the
// mouse on the real pad reach the recogniser in the 0..255 square, its candidates come back
// best first, and a candidate goes into the answer like any kanji button, to be scored and
// recorded as before. In practice the strokes are compared with the kanji's stroke order.

#include "handwritingpanel.h"
#include "program.h"
#include "records.h"
#include "strokeorder.h"
#include "strokestext.h"
#include "synthetic.h"
#include "screenfixture.h"
#include "sessiondriver.h"
#include "testfiles.h"
#include "tf_shutsudai.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <optional>

using namespace moji;
using namespace testing_support;

namespace {

class Handwriting : public ::testing::Test {
protected:
    Handwriting()
    {
        f.loadDictionary();
        for (int g = 1; g <= 8; ++g)
            f.useBuiltFile(QStringLiteral("bushu%1.bmp").arg(g));
        for (int n = 1; n <= 3; ++n)
            f.useBuiltFile(QStringLiteral("Present%1.wmf").arg(n));
        auto fake = std::make_unique<FakeRecognizer>();
        recognizer = fake.get();
        f.program.recognizer = std::move(fake);
    }
    ~Handwriting() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        // The screen goes before the program it refers to.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void begin(int level, bool challenge)
    {
        f.addPupils(1, level, 2);
        f.state.SelectPupil(1);
        f.state.SessionKind = challenge;
        f.state.CurrentLevel = int16_t(level);
        f.state.StudyMode = 2;
        screen = new TF_Shutsudai(f.program);
        screen->showScreen();
        clickShown(sessionButton(*screen, "Btn_Next"));
        ASSERT_EQ(screen->currentQuestion(), 1);
        pad = screen->handwriting();
        ASSERT_NE(pad, nullptr);
    }

    QString glyph(int kanjiNo) const { return f.state.KanjiTable[kanjiNo].Glyph.toUnicode(); }
    QString answerOf(int q) const { return f.state.QuizSet[q].Answer.toUnicode(); }
    QGroupBox* group(const char* name) const { return screen->findChild<QGroupBox*>(QLatin1String(name)); }
    void openPad() const
    {
        ASSERT_TRUE(pad->openButton()->isVisible());
        QTest::mouseClick(pad->openButton(), Qt::LeftButton);
        ASSERT_TRUE(pad->padGroup()->isVisible());
    }
    // A cross: the horizontal stroke, then the vertical one, as the school order has it.
    void writeCross(bool firstStrokeBackwards = false) const
    {
        if (firstStrokeBackwards)
            drawStroke(pad->square(), {{216, 128}, {128, 126}, {40, 128}});
        else
            drawStroke(pad->square(), {{40, 128}, {128, 126}, {216, 128}});
        drawStroke(pad->square(), {{128, 40}, {130, 128}, {128, 216}});
    }
    // Writes a kanji on the pad in its school stroke order from the built Kakijun.dat, each
    // stroke bent a little through its middle; stroke `backwards` (from 1) the wrong way round.
    const std::vector<handwriting::ReferenceStroke>* referenceOf(const QString& kanji)
    {
        if (!order) {
            order.emplace();
            order->load(f.path(QStringLiteral("Kakijun.dat")), dictionaryKanji(f.state));
        }
        return order->strokesOf(kanji);
    }
    void writeInOrder(const QString& kanji, int backwards = 0)
    {
        const auto* strokes = referenceOf(kanji);
        ASSERT_NE(strokes, nullptr) << qPrintable(kanji);
        for (int i = 1; i <= int(strokes->size()); ++i) {
            const handwriting::ReferenceStroke& s = (*strokes)[std::size_t(i - 1)];
            QPoint from(s.start.x, s.start.y);
            QPoint to(s.end.x, s.end.y);
            if (i == backwards)
                std::swap(from, to);
            drawStroke(pad->square(), {from, (from + to) / 2 + QPoint(2, 2), to});
        }
    }

    // Drags the pen through the strokes, every other point, as the mouse moves.
    void write(const handwriting::Strokes& strokes) const
    {
        for (const handwriting::Stroke& stroke : strokes) {
            std::vector<QPoint> points;
            for (std::size_t i = 0; i < stroke.size(); i += 2)
                points.emplace_back(stroke[i].x, stroke[i].y);
            points.emplace_back(stroke.back().x, stroke.back().y);
            drawStroke(pad->square(), points);
        }
    }
    static handwriting::Strokes stored(const char* file)
    {
        QString error;
        const auto hand = handwriting::parseStrokes(
            QString::fromUtf8(readFile(QStringLiteral(MOJIMARU_WRITING_DIR "/") + QLatin1String(file))), error);
        EXPECT_TRUE(hand) << qPrintable(error);
        return hand.value_or(handwriting::Strokes{});
    }

    ScreenFixture f;
    FakeRecognizer* recognizer = nullptr;
    QPointer<TF_Shutsudai> screen;
    HandwritingPanel* pad = nullptr;
    ModalCloser modals;
    std::optional<handwriting::StrokeOrderTable> order;
};

} // namespace

// A whole challenge answered on the pad: the pupil opens it from the first view, writes, takes
// a stroke back, picks the answer among the candidates, and the session is scored and recorded
// exactly as with the pickers. Nothing is said about the stroke order in a challenge.
TEST_F(Handwriting, CandidatesFromThePadReachTheAnswerAndAreScored)
{
    begin(2, true);
    EXPECT_TRUE(group("Grp_Bushu")->isVisible());
    EXPECT_FALSE(pad->padGroup()->isVisible());
    EXPECT_EQ(recognizer->prepared, 0) << "no model is read before the pad is opened";
    openPad();
    EXPECT_EQ(recognizer->prepared, 1) << "the model is read as the pad opens, not at the first stroke";
    EXPECT_FALSE(group("Grp_Bushu")->isVisible()) << "the pad takes the picker space";
    EXPECT_FALSE(group("Grp_Kakusuu")->isVisible());
    EXPECT_TRUE(sessionButton(*screen, "Btn_Cancel")->isVisible());
    EXPECT_TRUE(padCandidates(*pad).isEmpty());

    // Nine kanji for two strokes: the pad offers the best eight, in the recogniser's order.
    const QString answer = answerOf(1);
    QStringList two;
    for (int k = 1; k <= 9; ++k)
        two << glyph(k == 3 ? f.state.QuizSet[1].KanjiNo : 100 + k);
    recognizer->readings[1] = {glyph(1), glyph(2)};
    recognizer->readings[2] = two;

    drawStroke(pad->square(), {{40, 128}, {128, 126}, {216, 128}});
    ASSERT_EQ(recognizer->last.size(), 1u);
    const handwriting::Stroke& stroke = recognizer->last[0];
    ASSERT_GE(stroke.size(), 3u);
    EXPECT_NEAR(stroke.front().x, 40, 1);
    EXPECT_NEAR(stroke.front().y, 128, 1);
    EXPECT_NEAR(stroke.back().x, 216, 1);
    EXPECT_TRUE(std::any_of(stroke.begin(), stroke.end(), [](const handwriting::Point& p) { return std::abs(p.x - 128) <= 1; }))
        << "the moves between press and release are kept";
    EXPECT_EQ(padCandidates(*pad), recognizer->readings[1]);

    drawStroke(pad->square(), {{128, 40}, {128, 216}});
    EXPECT_EQ(recognizer->last.size(), 2u);
    EXPECT_EQ(padCandidates(*pad), two.mid(0, 8));
    QTest::mouseClick(pad->undoButton(), Qt::LeftButton);
    EXPECT_EQ(recognizer->last.size(), 1u) << "the last stroke is taken back";
    EXPECT_EQ(padCandidates(*pad), recognizer->readings[1]);
    drawStroke(pad->square(), {{128, 40}, {128, 216}});
    ASSERT_EQ(pad->candidateButton(3)->text(), answer);
    QTest::mouseClick(pad->candidateButton(3), Qt::LeftButton);
    EXPECT_EQ(screen->answerText(), answer);
    EXPECT_TRUE(padCandidates(*pad).isEmpty()) << "the square is ready for the next kanji";
    EXPECT_TRUE(pad->pad().strokes().empty());
    EXPECT_FALSE(pad->message().contains(QStringLiteral("かきじゅん")));

    // "もどる" leaves the pad for the first view; the next question starts there too.
    clickShown(sessionButton(*screen, "Btn_Cancel"));
    EXPECT_FALSE(pad->padGroup()->isVisible());
    EXPECT_TRUE(group("Grp_Bushu")->isVisible());
    EXPECT_EQ(screen->answerText(), answer);
    for (int q = 1; q <= 10; ++q) {
        if (q > 1) {
            EXPECT_FALSE(pad->padGroup()->isVisible()) << q;
            openPad();
            recognizer->readings[1] = {glyph(otherKanji(f.state.QuizSet[q].KanjiNo)), answerOf(q)};
            drawStroke(pad->square(), {{30, 30}, {200, 220}});
            QTest::mouseClick(pad->candidateButton(2), Qt::LeftButton);
            EXPECT_EQ(screen->answerText(), answerOf(q)) << q;
        }
        clickShown(sessionButton(*screen, "Btn_Next"));
    }
    tickScoring();
    EXPECT_EQ(f.state.SessionCorrect, 10);
    const QByteArray h = readFile(f.path(historyFileName(1)));
    ASSERT_EQ(h.size(), 52);
    EXPECT_EQ(h[48], 1) << "counted";
    EXPECT_TRUE(f.messages.shown.filter(QStringLiteral("エラー")).isEmpty())
        << "Kakijun.dat, absent here, is never read in a challenge: " << qPrintable(f.messages.shown.join(u'|'));
    EXPECT_TRUE(modals.closed.filter(QStringLiteral("TF_Kakijun")).isEmpty());
}

// The pad with the recogniser the program makes and Zinnia's model: a kanji drawn by hand on
// the pad comes back among at most eight candidates, every one a kanji of grades 1 to 3, and
// the one pressed is what the answer label shows. Written small in a corner, it reads first.
TEST_F(Handwriting, ZinniaReadsThePadIntoTheAnswerLabel)
{
    f.program.recognizer = createSchoolRecognizer(f.state);
    recognizer = nullptr;
    begin(2, true);
    openPad();
    for (const char* file : {"eki.txt", "ta.txt"}) {
        QTest::mouseClick(pad->clearButton(), Qt::LeftButton);
        write(handwriting::placed(stored(file), 0.4, 145, 150));
        ASSERT_FALSE(padCandidates(*pad).isEmpty()) << file;
        EXPECT_EQ(padCandidates(*pad).front(), file == std::string("ta.txt") ? QStringLiteral("田") : QStringLiteral("駅"))
            << file << " written small in the bottom right: " << qPrintable(padCandidates(*pad).join(u' '));
    }
    QTest::mouseClick(pad->clearButton(), Qt::LeftButton);
    write(stored("ta.txt"));
    const QStringList shown = padCandidates(*pad);
    EXPECT_LE(shown.size(), HandwritingPad::MaxCandidates);
    QStringList school;
    for (int k = 1; k <= 440; ++k)
        school << glyph(k);
    for (const QString& kanji : shown)
        EXPECT_TRUE(school.contains(kanji)) << qPrintable(kanji) << " is not a kanji of grades 1 to 3";
    const int ta = int(shown.indexOf(QStringLiteral("田")));
    ASSERT_GE(ta, 0) << qPrintable(shown.join(u' '));
    QTest::mouseClick(pad->candidateButton(ta + 1), Qt::LeftButton);
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Lbl_kotae"))->text(), QStringLiteral("田"));
}

// In practice the strokes the pupil wrote are compared with the taken kanji's stroke order
// from the built Kakijun.dat, read at the first need, and the verdict is said under the pad;
// "かきじゅん" shows the numbered strokes of the kanji in the answer.
TEST_F(Handwriting, PracticeTellsThePupilAboutTheStrokeOrder)
{
    begin(1, false);
    const QString answer = answerOf(1);
    f.useBuiltFile(QStringLiteral("Kakijun.dat"));
    openPad();
    QTest::mouseClick(pad->strokeOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(modals.closed.isEmpty()) << "nothing to show before a kanji is in the answer";

    // The longest stroke written backwards: a turn no child's wobble explains.
    ASSERT_NE(referenceOf(answer), nullptr);
    const auto& reference = *referenceOf(answer);
    int longest = 1;
    for (int i = 1; i <= int(reference.size()); ++i) {
        auto length = [](const handwriting::ReferenceStroke& r) { return std::hypot(r.end.x - r.start.x, r.end.y - r.start.y); };
        if (length(reference[std::size_t(i - 1)]) > length(reference[std::size_t(longest - 1)]))
            longest = i;
    }
    recognizer->readings[int(reference.size())] = {answer};
    writeInOrder(answer, longest);
    QTest::mouseClick(pad->candidateButton(1), Qt::LeftButton);
    EXPECT_EQ(screen->answerText(), answer);
    handwriting::StrokeCheck turned;
    turned.verdict = handwriting::StrokeCheck::Verdict::Direction;
    turned.stroke = longest;
    EXPECT_EQ(pad->message(), QStringLiteral("「%1」：").arg(answer) + handwriting::strokeCheckMessage(turned));
    EXPECT_TRUE(pad->message().contains(QStringLiteral("かくめの　むきが　ちがうよ")));
    EXPECT_EQ(pad->pad().blamedStroke(), longest) << "the stroke the remark is about is marked";

    clickShown(sessionButton(*screen, "Btn_Delall"));
    writeInOrder(answer);
    QTest::mouseClick(pad->candidateButton(1), Qt::LeftButton);
    EXPECT_EQ(pad->message(), QStringLiteral("「%1」：かきじゅんも　ばっちり！").arg(answer));

    // The numbered strokes beside the writing, not over it, until closed; the pupil writes on.
    QTest::mouseClick(pad->strokeOrderButton(), Qt::LeftButton);
    EXPECT_TRUE(modals.closed.isEmpty()) << "no dialog over the pad";
    EXPECT_EQ(pad->diagramKanji(), answer);
    ASSERT_TRUE(pad->diagram()->isVisible());
    EXPECT_FALSE(pad->diagram()->geometry().intersects(pad->square()->geometry()));
    EXPECT_FALSE(pad->candidateButton(1)->isVisible());
    EXPECT_TRUE(pad->message().startsWith(QStringLiteral("「%1」の　かきじゅん（").arg(answer)));
    drawStroke(pad->square(), {{40, 60}, {200, 60}});
    EXPECT_TRUE(pad->diagram()->isVisible()) << "held beside the writing";
    QTest::mouseClick(pad->strokeOrderButton(), Qt::LeftButton);
    EXPECT_FALSE(pad->diagram()->isVisible());
    EXPECT_TRUE(pad->candidateButton(1)->isVisible());
    EXPECT_FALSE(pad->message().contains(QStringLiteral("かきじゅん"))) << "the caption went with the diagram";
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

// Kakijun.dat is our own file, but a damaged one must not cost the pupil the session: it is
// reported once, as every data file is, and the pad goes on without stroke-order messages.
TEST_F(Handwriting, ADamagedStrokeOrderFileIsReportedOnceAndThePadGoesOn)
{
    begin(1, false);
    writeFile(f.path(QStringLiteral("Kakijun.dat")), QByteArray(50, '\x01'));
    recognizer->readings[2] = {answerOf(1)};
    openPad();
    for (int i = 0; i < 2; ++i) {
        writeCross();
        QTest::mouseClick(pad->candidateButton(1), Qt::LeftButton);
    }
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Kakijun.datでエラーがおこりました。 ")});
    EXPECT_EQ(screen->answerText(), answerOf(1).repeated(2));
    EXPECT_TRUE(screen && screen->isVisible());
    EXPECT_FALSE(pad->message().contains(QStringLiteral("ちがうよ")));
}

namespace {

// How many pixels of the square are drawn in about this colour.
int pixelsOf(QWidget* square, const QColor& colour)
{
    const QImage image = square->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 40;
        }
    }
    return n;
}

const QColor MissingBlue(90, 140, 220);
const QColor BlamedOrange(240, 130, 30);

} // namespace

// In practice the pupil asks "あってる？" and the pad compares the writing, written small and off
// the middle with Zinnia reading it, with the answer's strokes: a stroke left out is named and
// drawn faintly where it belongs, a swap and a reversal are named with the stroke marked,
// right writing with loose proportions is praised and offered, unfinished right writing is
// encouraged, and another kanji gets no hint of the answer.
TEST_F(Handwriting, ThePracticeCoachNamesWhatDiffersFromTheAnswer)
{
    f.program.recognizer = createSchoolRecognizer(f.state);
    recognizer = nullptr;
    f.useBuiltFile(QStringLiteral("Kakijun.dat"));
    begin(1, false);
    const QString answer = answerOf(1);
    ASSERT_NE(referenceOf(answer), nullptr);
    const auto& reference = *referenceOf(answer);
    ASSERT_GE(reference.size(), 4u);
    openPad();
    ASSERT_TRUE(pad->checkButton()->isVisible());
    moji::RandomSource hand(5);
    auto ask = [&](const handwriting::Strokes& written) {
        QTest::mouseClick(pad->clearButton(), Qt::LeftButton);
        write(handwriting::placed(written, 0.5, 115, 20));
        QTest::mouseClick(pad->checkButton(), Qt::LeftButton);
        return pad->message();
    };
    const handwriting::Strokes right = handwritten(reference, hand);

    handwriting::Strokes fewer = right;
    fewer.erase(fewer.begin() + 1);
    EXPECT_EQ(ask(fewer), QStringLiteral("２かくめが　ないよ"));
    ASSERT_TRUE(pad->pad().remark() && pad->pad().remark()->missingAt);
    EXPECT_GT(pixelsOf(pad->square(), MissingBlue), 20) << "the missing stroke is drawn";

    handwriting::Strokes swapped = right;
    std::swap(swapped[0], swapped[1]);
    EXPECT_EQ(ask(swapped), QStringLiteral("１かくめの　じゅんばんが　ちがうよ"));
    EXPECT_EQ(pad->pad().blamedStroke(), 1);
    EXPECT_GT(pixelsOf(pad->square(), BlamedOrange), 20) << "the stroke is marked";
    EXPECT_EQ(pixelsOf(pad->square(), MissingBlue), 0);

    std::size_t longest = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        auto length = [](const handwriting::ReferenceStroke& r) { return std::hypot(r.end.x - r.start.x, r.end.y - r.start.y); };
        if (length(reference[i]) > length(reference[longest]))
            longest = i;
    }
    handwriting::Strokes reversed = right;
    std::reverse(reversed[longest].begin(), reversed[longest].end());
    handwriting::StrokeCheck turned;
    turned.verdict = handwriting::StrokeCheck::Verdict::Direction;
    turned.stroke = int(longest) + 1;
    EXPECT_EQ(ask(reversed), handwriting::strokeCheckMessage(turned));
    EXPECT_EQ(pad->pad().blamedStroke(), int(longest) + 1);

    // Loose proportions, right order: praised, and the answer is among the candidates to take.
    EXPECT_EQ(ask(handwritten(reference, hand, handwriting::LooseEnds)), QStringLiteral("かきじゅんも　ばっちり！　こうほから　えらんでね"));
    const int at = int(padCandidates(*pad).indexOf(answer));
    ASSERT_GE(at, 0) << qPrintable(padCandidates(*pad).join(u' '));
    QTest::mouseClick(pad->candidateButton(at + 1), Qt::LeftButton);
    EXPECT_EQ(screen->answerText(), answer);
    EXPECT_FALSE(pad->pad().remark());

    const handwriting::Strokes begun(right.begin(), right.begin() + 2);
    EXPECT_EQ(ask(begun), QStringLiteral("ここまで　あってるよ。つづけて　かいてね"));
    // A kanji of the level with three strokes more or fewer.
    QString other;
    for (int k = 241; k <= 260 && other.isEmpty(); ++k) {
        if (referenceOf(glyph(k)) && std::abs(int(referenceOf(glyph(k))->size()) - int(reference.size())) >= 3)
            other = glyph(k);
    }
    ASSERT_FALSE(other.isEmpty());
    EXPECT_EQ(ask(handwritten(*referenceOf(other), hand)), QStringLiteral("もういちど　かいてみよう"))
        << "another kanji: nothing of the answer is told";
    EXPECT_FALSE(pad->pad().remark());
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

// Unasked, the coach speaks only when the writing is nearly whole and the recogniser does not
// list the answer: a stroke left out in the middle is named, a last stroke not yet written is
// not; writing that is the answer though the recogniser missed it is offered first. In a
// challenge the candidates alone decide: no coach, no "あってる？", nothing of the answer.
TEST_F(Handwriting, TheCoachSpeaksUnaskedOnlyInPracticeAndWhenTheWritingIsNearlyWhole)
{
    f.useBuiltFile(QStringLiteral("Kakijun.dat"));
    begin(1, false);
    const QString answer = answerOf(1);
    ASSERT_NE(referenceOf(answer), nullptr);
    const auto& reference = *referenceOf(answer);
    const int n = int(reference.size());
    recognizer->readings[n - 1] = {glyph(1), glyph(2)};
    recognizer->readings[n] = {glyph(3)};
    openPad();
    moji::RandomSource hand(9);
    const handwriting::Strokes right = handwritten(reference, hand);

    handwriting::Strokes fewer = right;
    fewer.erase(fewer.begin() + 2);
    write(handwriting::placed(fewer, 0.6, 90, 90));
    EXPECT_EQ(pad->message(), QStringLiteral("３かくめが　ないよ"));
    EXPECT_GT(pixelsOf(pad->square(), MissingBlue), 20);
    QTest::mouseClick(pad->undoButton(), Qt::LeftButton);
    EXPECT_FALSE(pad->pad().remark()) << "the remark went with the writing it was about";
    EXPECT_TRUE(pad->message().isEmpty());

    QTest::mouseClick(pad->clearButton(), Qt::LeftButton);
    write(handwriting::Strokes(right.begin(), right.end() - 1));
    EXPECT_TRUE(pad->message().isEmpty()) << "the last stroke is still to come: " << qPrintable(pad->message());
    write({right.back()});
    EXPECT_EQ(padCandidates(*pad).value(0), answer) << "right writing the recogniser missed is offered first";
    EXPECT_TRUE(pad->message().isEmpty());
    QTest::mouseClick(pad->candidateButton(1), Qt::LeftButton);
    EXPECT_EQ(pad->message(), QStringLiteral("「%1」：かきじゅんも　ばっちり！").arg(answer));
}

TEST_F(Handwriting, AChallengeNeverCoaches)
{
    f.useBuiltFile(QStringLiteral("Kakijun.dat"));
    begin(1, true);
    const QString answer = answerOf(1);
    ASSERT_NE(referenceOf(answer), nullptr);
    const auto& reference = *referenceOf(answer);
    openPad();
    EXPECT_FALSE(pad->checkButton()->isVisible());
    EXPECT_FALSE(pad->strokeOrderButton()->isVisible());
    moji::RandomSource hand(9);
    handwriting::Strokes written = handwritten(reference, hand);
    written.erase(written.begin() + 2);
    write(written);
    EXPECT_FALSE(pad->pad().remark());
    EXPECT_FALSE(padCandidates(*pad).contains(answer));
    EXPECT_FALSE(pad->message().contains(QStringLiteral("かくめ")));
    write({written.front()});
    EXPECT_FALSE(padCandidates(*pad).contains(answer));
    EXPECT_TRUE(f.messages.shown.isEmpty()) << "Kakijun.dat is not even read";
}
