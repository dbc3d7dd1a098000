// The best-ten tables of the games: ranking, the file rewritten, and the screen.

#include "screenfixture.h"
#include "scoretable.h"
#include "testfiles.h"
#include "tf_game_kiroku.h"
#include "wordbreaks.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

using namespace moji;
using namespace testing_support;

namespace {

// A 24-byte record written by hand: score, name length, name, padding, day number.
QByteArray scoreRecord(int score, const QByteArray& name, double date)
{
    return Bytes().i16(score).u8(int(name.size())).raw(name).zeros(10 - int(name.size())).zeros(3).f64(date);
}

// Ten stored results 90, 80, … 0 by あ on 1 December 2026.
QByteArray tenResults()
{
    Bytes b;
    for (int i = 0; i < 10; ++i)
        b.raw(scoreRecord(90 - 10 * i, hex("82a0"), 46357));
    return b;
}

class ScoreTables : public ::testing::Test {
protected:
    ScoreTables()
    {
        f.addPupils(1);
        f.state.PlayerNo = 1;
    }
    // Plays the table for a result of `score` in the matching game and returns the rows shown.
    QStringList play(int score)
    {
        TF_Game_Kiroku table(f.program, 2, score);
        EXPECT_TRUE(table.ok());
        if (qEnvironmentVariableIsSet("MOJIMARU_SHOTS")) {
            table.resize(960, 540);
            table.grab().save(qEnvironmentVariable("MOJIMARU_SHOTS") + QStringLiteral("/scoretable.png"));
        }
        message = withoutWordJoiners(table.messageLabel()->text());
        QStringList rows;
        for (int i = 0; i < table.list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = table.list()->topLevelItem(i);
            rows << item->text(0) + QLatin1Char('|') + item->text(1) + QLatin1Char('|') + item->text(2) + QLatin1Char('|') + item->text(3);
        }
        return rows;
    }
    QByteArray file() const { return readFile(f.path(QStringLiteral("Game1.dat"))); }

    ScreenFixture f; // the clock reads 7 December 2026
    QString message;
};

} // namespace

TEST_F(ScoreTables, TheFirstGameEverFillsRowOne)
{
    const QStringList rows = play(7);
    EXPECT_EQ(rows, QStringList{QStringLiteral("＊|7|あああ|2026/12/07")});
    EXPECT_EQ(message, QStringLiteral("やった！  1 いにはいったよ。またがんばろう！"));
    EXPECT_EQ(file(), scoreRecord(7, hex("82a0 82a0 82a0"), 46363));
}

TEST_F(ScoreTables, AnEqualScoreRanksAboveTheOlderOne)
{
    writeFile(f.path(QStringLiteral("Game1.dat")), scoreRecord(12, hex("82a2"), 46000) + scoreRecord(5, hex("82a4"), 46001));
    const QStringList rows = play(12);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("＊|12|")));
    EXPECT_EQ(rows[1], QStringLiteral("  |12|い|2025/12/09"));
    EXPECT_EQ(file().size(), 3 * 24);

    EXPECT_EQ(play(0).size(), 4) << "a score of 0 still gets in below ten rows";
}

TEST_F(ScoreTables, TenStoredResultsKeepTheBestTen)
{
    writeFile(f.path(QStringLiteral("Game1.dat")), tenResults());
    QStringList rows = play(-1);
    EXPECT_EQ(rows.size(), 10);
    EXPECT_FALSE(rows.join(QString()).contains(QStringLiteral("＊")));
    EXPECT_EQ(message, QStringLiteral("ざんねん！ １０いまでにはいれなかった。またがんばろう！"));
    EXPECT_EQ(file(), QByteArray(tenResults())) << "written back unchanged";

    rows = play(0); // equal to the tenth
    EXPECT_EQ(rows.size(), 10);
    EXPECT_TRUE(rows[9].startsWith(QStringLiteral("＊|0|")));
    EXPECT_EQ(message, QStringLiteral("やった！  10 いにはいったよ。またがんばろう！"));
    EXPECT_EQ(file().mid(9 * 24, 2), hex("0000"));
    EXPECT_EQ(file().size(), 240) << "the old tenth dropped out";
}

// Names that are not valid code page 932 (a lone lead byte, an unassigned code, a byte no
// text uses) are the program's to keep, not to mend: every name goes back byte for byte.
TEST_F(ScoreTables, NamesAreWrittenBackByteForByte)
{
    const QByteArray pupil = hex("82a0 82");
    f.state.Roster[1] = PlayerRecord::decode(Bytes().zeros(2).i16(1).zeros(10).i16(1).u8(3).raw(pupil).zeros(8).data());
    const QByteArray stored = scoreRecord(12, hex("8540 82a2"), 46000) + scoreRecord(5, hex("ff 82a4 a0 fd"), 46001);
    writeFile(f.path(QStringLiteral("Game1.dat")), stored);
    play(50);
    EXPECT_EQ(file(), scoreRecord(50, pupil, 46363) + stored);
}

TEST(ScoreTable, FilesAndDates)
{
    EXPECT_EQ(ScoreTable::fileName(2), QStringLiteral("Game1.dat"));
    EXPECT_EQ(ScoreTable::fileName(14), QStringLiteral("Game13.dat"));
    const QDate today(2026, 12, 7);
    EXPECT_EQ(ScoreTable::formatDate(QDate(2026, 1, 5)), QStringLiteral("2026/01/05")) << "as Japanese write it, in any locale";
    EXPECT_EQ(ScoreTable::parseDate(QStringLiteral("2026/01/05"), today), QDate(2026, 1, 5));
    EXPECT_EQ(ScoreTable::parseDate(QStringLiteral("26/01/05"), today), QDate(2026, 1, 5));
    EXPECT_EQ(ScoreTable::parseDate(QStringLiteral("99/12/31"), today), QDate(1999, 12, 31)) << "not a year in the future";
    EXPECT_EQ(ScoreTable::parseDate(QStringLiteral("27/01/01"), today), QDate(2027, 1, 1));
    EXPECT_FALSE(ScoreTable::parseDate(QStringLiteral("garbage"), today).isValid());
    // More than ten stored records: only the first ten count.
    std::vector<GameScoreRecord> stored(12);
    EXPECT_EQ(ScoreTable::rank(stored, -5, SjisString<10>::fromUnicode(QStringLiteral("x")), today).size(), 10u);
}

TEST_F(ScoreTables, AnUnreadableTableIsReported)
{
    QDir(f.dir.path()).mkdir(QStringLiteral("Game13.dat"));
    writeFile(f.path(QStringLiteral("Game1.dat")), scoreRecord(3, QByteArray(11, 'x').left(10), 46000).replace(2, 1, "\x0b"));
    TF_Game_Kiroku table(f.program, 2, 5);
    EXPECT_FALSE(table.ok()) << "a name longer than its field";
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Game1.datでエラーがおこりました。 ")});
}
