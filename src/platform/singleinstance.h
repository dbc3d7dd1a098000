#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace moji {

// Keeps a second copy of the program from running: a lock file named after the program in
// the user's runtime folder. A lock left by a crashed copy is recovered.
class SingleInstance {
public:
    // `folder` defaults to the runtime folder; tests pass their own.
    explicit SingleInstance(const QString& name = QStringLiteral("Moji_Maru3"), const QString& folder = QString());
    // True when this process now holds the lock (no other copy runs).
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace moji
