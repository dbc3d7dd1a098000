// The pad alone in a window, for writing on it from outside as a hand does (xdotool drags on
// a virtual X server: see pad-trial.py). It is the pupil's writing square and pad logic with
// the recogniser of the 440 school kanji; after every stroke it prints the candidates, best
// first, on one line, and Escape clears the square for the next kanji.

#include "factkanji.h"
#include "handwritingpad.h"
#include "recognizer.h"
#include "writingsquare.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

using namespace moji;

class TrialWindow : public QWidget {
public:
    explicit TrialWindow(handwriting::Recognizer& recognizer) : m_pad(recognizer)
    {
        setWindowTitle(QStringLiteral("mojimaru-pad-trial"));
        auto* layout = new QVBoxLayout(this);
        m_square = new WritingSquare(m_pad, this);
        // The square's size in the question screen's 640 x 480 design.
        m_square->setFixedSize(226, 226);
        layout->addWidget(m_square);
        connect(m_square, &WritingSquare::strokeFinished, this, [this] {
            QStringList line;
            for (const QString& kanji : m_pad.candidates())
                line << kanji;
            std::printf("%d %s\n", int(m_pad.strokes().size()), qPrintable(line.join(u' ')));
            std::fflush(stdout);
        });
        m_pad.open();
    }

    // Where the square is on the screen, once the window manager has placed the window, so
    // that the drags land on it.
    void tellWhereTheSquareIs()
    {
        const QPoint at = m_square->mapToGlobal(QPoint(0, 0));
        std::printf("square %d %d %d %d\n", at.x(), at.y(), m_square->width(), m_square->height());
        std::fflush(stdout);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Escape)
            return QWidget::keyPressEvent(event);
        m_pad.clear();
        m_square->update();
        std::printf("clear\n");
        std::fflush(stdout);
    }

private:
    HandwritingPad m_pad;
    WritingSquare* m_square = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList kanji = handwriting::kanjiOfFacts(QStringLiteral(MOJIMARU_CONTENT_DIR "/kanji/kanji-facts.tsv"));
    auto recognizer = handwriting::createZinniaRecognizer(handwriting::defaultModelPath(),
                                                          QSet<QString>(kanji.begin(), kanji.end()));
    TrialWindow window(*recognizer);
    window.show();
    QTimer::singleShot(800, &window, [&window] { window.tellWhereTheSquareIs(); });
    return app.exec();
}
