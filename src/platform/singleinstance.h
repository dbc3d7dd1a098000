#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace moji {

// Keeps a second copy of the program from running: a lock file named after the program in
// the user's runtime folder. A lock left by a crashed copy is recovered.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,          // this process now holds the lock
        HeldByAnotherCopy, // a running copy holds it
        Failed,            // the lock file could not be made (the folder missing, full or unwritable)
    };

    // `folder` defaults to the runtime folder; tests pass their own.
    explicit SingleInstance(const QString& name = QStringLiteral("Moji_Maru3"), const QString& folder = QString());
    Outcome acquire();
    // The lock file's full path: it lies outside the program folder, so a failure names all of it.
    QString path() const { return m_lock->fileName(); }

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace moji
