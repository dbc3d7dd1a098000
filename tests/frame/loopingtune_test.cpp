// A screen's background tune: it loops until stopped, and a tune that fails to open or to
// play again is reported once by name while the screen goes on in silence.

#include "loopingtune.h"
#include "screenfixture.h"
#include "testfiles.h"

#include <gtest/gtest.h>

using namespace moji;
using namespace testing_support;

namespace {

struct TuneFixture {
    TuneFixture()
    {
        f.state.MidiDeviceCount = 1;
        writeFile(f.path(QStringLiteral("Menu.mid")), "MThd");
    }
    ScreenFixture f;
};

} // namespace

TEST(LoopingTune, LoopsUntilStoppedAndReportsAFailedReplayOnce)
{
    TuneFixture t;
    QStringList reported;
    LoopingTune tune(t.f.program, QStringLiteral("Menu.mid"), nullptr, [&](const QString& m) { reported << m; });
    ASSERT_TRUE(tune.open());
    FakePlayer* player = t.f.audio.playerFor(QStringLiteral("Menu.mid"));
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->plays, 0) << "opening does not play";

    tune.start();
    player->finish();
    EXPECT_TRUE(tune.playing());
    EXPECT_EQ(player->plays, 2) << "replayed when it ends";

    tune.stop();
    player->finish();
    EXPECT_EQ(player->plays, 2) << "no replay once stopped";
    EXPECT_FALSE(player->notify());
    EXPECT_TRUE(tune.isOpen());

    // The tune's file goes away under it: the replay fails, is reported, and the loop ends.
    tune.start();
    player->opened.clear();
    player->finish();
    EXPECT_FALSE(tune.playing());
    EXPECT_EQ(reported, QStringList{QStringLiteral("Menu.mid でエラーがおこりました。 ")});
    player->finish();
    EXPECT_EQ(reported.size(), 1);
    EXPECT_TRUE(t.f.messages.shown.isEmpty()) << "the screen's own report replaces the message box";

    // Opened again it plays; closing keeps the player for the next opening, releasing frees it.
    ASSERT_TRUE(tune.open());
    tune.start();
    EXPECT_TRUE(tune.playing());
    tune.close();
    EXPECT_FALSE(tune.playing());
    EXPECT_FALSE(tune.isOpen());
    EXPECT_EQ(t.f.audio.players.size(), 1u);
    ASSERT_TRUE(tune.open());
    EXPECT_EQ(t.f.audio.playerFor(QStringLiteral("Menu.mid")), player) << "the same player";
    tune.release();
    EXPECT_TRUE(t.f.audio.players.empty());
}

TEST(LoopingTune, MissingTuneOrNoSynthesiser)
{
    TuneFixture t;
    LoopingTune missing(t.f.program, QStringLiteral("Mogu.mid"), nullptr);
    EXPECT_FALSE(missing.open());
    EXPECT_EQ(t.f.messages.shown, QStringList{QStringLiteral("Mogu.mid でエラーがおこりました。 ")});
    missing.start();
    EXPECT_FALSE(missing.playing()) << "the screen goes on in silence";

    t.f.messages.shown.clear();
    t.f.state.MidiDeviceCount = 0;
    LoopingTune silent(t.f.program, QStringLiteral("Menu.mid"), nullptr);
    EXPECT_TRUE(silent.open()) << "no synthesiser is not an error";
    silent.start();
    EXPECT_FALSE(silent.playing());
    EXPECT_EQ(t.f.audio.players.size(), 1u) << "no player without a synthesiser";
    EXPECT_TRUE(t.f.messages.shown.isEmpty());
}
