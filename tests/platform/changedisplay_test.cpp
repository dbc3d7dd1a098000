// The display-mode list: which modes are listed, how they are described, and which entries
// are the current, 640-wide and 800-wide ones.

#include "changedisplay.h"

#include <gtest/gtest.h>

using namespace moji;

namespace {

class FakeDisplay : public DisplayBackend {
public:
    std::vector<DisplayModeRecord> modes;
    DisplayModeRecord now;
    std::vector<DisplayModeRecord> changes;

    std::optional<DisplayModeRecord> mode(int i) const override
    {
        if (i < 0 || i >= int(modes.size()))
            return std::nullopt;
        return modes[std::size_t(i)];
    }
    DisplayModeRecord current() const override { return now; }
    int change(const DisplayModeRecord& m) override
    {
        changes.push_back(m);
        return 0;
    }
};

} // namespace

TEST(ChangeDisplay, ListsOnlyModesOfTheCurrentDepth)
{
    FakeDisplay d;
    d.modes = {{8, 640, 480, 60}, {16, 640, 400, 70}, {16, 640, 480, 60}, {32, 800, 600, 60},
               {16, 800, 600, 60}, {16, 1024, 768, 60}, {16, 800, 600, 75}};
    d.now = {16, 1024, 768, 60};
    TChangeDisplay c;
    c.Attach(&d);
    ASSERT_EQ(c.count(), 5);
    EXPECT_EQ(c.Strings[0], QStringLiteral("640 x 400 [High Color (16ﾋﾞｯﾄ)]"));
    EXPECT_EQ(c.Mode640, 1) << "the last 640-wide entry wins";
    EXPECT_EQ(c.Mode800, 4) << "whatever its refresh rate";
    EXPECT_EQ(c.CurrentMode, 3);

    EXPECT_EQ(c.ChangeTo640(), 0);
    EXPECT_EQ(c.ChangeTo800(), 0);
    EXPECT_EQ(c.RestoreMode(), 0);
    ASSERT_EQ(d.changes.size(), 3u);
    EXPECT_EQ(d.changes[0].height, 480);
    EXPECT_EQ(d.changes[1].refreshRate, 75);
    EXPECT_EQ(d.changes[2].width, 1024);
    EXPECT_EQ(c.ChangeMode(5), -1);
    EXPECT_EQ(c.ChangeMode(-1), -1);
    EXPECT_EQ(d.changes.size(), 3u) << "out of the list nothing is touched";
}

TEST(ChangeDisplay, DescribesEveryDepth)
{
    EXPECT_EQ(TChangeDisplay::describe({4, 640, 480, 60}), QStringLiteral("640 x 480 [16色]"));
    EXPECT_EQ(TChangeDisplay::describe({8, 640, 480, 60}), QStringLiteral("640 x 480 [256色]"));
    EXPECT_EQ(TChangeDisplay::describe({32, 1920, 1080, 60}), QStringLiteral("1920 x 1080 [True Color (32ﾋﾞｯﾄ)]"));
    EXPECT_EQ(TChangeDisplay::describe({24, 800, 600, 60}), QStringLiteral("800 x 600 [(Unknown)]"));
}

TEST(ChangeDisplay, UnknownValuesAndMissingModes)
{
    FakeDisplay d;
    d.modes = {{32, 1280, 1024, 60}, {32, 1280, 1024, 75}};
    d.now = {32, 1280, 1024, -1}; // refresh rate unknown: nothing is current
    TChangeDisplay c;
    c.Attach(&d);
    EXPECT_EQ(c.count(), 2);
    EXPECT_EQ(c.CurrentMode, -1);
    EXPECT_EQ(c.Mode640, -1);
    EXPECT_EQ(c.ChangeTo640(), -1) << "no 640-wide mode: nothing happens";
    EXPECT_EQ(c.RestoreMode(), -1);
    EXPECT_TRUE(d.changes.empty());

    d.now = {-1, 1280, 1024, 60}; // depth unknown: nothing is listed
    c.Refresh();
    EXPECT_EQ(c.count(), 0);
    EXPECT_TRUE(c.ModeList.empty());

    d.now = {32, 1280, 1024, 60};
    c.Refresh();
    c.Delete(0);
    EXPECT_EQ(c.count(), 1);
    EXPECT_EQ(c.ModeList[0].refreshRate, 75);
}
