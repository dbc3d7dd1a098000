// A plain Qt program that shows one label and nothing else: the floor that Qt itself sets for
// the start-up benchmark, and another program on the tests' desktop that a child may bring in
// front of もじまる.
//
//   mojimaru_bare_label [text]                 shows the text (default "Qt")
//   mojimaru_bare_label --first-paint <ms>     shows "Qt", reports its first paint, and its peak
//                                              memory <ms> later, then ends (the benchmark)

#include "firstpaint.h"

#include <QApplication>
#include <QLabel>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool report = argc > 2 && QByteArray(argv[1]) == "--first-paint";
    QLabel label(argc > 1 && !report ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Qt"));
    std::unique_ptr<benchprobe::FirstPaintWatch> watch;
    if (report) {
        const int settle = QByteArray(argv[2]).toInt();
        watch = std::make_unique<benchprobe::FirstPaintWatch>(&label, "QLabel", [settle] {
            benchprobe::printPainted();
            QTimer::singleShot(settle, [] {
                benchprobe::printPeakMemory();
                QApplication::exit(0);
            });
        });
    }
    label.setWindowTitle(label.text());
    label.resize(320, 200);
    label.show();
    return app.exec();
}
