// The records held by a copy on another computer (a folder on a network share), with the real
// message boxes on the tests' desktop: the first box says where that copy runs; the second
// asks the parent to make sure it is not running there, with いいえ as its default, so that a
// child pressing Enter changes nothing; はい takes the records over.

#include "desktop.h"
#include "recordsopening.h"
#include "testfiles.h"
#include "testprogram.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

using namespace moji;
using namespace testing_support;

namespace {

const QString Host = QStringLiteral("kodomo-pc");
const QByteArray Foreign = "2121\nmojimaru\nkodomo-pc\n";

class ForeignLock : public ::testing::Test {
protected:
    ForeignLock() : folder(makeProgramFolder(dir.path()))
    {
        writeFile(path(QStringLiteral("Mojimaru.lock")), Foreign);
        run = std::make_unique<ProgramRun>(folder, dir.filePath(QStringLiteral("config/Mojimaru.ini")), clock,
                                           ProgramRun::Boxes::Real, ScreenInfo{640, 480, 24, 60, 96});
    }
    QString path(const QString& name) const { return QDir(folder).filePath(name); }

    // Answers the first box with OK, then hands the second to `answer`.
    void whenAsked(std::function<void(QMessageBox*)> answer)
    {
        whenBoxOpens([this, answer](QWidget* first) {
            EXPECT_EQ(boxText(first), recordsInUseMessage(Host));
            whenBoxOpens([this, answer](QWidget* second) {
                auto* box = qobject_cast<QMessageBox*>(second);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(boxText(box), takeOverQuestion(Host));
                ASSERT_NE(box->defaultButton(), nullptr);
                EXPECT_TRUE(box->defaultButton()->text().startsWith(QStringLiteral("いいえ")));
                asked = true;
                answer(box);
            });
            pressBoxButton(first, QStringLiteral("OK"));
        });
    }

    QTemporaryDir dir;
    QString folder;
    ManualClock clock{46364.5};
    std::unique_ptr<ProgramRun> run;
    bool asked = false;
};

} // namespace

TEST_F(ForeignLock, EnterOnTheSecondBoxChangesNothing)
{
    const QMap<QString, QByteArray> before = folderContents(folder);
    whenAsked([](QMessageBox* box) {
        desktopTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(box->winId())});
        desktopTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        if (!waitFor([box] { return !box->isVisible(); }, 3000))
            pressBoxButton(box, QStringLiteral("はい")); // fails below: Enter did not answer
    });
    EXPECT_FALSE(run->mainMenu.FormCreate()) << "the program goes on after Enter";
    EXPECT_TRUE(asked);
    run.reset();
    EXPECT_TRUE(folderContents(folder) == before) << "the lock or the records changed";
}

TEST_F(ForeignLock, YesTakesTheRecordsOver)
{
    whenAsked([](QMessageBox* box) { pressBoxButton(box, QStringLiteral("はい")); });
    ASSERT_TRUE(run->mainMenu.FormCreate());
    EXPECT_TRUE(asked);
    EXPECT_TRUE(readFile(path(QStringLiteral("Mojimaru.lock"))).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    run.reset();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Mojimaru.lock")))) << "given back when the program ends";
}
