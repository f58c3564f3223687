#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(const QString &name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    m_path = folder + QStringLiteral("/remont-") + name + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: only a dead owner frees the lock.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock()
{
    if (m_lock->isLocked())
        return true;
    // QLockFile takes over a lock whose owner process no longer runs.
    return m_lock->tryLock(0);
}

void SingleInstance::unlock()
{
    m_lock->unlock();
}

} // namespace platform
