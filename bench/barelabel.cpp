// A plain Qt program that shows one label and nothing else: the floor that Qt itself sets for
// the start-up benchmark, and another program on the tests' desktop that a child may bring in
// front of もじまる.
//
//   mojimaru_bare_label [text]                 shows the text (default "Qt")
//   mojimaru_bare_label --first-paint <ms> [--full-screen]
//                                              shows "Qt", reports its first paint, and its peak
//                                              memory <ms> later, then ends (the benchmark); full
//                                              screen, it has a window as large as the program's

#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

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
    if (report && argc > 3 && QByteArray(argv[3]) == "--full-screen") {
        label.setAlignment(Qt::AlignCenter);
        // Without a window manager a full-screen request alone leaves the window small.
        label.setGeometry(label.screen()->geometry());
        label.showFullScreen();
    } else {
        label.resize(320, 200);
        label.show();
    }
    return app.exec();
}
