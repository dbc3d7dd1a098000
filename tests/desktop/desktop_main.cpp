// The tests on a desktop: a virtual X server and a window manager of their own, started before
// the QApplication that every test shares.

#include "desktop.h"
#include "programrun.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS(); // ctest asks which tests there are: no desktop needed
    testing_support::Desktop desktop;
    if (!desktop.start())
        return 1;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    moji::setUpApplication();
    return RUN_ALL_TESTS();
}
