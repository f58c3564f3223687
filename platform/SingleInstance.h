#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per user: a lock file in the user's runtime folder, named
// after the program's semaphore name. The lock holds the owner's process id,
// so a copy that crashed or was killed never blocks the next start.
namespace platform {

class SingleInstance
{
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process now holds the lock (or already did).
    bool tryLock();
    // Lets the next copy start (one this copy starts in its place).
    void unlock();
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
