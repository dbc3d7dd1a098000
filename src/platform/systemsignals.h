#pragma once

#include <QObject>

class QSocketNotifier;

namespace moji {

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, a service manager, Ctrl+C) reach the
// program as a Qt signal in its event loop. The handler itself only writes the signal's
// number to a socket, the one thing it may safely do; the event loop reads it.
class SystemSignals final : public QObject {
    Q_OBJECT
public:
    // Installs the handlers at once, before anything else (the sound library) can take the
    // signals; a signal that comes before listen() waits for it. A signal the program was
    // started to ignore stays ignored. One at a time.
    explicit SystemSignals(QObject* parent = nullptr);
    // Puts the handlers that were there before back.
    ~SystemSignals() override;

    // From now on every signal caught emits endRequested in the event loop.
    void listen();

signals:
    void endRequested(int signalNumber);

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace moji
