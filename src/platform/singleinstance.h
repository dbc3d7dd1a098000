#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>


namespace moji {

class LocalChannel;

// Keeps a second copy of the program from running in the same desktop session: a lock file
// named after the program in the user's runtime folder. A lock left by a crashed copy is
// recovered. The records folder has its own lock (RecordsLock), shared by logins and computers.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,          // this process now holds the lock
        HeldByAnotherCopy, // a running copy holds it
        Failed,            // the lock file could not be made (the folder missing, full or unwritable)
    };

    // `folder` defaults to the runtime folder; tests pass their own.
    explicit SingleInstance(const QString& name = QStringLiteral("Moji_Maru3"), const QString& folder = QString());
    ~SingleInstance();
    Outcome acquire();

    // A copy started while another runs asks it to come to the front through a local socket
    // beside the lock, waiting for a copy still starting to listen; whether the running copy
    // answered within `milliseconds`.
    bool askHolderToComeForward(int milliseconds) const;
    // After Acquired: calls `comeForward` in the event loop each time a later copy asks.
    // False (and the program runs on without it) when the socket cannot be made.
    bool listenForLaterStarts(std::function<void()> comeForward);
    // The lock file's full path: it lies outside the program folder, so a failure names all of it.
    QString path() const { return m_lock->fileName(); }
    // After HeldByAnotherCopy: the name of the other computer the holding copy runs on, or
    // empty when it runs on this one.
    const QString& holderHost() const { return m_holderHost; }

private:
    QString socketPath() const;

    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<LocalChannel> m_channel;
    QString m_holderHost;
};

} // namespace moji
