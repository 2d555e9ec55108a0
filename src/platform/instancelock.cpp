#include "platform/instancelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error) {
    return qt_error_string(error);
}

// Ownership and mode of an open folder: a folder another user owns or may write to lets that
// user hold, replace or remove our lock file.
QString ownershipProblem(const struct stat& info, const QString& directory) {
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 не папка").arg(directory);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("папка %1 принадлежит другому пользователю").arg(directory);
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("в папку %1 могут писать другие пользователи").arg(directory);
    return {};
}

bool isOurLockFile(const struct stat& info) {
    // A second name for the file would be a hard link to something else of ours; data in it,
    // something of the user's: the lock file is never written.
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1 &&
           info.st_size == 0;
}

// Why what stands at the lock's path must stay, or empty when it holds no data and may go: a
// link (removed as a link), a FIFO, a socket, an empty lock file such as `sudo -E` leaves
// behind, or a second name of a file whose data lives on under its first.
QString whyKept(const struct stat& info) {
    if (S_ISLNK(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
        return {};
    if (S_ISREG(info.st_mode) && (info.st_size == 0 || info.st_nlink > 1))
        return {};
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("стоит папка; она оставлена как есть, в ней могут быть данные");
    if (S_ISREG(info.st_mode))
        return QStringLiteral("стоит файл с данными; он оставлен как есть");
    return QStringLiteral("стоит файл устройства; он оставлен как есть");
}

// Copies started at the same instant take turns at inspecting and repairing the lock's path, so
// one never removes the file another has just made. The turn is short; if the folder cannot be
// locked at all, or something else holds it for seconds, we go on without it.
void waitForTurn(int dirFd) {
    for (int tries = 0; tries < 200; ++tries) {
        if (::flock(dirFd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)
            return;
        const struct timespec pause = {0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
}

}  // namespace

InstanceLock::InstanceLock() : name_(QStringLiteral("mervel.lock")) {
    directory_ = defaultDirectory(&problem_);
}

InstanceLock::InstanceLock(const QString& directory, const QString& name)
    : directory_(directory), name_(name) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool InstanceLock::giveUp(const QString& why) {
    // A missing or unsafe folder must not lock the user out; we merely cannot see other copies.
    problem_ = why;
    return true;
}

bool InstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    if (directory_.isEmpty())
        return giveUp(problem_.isEmpty() ? QStringLiteral("нет папки для файла блокировки")
                                         : problem_);

    const int dirFd =
        ::open(QFile::encodeName(directory_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return giveUp(
            QStringLiteral("папка %1 недоступна: %2").arg(directory_, systemError(errno)));
    auto closeDir = qScopeGuard([dirFd] { ::close(dirFd); });  // also ends our turn
    struct stat info = {};
    if (::fstat(dirFd, &info) != 0)
        return giveUp(
            QStringLiteral("папка %1 недоступна: %2").arg(directory_, systemError(errno)));
    if (const QString why = ownershipProblem(info, directory_); !why.isEmpty())
        return giveUp(why);

    waitForTurn(dirFd);
    const int fd = openLockFile(dirFd);
    if (fd < 0)
        return true;  // openLockFile() has said why
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        problem_.clear();
        fd_ = fd;
        return true;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
        problem_.clear();
        return false;
    }
    return giveUp(QStringLiteral("файл %1 нельзя заблокировать: %2")
                      .arg(QDir(directory_).filePath(name_), systemError(error)));
}

int InstanceLock::openLockFile(int dirFd) {
    const QByteArray name = QFile::encodeName(name_);
    const QString path = QDir(directory_).filePath(name_);
    // A second round only runs when something appeared at the path between our look and our
    // open; a third such surprise is not worth chasing.
    for (int round = 0; round < 3; ++round) {
        struct stat info = {};
        if (::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            !isOurLockFile(info)) {
            if (const QString why = whyKept(info); !why.isEmpty()) {
                giveUp(QStringLiteral("на месте файла %1 %2").arg(path, why));
                return -1;
            }
            if (::unlinkat(dirFd, name.constData(), 0) != 0 && errno != ENOENT) {
                giveUp(QStringLiteral(
                           "на месте файла %1 стоит чужой объект, и убрать его не удалось: %2")
                           .arg(path, systemError(errno)));
                return -1;
            }
        }
        // O_NOFOLLOW: a link planted after our look is refused, never followed.
        const int fd =
            ::openat(dirFd, name.constData(),
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == ELOOP || errno == EISDIR)
                continue;
            giveUp(QStringLiteral("файл %1 недоступен: %2").arg(path, systemError(errno)));
            return -1;
        }
        if (::fstat(fd, &info) == 0 && isOurLockFile(info))
            return fd;
        ::close(fd);
    }
    giveUp(QStringLiteral("на месте файла %1 раз за разом появляется чужой объект").arg(path));
    return -1;
}

bool InstanceLock::isHeld() const {
    return fd_ >= 0;
}

bool InstanceLock::lockFileUsable() const {
    return problem_.isEmpty();
}

QString InstanceLock::problem() const {
    return problem_;
}

QString InstanceLock::folderProblem(const QString& directory) {
    if (directory.isEmpty())
        return QStringLiteral("папка не задана");
    struct stat info = {};
    if (::stat(QFile::encodeName(directory).constData(), &info) != 0)
        return QStringLiteral("папка %1 недоступна: %2").arg(directory, systemError(errno));
    if (const QString why = ownershipProblem(info, directory); !why.isEmpty())
        return why;
    // A read-only folder, by its mode or its file system, cannot take the lock file.
    if (::faccessat(AT_FDCWD, QFile::encodeName(directory).constData(), W_OK | X_OK, AT_EACCESS) !=
        0)
        return QStringLiteral("в папку %1 нельзя писать: %2").arg(directory, systemError(errno));
    return {};
}

QString InstanceLock::defaultDirectory(QString* why) {
    QStringList problems;
    // Qt hands out a runtime folder only when it is ours with mode 0700; the check below also
    // covers a folder Qt made in the temporary folder.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString problem = folderProblem(runtime);
    if (problem.isEmpty())
        return runtime;
    problems << QStringLiteral("папка выполнения: ") + problem;

    // The cache folder gets no such checks from Qt. Made here if missing, owner-only.
    // With HOME unset Qt puts it under "/", as "//.cache".
    const QString cache =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    if (!cache.isEmpty() && !QFileInfo::exists(cache) && QDir().mkpath(QFileInfo(cache).path()))
        ::mkdir(QFile::encodeName(cache).constData(), 0700);
    problem = folderProblem(cache);
    if (problem.isEmpty())
        return cache;
    problems << QStringLiteral("папка кэша: ") + problem;
    if (why != nullptr)
        *why = QStringLiteral("нет личной папки для файла блокировки (%1)")
                   .arg(problems.join(QStringLiteral("; ")));
    return {};
}
