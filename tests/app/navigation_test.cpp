// Screens opened through the program's navigator on a program folder with damaged files: a
// screen that cannot be built from its files names the file and ends the program.

#include "appfixture.h"
#include "appnavigator.h"
#include "screenfixture.h"
#include "testfiles.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_shutsudai.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <functional>

using namespace moji;
using namespace testing_support;

namespace {

QStringList visibleWindows()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            names << QString::fromLatin1(w->metaObject()->className());
    }
    return names;
}

} // namespace

// A pupil at level 1 writing chooses the challenge: the session builds its writing pickers
// from bushu1.bmp … bushu8.bmp and BuhinX.bmp. A picture that is missing, cut short, not a
// picture, or narrower than the parts Bushu1.dat places in it is reported by name and the
// program ends, rather than the pickers showing blank buttons.
TEST(Navigation, DamagedPickerPicturesEndTheProgramWithTheirName)
{
    struct Case {
        const char* name;
        std::function<void(AppFixture&)> breakIt;
        QString message; // empty: the session opens
    };
    auto cut = [](AppFixture& a, const char* file) {
        const QByteArray whole = readFile(a.path(QLatin1String(file)));
        a.write(QLatin1String(file), whole.left(whole.size() / 2));
    };
    const std::vector<Case> cases = {
        {"nothing damaged", [](AppFixture&) {}, QString()},
        {"no bushu8.bmp", [](AppFixture& a) { a.remove(QStringLiteral("bushu8.bmp")); }, QStringLiteral("bushu8.bmp")},
        {"bushu3.bmp cut short", [&](AppFixture& a) { cut(a, "bushu3.bmp"); }, QStringLiteral("bushu3.bmp")},
        {"BuhinX.bmp cut short", [&](AppFixture& a) { cut(a, "BuhinX.bmp"); }, QStringLiteral("BuhinX.bmp")},
        {"BuhinX.bmp not a picture", [](AppFixture& a) { a.write(QStringLiteral("BuhinX.bmp"), "BM but nothing else"); },
         QStringLiteral("BuhinX.bmp")},
        {"BuhinX.bmp too narrow for its parts",
         [](AppFixture& a) {
             QImage narrow(2 * 48, 48, QImage::Format_RGB32);
             narrow.fill(Qt::white);
             narrow.save(a.path(QStringLiteral("BuhinX.bmp")), "BMP");
         },
         QStringLiteral("BuhinX.bmp")},
    };
    for (const Case& c : cases) {
        AppFixture app;
        for (const char* file : {"Mojimaru1.dat", "Bushu1.dat", "Mondai1.dat", "Mondai2.dat", "BuhinX.bmp", "bushu1.bmp",
                                 "bushu2.bmp", "bushu3.bmp", "bushu4.bmp", "bushu5.bmp", "bushu6.bmp", "bushu7.bmp", "bushu8.bmp"})
            app.write(QLatin1String(file), readFile(QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + QLatin1String(file)));
        app.write(QStringLiteral("Mondai.mid"), "tune");
        app.writeRoster(1);
        app.write(historyFileName(1), historyRun(1, 1, 2, 241, 3, true)); // now at level 1 writing
        c.breakIt(app);
        ASSERT_TRUE(app.start()) << c.name;
        AppNavigator navigator(app.program, *app.mainMenu);
        app.program.navigator = &navigator;
        app.mainMenu->showScreen();
        app.mainMenu->afterFirstPaint();
        app.messages.shown.clear();

        app.mainMenu->commandClick(5);
        ASSERT_NE(topLevel<TF_Player>(), nullptr) << c.name;
        topLevel<TF_Player>()->Lbl_PlayerClick(1);
        ASSERT_NE(topLevel<TF_Mode>(), nullptr) << c.name;
        topLevel<TF_Mode>()->Lbl_Command1Click(3);

        if (c.message.isEmpty()) {
            EXPECT_TRUE(app.messages.shown.isEmpty()) << c.name << ": " << qPrintable(app.messages.shown.join(u'\n'));
            TF_Shutsudai* session = topLevel<TF_Shutsudai>();
            ASSERT_NE(session, nullptr);
            EXPECT_FALSE(session->findChild<QPushButton*>(QStringLiteral("Btn_Bushu1"))->icon().isNull());
        } else {
            EXPECT_EQ(app.messages.shown, QStringList{c.message + QStringLiteral("でエラーがおこりました。 ")}) << c.name;
            EXPECT_EQ(visibleWindows(), QStringList()) << c.name << ": the program ends";
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != app.mainMenu.get())
                w->close();
        }
    }
}
