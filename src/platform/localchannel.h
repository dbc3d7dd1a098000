#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace moji {

// One line asked, one line answered, over a Unix socket that only this user may use: how a
// later start of the program reaches the running copy. Written on the system's sockets rather
// than Qt's network module, which would load Kerberos, a proxy library and a megabyte more into
// every start for one local socket.
class LocalChannel {
public:
    explicit LocalChannel(QString path);
    ~LocalChannel();
    LocalChannel(const LocalChannel&) = delete;
    LocalChannel& operator=(const LocalChannel&) = delete;

    // Sends `line` to whoever listens at the path, trying again until it listens, and returns
    // its answer, or an empty array when nobody answered within `milliseconds`.
    QByteArray ask(const QByteArray& line, int milliseconds) const;

    // Listens at the path (a socket left there by a crashed copy is replaced: the caller holds
    // the program's lock). Each line a caller sends is passed to `answer` in the event loop, and
    // what it returns is sent back. False, with `error` set, when the socket cannot be made.
    bool listen(std::function<QByteArray(const QByteArray&)> answer, QString* error);

private:
    struct Caller;
    void acceptCallers();
    void readFrom(int fd);
    void drop(int fd);

    QString m_path;
    int m_listening = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<QByteArray(const QByteArray&)> m_answer;
    std::map<int, std::unique_ptr<Caller>> m_callers;
};

} // namespace moji
