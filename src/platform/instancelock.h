#pragma once

#include <QString>

// Keeps a second copy of Mervel from running for the same user. The lock is an flock() on a
// file in the user's private runtime directory, so the kernel drops it whenever the holder dies,
// even by SIGKILL: a crashed copy can never leave a stale lock behind.
class InstanceLock {
public:
    explicit InstanceLock(const QString& directory = defaultDirectory(),
                          const QString& name = QStringLiteral("mervel.lock"));
    ~InstanceLock();

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object now holds the lock, or when the lock file is unusable (see
    // lockFileUsable()); false only when another holder has it.
    bool tryAcquire();
    bool isHeld() const;
    // False after tryAcquire() could not open or lock the file and let the start go ahead.
    bool lockFileUsable() const;

    static QString defaultDirectory();

private:
    QString m_path;
    int m_fd = -1;  // open only while the lock is held
    bool m_usable = true;
};
