#pragma once

#include "randomsource.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

class QWidget;

namespace moji {
class TF_Shutsudai;
}

namespace testing_support {

// What the player has done and seen over all its runs of the program; shared with the watchdog
// that reports a program which stops answering.
struct PlayLog {
    explicit PlayLog(quint32 seed) : seed(seed) {}

    void action(const QString& what);
    QStringList lastActions() const;

    const quint32 seed;
    int actions = 0;
    int starts = 0;
    QSet<QString> screensReached;
    QSet<QString> boxesSeen;
    qint64 memoryAfterWarmUp = 0; // resident bytes after the first hundred actions
    qint64 memoryHighest = 0;     // the most seen after that
    QList<std::pair<int, qint64>> memorySamples; // resident bytes every 500 actions
    QList<qint64> memoryAtStarts;                // resident bytes as each start's menu is up
    qint64 historyRecords = 0;    // every record of every history and backup, last seen
    QString failure;              // the first check that failed, empty while none has
    std::atomic<qint64> heartbeat{0}; // milliseconds since the epoch, set by the event loop
    std::atomic<bool> watching{false};

private:
    mutable std::mutex m_lock;
    std::deque<QString> m_last;
};

// A restless child at the real program on a real desktop: from a fixed seed it clicks any
// visible control, types, writes on the pad, opens hints and help, goes back, minimises the
// program with its own button and brings it back from the task bar, closes windows with
// Alt+F4, answers every box either way and now and then puts another program in front. After
// every action it waits (up to a limit) for the program to settle and then checks it: one
// screen on view and not minimised (unless it was just minimised), a box only over a screen,
// no error box, every records file readable by the program's own readers, no history shorter
// than before, and memory that stays flat.
class RandomPlayer : public QObject {
    Q_OBJECT
public:
    RandomPlayer(PlayLog& log, QString recordsFolder, QString otherWindowTitle, qint64 endAtMs);

    // Starts playing on the event loop of this run of the program.
    void start();

private:
    enum class Phase { Act, Settle };
    enum class Expect { OnView, Minimised, Behind };

    void step();
    void act();
    // Empty when every check holds; otherwise what is wrong.
    QString check();
    QString checkRecords();
    void fail(const QString& why);

    QWidget* frontWindow();
    void answerLikeAChild(moji::TF_Shutsudai* session);
    static bool helpWindowShown();
    QList<QWidget*> controlsOf(QWidget* window) const;
    void clickAt(QPointF globalDevice);
    void clickWidget(QWidget* w, bool anywhere);
    void drawOnPad(QWidget* pad);
    void keys(const QString& key);
    void bringBack();
    void tool(const QString& program, const QStringList& arguments);

    PlayLog& m_log;
    QString m_records;
    QString m_otherTitle;
    qint64 m_endAt;
    moji::RandomSource m_random;
    QTimer m_step;
    QTimer m_heartbeat;
    Phase m_phase = Phase::Act;
    Expect m_expect = Expect::OnView;
    QElapsedTimer m_settling;
    QPointer<QWidget> m_scoring; // the scoring screen on view, and since when
    QElapsedTimer m_scoringSince;
};

} // namespace testing_support
