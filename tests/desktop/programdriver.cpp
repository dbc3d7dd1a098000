// The real program, started as a family starts it, for the tests that end it from outside.
// Once its main menu is on screen it walks, through the real screens, to where the test wants
// it, and says "ready" on its output. Arguments: the program folder, then where to go:
//   menu            the main menu
//   challenge       a challenge with its clock running on question 3
//   tenth-question  a challenge with every question passed and the question after the tenth
//                   open
// The folder's roster must hold at least one pupil for the last two.

#include "clickablelabel.h"
#include "programrun.h"
#include "screenfixture.h"
#include "tf_main.h"
#include "tf_mode.h"
#include "tf_player.h"
#include "tf_shutsudai.h"
#include "wordbreaks.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace moji;

namespace {

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void walk(TF_Main& menu, const QString& where)
{
    if (where == QLatin1String("menu")) {
        say(QStringLiteral("ready"));
        return;
    }
    menu.commandClick(5);
    QTest::mouseClick(testing_support::topLevel<TF_Player>()->nameLabel(1), Qt::LeftButton);
    QTest::mouseClick(testing_support::topLevel<TF_Mode>()->commandLabel(3), Qt::LeftButton);
    TF_Shutsudai* session = testing_support::topLevel<TF_Shutsudai>();
    auto* next = session->findChild<QPushButton*>(QStringLiteral("Btn_Next"));
    QTest::mouseClick(next, Qt::LeftButton); // はじめ
    const int passes = where == QLatin1String("challenge") ? 2 : 9;
    for (int q = 1; q <= passes; ++q)
        QTest::mouseClick(next, Qt::LeftButton);
    if (where == QLatin1String("challenge")) {
        say(QStringLiteral("ready"));
        return;
    }
    // The tenth "つぎ" opens the question box; ready is said from inside it.
    QTimer::singleShot(300, [] {
        const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        say(QStringLiteral("ready ") + (box ? withoutWordJoiners(box->text()) : QStringLiteral("(no box)")));
    });
    QTest::mouseClick(next, Qt::LeftButton);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <program folder> menu|challenge|tenth-question\n", argv[0]);
        return 2;
    }
    const QString where = QString::fromLocal8Bit(argv[2]);
    RunHooks hooks;
    hooks.programFolder = QString::fromLocal8Bit(argv[1]);
    hooks.firstPaint = [where](TF_Main& menu) {
        QTimer::singleShot(0, &menu, [&menu, where] { walk(menu, where); });
    };
    return runProgram(argc, argv, hooks);
}
