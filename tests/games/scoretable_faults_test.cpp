// A game's best-ten table on a failing or full disk: the pupil is shown the table's file by
// name, and the stored table stays as it was.

#include "filestore.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_game_kiroku.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cerrno>

using namespace moji;
using namespace testing_support;
using Operation = filestore::FaultPlan::Operation;

namespace {

// Two stored results of the catcher game, written by hand: score, name length, name,
// padding, day number.
QByteArray storedTable()
{
    return Bytes().i16(80).u8(2).raw(hex("82a0")).zeros(8).zeros(3).f64(46000)
        .i16(30).u8(2).raw(hex("82a2")).zeros(8).zeros(3).f64(46001);
}

} // namespace

TEST(ScoreTableFaults, AFailedReadOrRewriteIsShownAndKeepsTheOldTable)
{
    const Operation steps[] = {Operation::Read, Operation::Write, Operation::Flush, Operation::Sync, Operation::Rename};
    for (const Operation op : steps) {
        for (const int error : {EIO, ENOSPC}) {
            SCOPED_TRACE(testing::Message() << "operation " << int(op) << ", errno " << error);
            ScreenFixture f;
            f.addPupils(1);
            f.state.PlayerNo = 1;
            const QString file = f.path(QStringLiteral("Game13.dat"));
            writeFile(file, storedTable());

            filestore::FaultPlan plan;
            plan.operation = op;
            plan.error = error;
            filestore::setFaultPlan(&plan);
            TF_Game_Kiroku table(f.program, 14, 55);
            filestore::setFaultPlan(nullptr);

            EXPECT_EQ(plan.seen, 1);
            EXPECT_FALSE(table.ok());
            EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Game13.datでエラーがおこりました。 ")});
            EXPECT_EQ(readFile(file), storedTable());
            EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Game13.dat")});
        }
    }

    // With the disk working again the result is ranked and written.
    ScreenFixture f;
    f.addPupils(1);
    f.state.PlayerNo = 1;
    writeFile(f.path(QStringLiteral("Game13.dat")), storedTable());
    TF_Game_Kiroku table(f.program, 14, 55);
    EXPECT_TRUE(table.ok());
    EXPECT_TRUE(f.messages.shown.isEmpty());
    const QByteArray written = readFile(f.path(QStringLiteral("Game13.dat")));
    ASSERT_EQ(written.size(), 3 * GameScoreRecord::Size);
    EXPECT_EQ(written.left(GameScoreRecord::Size), storedTable().left(GameScoreRecord::Size));
    EXPECT_EQ(written.mid(GameScoreRecord::Size, 2), hex("3700"));
}
