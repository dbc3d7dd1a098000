// The grades overview, a pupil's study history and the per-kanji grades: what their grids
// show, how they page and scroll, and where their clicks lead.

#include "daynumber.h"
#include "gradegrid.h"
#include "gradegriddriver.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_kseiseki1.h"
#include "tf_seiseki1.h"
#include "tf_seiseki2.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace moji;
using namespace testing_support;

namespace {

const QString Level1Kanji = QStringLiteral("悪安暗医委意育員院飲運泳駅央横屋温化荷界");
const QString Level2Kanji = QStringLiteral("開階寒感漢館岸起期客究急級宮球去橋業曲局");

double dayNumber(int y, int m, int d, int hour = 0)
{
    return daynumber::fromDate(QDate(y, m, d)) + hour / 24.0;
}

} // namespace

// Ten pupils make eleven rows with the heading; the grid keeps its designed place, size and
// colours, and a click on a pupil's row opens that pupil's history.
TEST(GradesOverview, ListsEveryPupilAndOpensTheClickedPupilsHistory)
{
    ScreenFixture f;
    f.addPupils(10, 3, 2);
    f.state.Roster[4].Level = 11;
    f.state.PlayerNo = 2;
    f.state.CurrentLevel = 3;
    f.state.StudyMode = 2;
    QPointer<TF_Seiseki1> screen = new TF_Seiseki1(f.program);
    screen->showScreen();
    GradeGrid* grid = screen->grid();

    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Lbl_Title"))->text(), QStringLiteral("みんなのせいせきひょう"));
    EXPECT_EQ(f.state.HintTopic, 10);
    EXPECT_EQ(screen->helpTopic(), 10);
    EXPECT_EQ(screen->findChild<QWidget*>(QStringLiteral("Img_Button4"))->toolTip(), QStringLiteral("前にもどる"));
    EXPECT_EQ(grid->rowCount() + 1, 11);
    EXPECT_EQ(rowTexts(grid, 0), (QStringList{QStringLiteral("No"), QStringLiteral("名前"), QStringLiteral("レベル")}));
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{QStringLiteral("1"), QStringLiteral("あああ"), QStringLiteral("3")}));
    EXPECT_EQ(rowTexts(grid, 4), (QStringList{QStringLiteral("4"), QStringLiteral("えええ"), QStringLiteral("11")}));
    EXPECT_EQ(rowTexts(grid, 10), (QStringList{QStringLiteral("10"), QStringLiteral("こここ"), QStringLiteral("3")}));

    const int titleHeight = screen->findChild<QLabel*>(QStringLiteral("Lbl_Title"))->height();
    EXPECT_EQ(grid->geometry(), QRect(10, titleHeight + 60, 620, 480 - titleHeight - 80));
    EXPECT_EQ(grid->columnWidth(0), 30);
    EXPECT_EQ(grid->columnWidth(1), 620 - 97);
    EXPECT_EQ(grid->columnWidth(2), 60);
    EXPECT_EQ(grid->rowHeight(9), 30);
    EXPECT_EQ(grid->horizontalHeader()->height(), 30);
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(105, 194, 214));

    // The heading row does nothing.
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(100, 10));
    screen->Grd_SeisekiClick(0);
    EXPECT_TRUE(f.navigator.shown.empty());
    EXPECT_TRUE(screen->isVisible());

    clickRow(grid, 7);
    EXPECT_EQ(f.state.PlayerNo, 7);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::StudyHistory});
    ASSERT_FALSE(screen.isNull()) << "the overview waits, hidden";
    EXPECT_FALSE(screen->isVisible());
    // Only the pupil number changes.
    EXPECT_EQ(f.state.CurrentLevel, 3);
    EXPECT_EQ(f.state.StudyMode, 2);

    // What the navigator opens now is the history of pupil 7.
    TF_Seiseki2 history(f.program);
    EXPECT_EQ(history.findChild<QLabel*>(QStringLiteral("Lbl_Title"))->text(), QStringLiteral("きききのせいせきひょう"));

    screen->show();
    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown.back(), Screen::MainMenu);
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
}

class History : public ::testing::Test {
protected:
    History()
    {
        f.loadDictionary();
        f.addPupils(2);
        f.state.PlayerNo = 2;
    }
    ~History() override
    {
        if (screen)
            screen->close();
    }
    void open()
    {
        screen = new TF_Seiseki2(f.program);
        screen->showScreen();
        QCoreApplication::processEvents();
    }
    // n records, record i at level (i - 1) % 2 + 1, alternating kinds, modes and counting.
    void writeHistory(int n)
    {
        Bytes b;
        for (int i = 1; i <= n; ++i) {
            const int level = (i - 1) % 2 + 1;
            b.raw(historyBytes(i % 3 == 0 ? 2 : 1, level, i % 2 == 0 ? 2 : 1, dayNumber(2026, 10, i, 15),
                               {241, 242, 243, 244, 245, 246, 247, 248, 249, 250}, {1, 1, 1, 1, 1, 1, 1, 0, 0, 0},
                               i % 4 != 0));
        }
        writeFile(f.path(historyFileName(2)), b);
    }
    QStringList expectedRow(int i) const
    {
        // As Japanese write dates, whatever the locale the tests run in (C, under ctest).
        const QString date = QStringLiteral("2026/10/%1").arg(i, 2, 10, QLatin1Char('0'));
        return {QString::number(i),
                date,
                QString::number((i - 1) % 2 + 1),
                (i - 1) % 2 == 0 ? Level1Kanji : Level2Kanji,
                i % 2 == 0 ? QStringLiteral("書く") : QStringLiteral("読む"),
                i % 3 == 0 ? QStringLiteral("れんしゅう") : QStringLiteral("チャレンジ"),
                i % 4 != 0 ? QStringLiteral("○") : QStringLiteral("×")};
    }
    // Grid rows 1 to 10 hold records first.. in order and are empty after `last`.
    void expectPage(int first, int last)
    {
        for (int j = 1; j <= 10; ++j) {
            const int record = first + j - 1;
            if (record <= last)
                EXPECT_EQ(rowTexts(screen->grid(), j), expectedRow(record)) << "row " << j;
            else
                EXPECT_EQ(rowTexts(screen->grid(), j), QStringList(7, QString())) << "row " << j;
        }
    }
    bool prevShown() const { return screen->prevButton()->isVisible(); }
    bool nextShown() const { return screen->nextButton()->isVisible(); }

    ScreenFixture f;
    QPointer<TF_Seiseki2> screen;
};

// The grid's headings, geometry and look.
TEST_F(History, ShowsThePupilsNameOverTheDesignedGrid)
{
    open();
    GradeGrid* grid = screen->grid();
    const QLabel* title = screen->findChild<QLabel*>(QStringLiteral("Lbl_Title"));
    EXPECT_EQ(title->text(), QStringLiteral("いいいのせいせきひょう"));
    EXPECT_EQ(f.state.HintTopic, 11);
    EXPECT_EQ(screen->helpTopic(), 10);
    EXPECT_EQ(rowTexts(grid, 0),
              (QStringList{QStringLiteral("No"), QStringLiteral("年月日"), QStringLiteral("レベル"),
                           QStringLiteral("しゅつだいしたかんじ"), QStringLiteral("読む/書く"), QStringLiteral("しゅるい"),
                           QStringLiteral("ごうかく")}));
    const int height = 480 - title->height() - 80;
    EXPECT_EQ(grid->geometry(), QRect(10, title->height() + 60, 610, height));
    EXPECT_EQ(grid->rowCount(), 10);
    const int widths[] = {24, 61, 48, 305, 48, 61, 48};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
    EXPECT_EQ(grid->rowHeight(0), height / 12);
    EXPECT_EQ(grid->horizontalHeader()->height(), height / 12);
    EXPECT_EQ(screen->prevButton()->text(), QStringLiteral("前のページ"));
    EXPECT_EQ(screen->nextButton()->text(), QStringLiteral("次のページ"));
}

// No file: only the headings. Ten records: one page. Twenty-three: three pages, the last one
// short and blank below, and "前のページ" from it returns to records 11 to 20.
TEST_F(History, PagesTenRecordsAtATime)
{
    open();
    expectPage(1, 0);
    EXPECT_FALSE(prevShown());
    EXPECT_FALSE(nextShown());
    screen->close();

    writeHistory(10);
    open();
    expectPage(1, 10);
    EXPECT_FALSE(prevShown());
    EXPECT_FALSE(nextShown());
    screen->close();

    writeHistory(23);
    open();
    expectPage(1, 23);
    EXPECT_FALSE(prevShown());
    EXPECT_TRUE(nextShown());
    QTest::mouseClick(screen->nextButton(), Qt::LeftButton);
    expectPage(11, 23);
    EXPECT_TRUE(prevShown());
    EXPECT_TRUE(nextShown());
    QTest::mouseClick(screen->nextButton(), Qt::LeftButton);
    expectPage(21, 23);
    EXPECT_EQ(screen->pageCounter(), 23);
    EXPECT_TRUE(prevShown());
    EXPECT_FALSE(nextShown());
    QTest::mouseClick(screen->prevButton(), Qt::LeftButton);
    expectPage(11, 23);
    EXPECT_EQ(screen->pageCounter(), 20);
    QTest::mouseClick(screen->prevButton(), Qt::LeftButton);
    expectPage(1, 23);
    EXPECT_FALSE(prevShown());
    EXPECT_TRUE(f.messages.shown.isEmpty());

    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::GradesOverview});
}

// A history with a value out of range is reported by name; the screen stays, empty, and the
// pupil can go back.
TEST_F(History, ABadRecordIsReportedAndNothingIsShown)
{
    writeHistory(12);
    QByteArray bytes = readFile(f.path(historyFileName(2)));
    bytes += historyBytes(1, 1, 7, 46000, {241, 242, 243, 244, 245, 246, 247, 248, 249, 250}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true);
    writeFile(f.path(historyFileName(2)), bytes);
    open();
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Kiroku2.datでエラーがおこりました。 ")});
    expectPage(1, 0);
    EXPECT_FALSE(nextShown());
    ASSERT_FALSE(screen.isNull());
    EXPECT_TRUE(screen->isVisible());
}

// A history that cannot be read at all ends the program with the file's name.
TEST_F(History, AnUnreadableHistoryEndsTheProgram)
{
    // A socket exists but cannot be opened as a file, even by root.
    const QByteArray path = QFile::encodeName(f.path(historyFileName(2)));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(std::size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    QWidget other;
    other.show();
    open();
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Kiroku2.datでエラーがおこりました。 ")});
    EXPECT_FALSE(other.isVisible()) << "every window closes";
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    ::close(fd);
}

class KanjiGrades : public ::testing::Test {
protected:
    KanjiGrades()
    {
        f.loadDictionary();
        f.addPupils(1);
        f.state.PlayerNo = 1;
    }
    // The "○" column of every row, as a string of '1' and '0'.
    QString marks(int level, int mode)
    {
        f.state.CurrentLevel = int16_t(level);
        f.state.StudyMode = int16_t(mode);
        TF_KSeiseki1 screen(f.program);
        QString m;
        for (int row = 1; row <= 400; ++row)
            m += screen.grid()->text(row, 6) == QStringLiteral("○") ? '1' : '0';
        return m;
    }
    ScreenFixture f;
};

// Every kanji twice, with its level, counts and glyph, in a grid of 401 rows that scrolls.
TEST_F(KanjiGrades, ListsEveryKanjiInBothModes)
{
    f.state.CurrentLevel = 1;
    f.state.StudyMode = 1;
    f.state.KanjiProgress[262][2] = {5, 3, true};
    f.state.KanjiProgress[440][1] = {7, 1, false};
    QPointer<TF_KSeiseki1> screen = new TF_KSeiseki1(f.program);
    screen->showScreen();
    GradeGrid* grid = screen->grid();
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Lbl_Title"))->text(), QStringLiteral("かんじべつのせいせきひょう"));
    EXPECT_EQ(grid->rowCount() + 1, 401);
    EXPECT_EQ(f.state.HintTopic, 6);
    EXPECT_EQ(screen->helpTopic(), 10);
    EXPECT_EQ(rowTexts(grid, 0),
              (QStringList{QStringLiteral("No"), QStringLiteral("レベル"), QStringLiteral("かんじ"), QStringLiteral("しゅるい"),
                           QStringLiteral("しけん回数"), QStringLiteral("ごうかく回数"), QStringLiteral("レベルクリアー")}));
    EXPECT_EQ(rowTexts(grid, 1), (QStringList{"1", "1", "悪", "読む", "0", "0", ""}));
    EXPECT_EQ(rowTexts(grid, 2), (QStringList{"2", "1", "悪", "書く", "0", "0", ""}));
    // Kanji 262 is the 22nd: rows 43 and 44, level 2.
    EXPECT_EQ(rowTexts(grid, 44), (QStringList{"44", "2", "階", "書く", "5", "3", "○"}));
    EXPECT_EQ(rowTexts(grid, 399), (QStringList{"399", "10", f.state.KanjiTable[440].Glyph.toUnicode(), "読む", "7", "1", ""}));

    const QLabel* title = screen->findChild<QLabel*>(QStringLiteral("Lbl_Title"));
    const int height = 480 - title->height() - 80;
    EXPECT_EQ(grid->geometry(), QRect(10, title->height() + 60, 610, height));
    const int widths[] = {30, 61, 61, 91, 122, 122, 91};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
    EXPECT_EQ(grid->rowHeight(200), height / 12);

    QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_GT(bar->maximum(), 380) << "about 11 rows are in view at once";
    bar->setValue(bar->maximum());
    EXPECT_EQ(grid->rowAt(grid->viewport()->height() - 2), 399) << "the last row can be reached";

    screen->headerCommand(4);
    EXPECT_EQ(f.navigator.shown, std::vector<Screen>{Screen::ModeMenu});
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
}

// A row is cleared by its own Passed flag, or by a level the pupil has completed; a pupil on
// writing has completed the reading of their current level too.
TEST_F(KanjiGrades, MarksTheClearedRows)
{
    EXPECT_EQ(marks(1, 1), QString(400, '0')) << "a new pupil";

    // Level 1 writing: the reading rows of kanji 1 to 20 (odd rows 1 to 39).
    EXPECT_EQ(marks(1, 2), QStringLiteral("10").repeated(20) + QString(360, '0'));
    f.state.KanjiProgress[245][2].Passed = true;
    QString expected = QStringLiteral("10").repeated(20) + QString(360, '0');
    expected[9] = '1'; // the writing row of kanji 5
    EXPECT_EQ(marks(1, 2), expected);
    f.state.KanjiProgress[245][2].Passed = false;

    EXPECT_EQ(marks(4, 1), QString(120, '1') + QString(280, '0')) << "level 4 reading";
    EXPECT_EQ(marks(4, 2), QString(120, '1') + QStringLiteral("10").repeated(20) + QString(240, '0'));
    EXPECT_EQ(marks(11, 1), QString(400, '1')) << "every level finished";
}
