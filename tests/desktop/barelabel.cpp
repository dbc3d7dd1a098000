// A plain Qt program that shows one label and nothing else: another program on the tests'
// desktop that a child may bring in front of もじまる.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Qt"));
    label.setWindowTitle(label.text());
    label.resize(320, 200);
    label.show();
    return app.exec();
}
