#pragma once

// What the start-up benchmark learns from the programs it starts: when a window's first frame
// was painted and handed to the X server, on the steady clock that every process of the machine
// shares, and the process's peak resident memory. Both the program and the bare label program
// report through these, so that both are measured alike.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <utility>

namespace benchprobe {

inline qint64 steadyNanoseconds()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

// VmHWM: the most this process has had resident at once.
inline long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Calls `painted` once a widget watched by `target`'s filter (the widget itself, or the
// application for all of them), of the class `className` or one inheriting it, has had its
// first paint event and the frame has gone to the X server: a paint event is followed, before
// the event loop runs again, by the flush of the frame it painted.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QObject* target, const char* className, std::function<void()> painted)
        : m_target(target), m_className(className), m_painted(std::move(painted))
    {
        m_target->installEventFilter(this);
    }
    ~FirstPaintWatch() override { m_target->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_painted && watched->inherits(m_className)) {
            QTimer::singleShot(0, qApp, std::exchange(m_painted, nullptr));
        }
        return false;
    }

private:
    QObject* m_target;
    const char* m_className;
    std::function<void()> m_painted;
};

// The lines the benchmark reads.
inline void printPainted()
{
    std::printf("painted-ns %lld\n", static_cast<long long>(steadyNanoseconds()));
    std::fflush(stdout);
}

inline void printPeakMemory()
{
    std::printf("peak-rss-kb %ld\n", peakResidentKilobytes());
    std::fflush(stdout);
}

} // namespace benchprobe
