#pragma once

#include <QString>

// Keeps a second copy of Mervel from running for the same user. The lock is an flock() on a
// file in a folder private to the user, so the kernel drops it whenever the holder dies, even
// by SIGKILL: a crashed copy can never leave a stale lock behind.
//
// The lock file must be a regular file of ours. What else stands at its path is removed only
// when it can hold no data (a link, never followed; a FIFO; a socket; an empty lock file of
// another user, as `sudo -E` leaves behind); a folder or a file with data is left alone and the
// check is off. Nothing but the lock file is ever created.
class InstanceLock {
public:
    // The lock in defaultDirectory().
    InstanceLock();
    explicit InstanceLock(const QString& directory,
                          const QString& name = QStringLiteral("mervel.lock"));
    ~InstanceLock();

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object now holds the lock, or when no usable lock file exists (see
    // problem()); false only when another holder has it.
    bool tryAcquire();
    bool isHeld() const;
    // False after tryAcquire() could not use a lock file and let the start go ahead.
    bool lockFileUsable() const;
    // Why the check is off, in one line for the user; empty while the lock file is usable.
    QString problem() const;

    // The first folder of the user's runtime folder and cache folder that passes
    // folderProblem(); empty, with *why set, when neither does.
    static QString defaultDirectory(QString* why = nullptr);
    // Why a folder cannot hold the lock: it must exist, be ours, writable by us and by nobody
    // else.
    static QString folderProblem(const QString& directory);

private:
    bool giveUp(const QString& why);
    // Opens the lock file through the open folder dirFd, replacing anything that is not ours.
    int openLockFile(int dirFd);

    QString directory_;
    QString name_;
    QString problem_;
    int fd_ = -1;  // open only while the lock is held
};
