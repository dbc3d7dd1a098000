// The kanji list board: where each kanji is scattered and where it ends, its colour, the
// timing of the animation, the music, and leaving in the middle.

#include "kanjiboard.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_k_ichiran.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <set>

using namespace moji;
using namespace testing_support;

namespace {

struct BoardFixture {
    BoardFixture()
    {
        f.loadDictionary();
        f.addPupils(1);
        f.state.PlayerNo = 1;
        f.state.CurrentLevel = 1;
        f.state.StudyMode = 1;
    }
    ScreenFixture f;
};

// The kanji (by position 1 to 200) that end red, and the slot of every kanji.
std::vector<int> redKanji(const KanjiBoard& board)
{
    std::vector<int> red;
    for (int i = 1; i <= board.kanjiCount(); ++i) {
        if (board.kanji(i).passed)
            red.push_back(i);
    }
    return red;
}

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

// Passed kanji take slots 1, 2, … and the others N, N - 1, …, each group in KanjiNo order.
void expectSlots(const KanjiBoard& board)
{
    int passed = 0;
    int back = board.kanjiCount() + 1;
    for (int i = 1; i <= board.kanjiCount(); ++i)
        EXPECT_EQ(board.slotOf(i), board.kanji(i).passed ? ++passed : --back) << "kanji " << i;
}

} // namespace

// Cells run down each 24 x 30 column, then on to the next; the larger layout scales them.
TEST(KanjiBoardLogic, CellsRunDownTheColumns)
{
    KanjiBoard board;
    EXPECT_EQ(board.cellSize(), QSize(24, 30));
    EXPECT_EQ(board.boardSize(), QSize(480, 360));
    EXPECT_EQ(board.cellTopLeft(1), QPoint(0, 0));
    EXPECT_EQ(board.cellTopLeft(12), QPoint(0, 330));
    EXPECT_EQ(board.cellTopLeft(13), QPoint(24, 0));
    EXPECT_EQ(board.cellTopLeft(240), QPoint(456, 330));
    EXPECT_THROW(board.cellTopLeft(241), RangeError);
    EXPECT_THROW(board.cellTopLeft(0), RangeError);
    EXPECT_EQ(KanjiBoard(1.25).cellSize(), QSize(30, 38));
}

// The scattered cells are a random permutation of cells 1 to 200, the same for the same seed.
TEST(KanjiBoardLogic, ScattersEveryKanjiOverItsOwnCell)
{
    BoardFixture b;
    auto scattered = [&](uint32_t seed) {
        RandomSource random(seed);
        KanjiBoard board;
        board.build(b.f.state, random, 1);
        std::vector<QPoint> cells;
        for (int i = 1; i <= board.kanjiCount(); ++i)
            cells.push_back({board.kanji(i).scatteredX, board.kanji(i).scatteredY});
        return cells;
    };
    const std::vector<QPoint> first = scattered(7);
    KanjiBoard plain;
    std::set<std::pair<int, int>> used;
    std::set<std::pair<int, int>> allowed;
    for (int c = 1; c <= 200; ++c)
        allowed.insert({plain.cellTopLeft(c).x(), plain.cellTopLeft(c).y()});
    int inPlace = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        used.insert({first[i].x(), first[i].y()});
        inPlace += first[i] == plain.cellTopLeft(int(i) + 1) ? 1 : 0;
    }
    EXPECT_EQ(first.size(), 200u);
    EXPECT_EQ(used, allowed) << "each of cells 1 to 200 holds exactly one kanji";
    EXPECT_LT(inPlace, 10) << "scattered, not in order";
    EXPECT_EQ(scattered(7), first);
    EXPECT_NE(scattered(8), first);
}

// Nobody has passed anything: all yellow, the lowest KanjiNo in the last slot.
TEST(KanjiBoardLogic, WithNothingPassedAllKanjiFillFromTheEnd)
{
    BoardFixture b;
    RandomSource random(3);
    KanjiBoard board;
    board.build(b.f.state, random, 1);
    EXPECT_TRUE(redKanji(board).empty());
    EXPECT_EQ(board.slotOf(1), 200);
    EXPECT_EQ(board.slotOf(200), 1);
    expectSlots(board);
    EXPECT_EQ(board.kanji(1).kanji, QStringLiteral("悪"));
}

// Level 3 reading: the 40 kanji of levels 1 and 2 are red in both lists, with those passed on
// their own. Level 3 writing: 60 red in the reading list, 40 in the writing list.
TEST(KanjiBoardLogic, CompletedLevelsAndPassedKanjiAreRed)
{
    BoardFixture b;
    StudyState& s = b.f.state;
    s.CurrentLevel = 3;
    s.StudyMode = 1;
    s.KanjiProgress[300][1].Passed = true; // the 60th kanji, in reading only
    RandomSource random(5);
    KanjiBoard board;

    board.build(s, random, 1);
    std::vector<int> expected = range(1, 40);
    expected.push_back(60);
    EXPECT_EQ(redKanji(board), expected);
    EXPECT_EQ(board.slotOf(60), 41);
    EXPECT_EQ(board.slotOf(41), 200);
    expectSlots(board);
    board.build(s, random, 2);
    EXPECT_EQ(redKanji(board), range(1, 40));
    expectSlots(board);

    s.StudyMode = 2;
    s.KanjiProgress[300][1].Passed = false;
    board.build(s, random, 1);
    EXPECT_EQ(redKanji(board), range(1, 60));
    expectSlots(board);
    board.build(s, random, 2);
    EXPECT_EQ(redKanji(board), range(1, 40));
    expectSlots(board);
}

// 17 scattered ticks at 10 ms, then 30 gliding ticks at 200 ms along straight lines, ending
// exactly in the slots.
TEST(KanjiBoardLogic, ScattersThenGlidesIntoTheSlots)
{
    BoardFixture b;
    b.f.state.CurrentLevel = 2;
    RandomSource random(11);
    KanjiBoard board;
    EXPECT_EQ(board.tick(), KanjiBoard::Step::None) << "nothing before a list is chosen";
    board.build(b.f.state, random, 1);
    const KanjiBoard::TKanji_State k = board.kanji(30);
    const QPoint from(k.scatteredX, k.scatteredY);
    const QPoint to(k.sortedX, k.sortedY);
    ASSERT_NE(from, to);

    for (int t = 1; t <= 16; ++t) {
        EXPECT_EQ(board.tick(), KanjiBoard::Step::Draw);
        EXPECT_EQ(board.interval(), 10);
        EXPECT_EQ(board.positionOf(30), from);
    }
    EXPECT_EQ(board.tick(), KanjiBoard::Step::SlowDown) << "the 17th tick";
    EXPECT_EQ(board.phase(), KanjiBoard::Phase::Gliding);
    EXPECT_EQ(board.interval(), 200);
    EXPECT_EQ(board.positionOf(30), from);
    for (int n = 1; n <= 29; ++n) {
        EXPECT_EQ(board.tick(), KanjiBoard::Step::Draw);
        const int left = 30 - n;
        EXPECT_EQ(board.positionOf(30),
                  QPoint(to.x() + left * (from.x() - to.x()) / 30, to.y() + left * (from.y() - to.y()) / 30))
            << n;
    }
    EXPECT_EQ(board.tick(), KanjiBoard::Step::Finished);
    EXPECT_EQ(board.phase(), KanjiBoard::Phase::Idle);
    for (int i = 1; i <= 200; ++i)
        EXPECT_EQ(board.positionOf(i), KanjiBoard().cellTopLeft(board.slotOf(i))) << i;
    EXPECT_EQ(board.tick(), KanjiBoard::Step::None);
}

class BoardScreen : public ::testing::Test, protected BoardFixture {
protected:
    BoardScreen()
    {
        f.useBuiltFile(QStringLiteral("ichiran.mid"));
        f.state.MidiDeviceCount = 1;
    }
    ~BoardScreen() override
    {
        if (screen)
            screen->close();
        // Gone before the program it refers to, not in a later test's event loop.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void open()
    {
        screen = new TF_K_ichiran(f.program);
        screen->showScreen();
    }
    QPushButton* button(const char* name) { return screen->findChild<QPushButton*>(QLatin1String(name)); }
    QLabel* label(const char* name) { return screen->findChild<QLabel*>(QLatin1String(name)); }
    bool legendShown() { return label("Lbl_Setsumei1")->isVisible() && label("Lbl_Setsumei2")->isVisible(); }
    bool buttonsShown() { return button("Btn_Yomi")->isVisible() && button("Btn_Kaki")->isVisible(); }
    void runTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            screen->Tim_KanjiTimer();
    }
    // Counts the red and yellow pixels of the board inside slot c.
    std::pair<int, int> inkIn(const QImage& image, int c)
    {
        const QRect cell(KanjiBoard().cellTopLeft(c), QSize(24, 30));
        int red = 0;
        int yellow = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                red += p.red() > 180 && p.green() < 80 ? 1 : 0;
                yellow += p.red() > 180 && p.green() > 180 && p.blue() < 100 ? 1 : 0;
            }
        }
        return {red, yellow};
    }
    QPointer<TF_K_ichiran> screen;
};

// The whole animation through the real controls: legend and music while the kanji move,
// buttons back and the sorted board, red from slot 1 and yellow to the end, when it stops.
TEST_F(BoardScreen, SortsTheBoardBeforeThePupilsEyes)
{
    f.state.CurrentLevel = 3;
    f.state.StudyMode = 2;
    open();
    EXPECT_EQ(label("Lbl_TItle")->text(), QStringLiteral("かんじのいちらん"));
    EXPECT_EQ(f.state.HintTopic, 5);
    EXPECT_EQ(screen->helpTopic(), 310);
    EXPECT_EQ(button("Btn_Yomi")->text(), QStringLiteral("読む"));
    EXPECT_EQ(button("Btn_Kaki")->text(), QStringLiteral("書く"));
    EXPECT_EQ(label("Lbl_Setsumei1")->text(), QStringLiteral("赤い"));
    EXPECT_EQ(label("Lbl_Setsumei2")->text(), QStringLiteral("字はごうかくした字だよ"));
    EXPECT_FALSE(legendShown());
    EXPECT_TRUE(buttonsShown());
    EXPECT_FALSE(screen->timer().isActive());
    FakePlayer* music = f.audio.playerFor(QStringLiteral("ichiran.mid"));
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->plays, 0);

    QTest::mouseClick(button("Btn_Yomi"), Qt::LeftButton);
    EXPECT_TRUE(screen->animating());
    EXPECT_TRUE(screen->timer().isActive());
    EXPECT_EQ(screen->timer().interval(), 10);
    EXPECT_TRUE(legendShown());
    EXPECT_FALSE(button("Btn_Yomi")->isVisible());
    EXPECT_FALSE(button("Btn_Kaki")->isVisible());
    EXPECT_TRUE(music->playing);
    EXPECT_TRUE(music->notify());
    EXPECT_EQ(screen->boardImage(), screen->renderBoard()) << "the scattered board is on view";

    // The tune loops while the kanji move.
    music->finish();
    EXPECT_EQ(music->plays, 2);

    runTicks(17);
    EXPECT_EQ(screen->timer().interval(), 200);
    runTicks(15);
    EXPECT_EQ(screen->boardImage(), screen->renderBoard()) << "half-way";
    runTicks(15);
    EXPECT_FALSE(screen->animating());
    EXPECT_FALSE(screen->timer().isActive());
    EXPECT_FALSE(legendShown());
    EXPECT_TRUE(buttonsShown());
    EXPECT_FALSE(music->playing);
    EXPECT_FALSE(music->notify());
    music->finish();
    EXPECT_EQ(music->plays, 2) << "no replay once sorted";

    // Reading list of a pupil on level 3 writing: 60 red kanji in slots 1 to 60.
    const QImage sorted = screen->boardImage();
    for (int c = 1; c <= 200; ++c) {
        const auto [red, yellow] = inkIn(sorted, c);
        if (c <= 60) {
            EXPECT_GT(red, 20) << "slot " << c;
            EXPECT_EQ(yellow, 0) << "slot " << c;
        } else {
            EXPECT_GT(yellow, 20) << "slot " << c;
            EXPECT_EQ(red, 0) << "slot " << c;
        }
    }
    for (int c = 201; c <= 240; ++c)
        EXPECT_EQ(inkIn(sorted, c), std::make_pair(0, 0)) << "slot " << c;

    // The writing list of the same pupil: 40 red.
    QTest::mouseClick(button("Btn_Kaki"), Qt::LeftButton);
    runTicks(47);
    EXPECT_GT(inkIn(screen->boardImage(), 40).first, 20);
    EXPECT_GT(inkIn(screen->boardImage(), 41).second, 20);
    EXPECT_TRUE(f.messages.shown.isEmpty());
}

// Once the kanji are in order, a click on one shows its numbered strokes; while they move,
// or on an empty cell, a click does nothing.
TEST_F(BoardScreen, AClickedKanjiShowsItsStrokeOrder)
{
    ModalCloser modals;
    open();
    QLabel* board = label("Img_Kanji");
    auto clickSlot = [&](int c) {
        QTest::mouseClick(board, Qt::LeftButton, {}, QRect(screen->board().cellTopLeft(c), screen->board().cellSize()).center());
    };
    EXPECT_FALSE(label("Lbl_Kakijun")->isVisible());
    QTest::mouseClick(button("Btn_Yomi"), Qt::LeftButton);
    runTicks(20);
    clickSlot(1);
    EXPECT_TRUE(modals.closed.isEmpty()) << "not while the kanji move";
    runTicks(27);
    ASSERT_FALSE(screen->animating());
    EXPECT_TRUE(label("Lbl_Kakijun")->isVisible()) << "the board says it can be clicked";
    int first = 0;
    for (int i = 1; i <= screen->board().kanjiCount(); ++i)
        first = screen->board().slotOf(i) == 1 ? i : first;
    clickSlot(1);
    ASSERT_EQ(modals.closed.size(), 1);
    EXPECT_TRUE(modals.closed[0].startsWith(QStringLiteral("moji::TF_Kakijun:")));
    EXPECT_TRUE(modals.closed[0].contains(QStringLiteral("「%1」の").arg(screen->board().kanji(first).kanji)))
        << qPrintable(modals.closed[0]);
    clickSlot(240);
    EXPECT_EQ(modals.closed.size(), 1) << "an empty cell";
}

// The real timers run the animation in about six seconds; frames differ as the kanji move.
TEST_F(BoardScreen, TheTimersDriveTheAnimation)
{
    open();
    QTest::mouseClick(button("Btn_Kaki"), Qt::LeftButton);
    const QImage scattered = screen->boardImage();
    QTRY_COMPARE_WITH_TIMEOUT(screen->timer().interval(), 200, 2000);
    QTest::qWait(1300);
    const QImage gliding = screen->boardImage();
    EXPECT_NE(gliding, scattered);
    QTRY_VERIFY_WITH_TIMEOUT(!screen->animating(), 10000);
    EXPECT_NE(screen->boardImage(), gliding);
    EXPECT_TRUE(buttonsShown());
}

// Back in the middle of the animation stops it and the music and returns to the mode menu.
TEST_F(BoardScreen, LeavingMidAnimationStopsEverything)
{
    open();
    QTest::mouseClick(button("Btn_Yomi"), Qt::LeftButton);
    runTicks(20);
    ASSERT_TRUE(screen->animating());
    ASSERT_FALSE(f.audio.players.empty());
    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::ModeMenu});
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    if (screen) {
        EXPECT_FALSE(screen->timer().isActive());
    }
    EXPECT_TRUE(f.audio.players.empty()) << "the music player is closed and released";
}

// Without a MIDI device no player is opened; a music file that cannot be opened is reported
// and the board works without music.
TEST_F(BoardScreen, MusicOnlyWithADeviceAndErrorsAreReported)
{
    f.state.MidiDeviceCount = 0;
    open();
    EXPECT_TRUE(f.audio.players.empty());
    QTest::mouseClick(button("Btn_Yomi"), Qt::LeftButton);
    runTicks(47);
    EXPECT_TRUE(f.messages.shown.isEmpty());
    screen->close();

    f.state.MidiDeviceCount = 1;
    QFile::remove(f.path(QStringLiteral("ichiran.mid")));
    open();
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("ichiran.mid でエラーがおこりました。 ")});
    QTest::mouseClick(button("Btn_Yomi"), Qt::LeftButton);
    runTicks(47);
    EXPECT_TRUE(buttonsShown());
    EXPECT_EQ(f.messages.shown.size(), 1);
}
