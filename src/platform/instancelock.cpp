#include "platform/instancelock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const QString& directory, const QString& name)
    // An empty directory must not turn into a lock file in whatever the working directory is.
    : m_path(directory.isEmpty() ? QString() : QDir(directory).filePath(name)) {}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceLock::tryAcquire() {
    if (m_fd >= 0)
        return true;

    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A filesystem problem must not lock the user out; we merely cannot see other copies.
        m_usable = false;
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_usable = true;
        m_fd = fd;
        return true;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
        m_usable = true;
        return false;
    }
    // No flock support on this filesystem (ENOLCK and the like): same reasoning as above.
    m_usable = false;
    return true;
}

bool InstanceLock::isHeld() const {
    return m_fd >= 0;
}

bool InstanceLock::lockFileUsable() const {
    return m_usable;
}

QString InstanceLock::defaultDirectory() {
    // Qt only returns a runtime directory that we own with mode 0700, so no other user can
    // pre-create or hold the lock file there.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (!dir.isEmpty())
            QDir().mkpath(dir);
    }
    return dir;
}
