// The help file and its viewer.

#include "helpviewer.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextBrowser>

using namespace moji;

// Every topic a screen passes to the help viewer is in the help file the build installs.
TEST(Help, EveryScreenTopicIsWritten)
{
    const auto topics = readHelpFile(QStringLiteral(MOJIMARU_PROGRAM_DIR "/Mojimaru3.hlp"));
    for (const int topic : {1, 10, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 310, 351, 352}) {
        ASSERT_TRUE(topics.contains(topic)) << topic;
        EXPECT_FALSE(topics[topic].title.isEmpty()) << topic;
        EXPECT_GE(topics[topic].lines.size(), 3) << topic;
    }
}

TEST(Help, TopicsBecomePagesWithListsAndLinks)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Mojimaru3.hlp"));
    testing_support::writeFile(file, "# comment\n"
                                     "@ 1 もくじ\n"
                                     "・はじめの　がめん\n"
                                     "・<ふしぎ>\n"
                                     "\n"
                                     "おわり\n"
                                     "@ 31 はじめの　がめん\n"
                                     "ボタンが　８つ　あるよ。\n"
                                     "\n\n");
    const auto topics = readHelpFile(file);
    ASSERT_EQ(topics.size(), 2);
    EXPECT_EQ(topics[31].lines, QStringList{QStringLiteral("ボタンが　８つ　あるよ。")}) << "trailing blank lines dropped";
    const QString page = helpTopicHtml(topics, 1);
    EXPECT_TRUE(page.contains(QStringLiteral("<h2>もくじ</h2>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<ul><li><a href=\"topic:31\">はじめの　がめん</a></li>")));
    EXPECT_TRUE(page.contains(QStringLiteral("&lt;ふしぎ&gt;"))) << "text is escaped";
    EXPECT_TRUE(page.contains(QStringLiteral("</ul><p>おわり</p>")));
    EXPECT_TRUE(helpTopicHtml(topics, 99).contains(QStringLiteral("99"))) << "a missing topic says so";
    EXPECT_TRUE(readHelpFile(dir.filePath(QStringLiteral("missing.hlp"))).isEmpty());

    HelpWindow window(file);
    window.showTopic(31);
    EXPECT_EQ(window.shownTopic(), 31);
    ASSERT_NE(window.window(), nullptr);
    EXPECT_TRUE(window.window()->isVisible());
    EXPECT_TRUE(window.window()->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("８つ")));
}
