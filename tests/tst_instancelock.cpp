#include "platform/instancelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// Permission bits of path, or -1 when it cannot be examined.
int permissions(const QString& path) {
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

// What stands at path, not following a link: "file", "link", "dir", "fifo" or "none", with
// "+" for a file with more than one name.
QString entryKind(const QString& path) {
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("none");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("dir");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    return info.st_nlink > 1 ? QStringLiteral("file+") : QStringLiteral("file");
}

// A socket bound at path and closed again: what a crashed server leaves behind.
bool makeSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    struct sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

uid_t ownerOf(const QString& path) {
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_uid;
}

bool writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
// The user nobody, for tests of files and folders that belong to someone else; only root can
// act as another user.
struct SecondUser {
    bool available = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

SecondUser secondUser() {
    const struct passwd* entry = ::getpwnam("nobody");
    if (::geteuid() != 0 || entry == nullptr || entry->pw_uid == 0)
        return {};
    return {true, entry->pw_uid, entry->pw_gid};
}

// Runs LOCKHOLDER (on a folder, or --default), as the user given or as ourselves, and returns
// its first line: "held", "refused" or "unusable".
QByteArray startHolder(QProcess& holder, const QStringList& arguments,
                       const SecondUser& user = {true, ::geteuid(), ::getegid()}) {
    if (user.uid != ::geteuid()) {
        holder.setChildProcessModifier([user] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)
                ::_exit(127);
        });
    }
    holder.start(QStringLiteral(LOCKHOLDER), arguments);
    while (!holder.canReadLine() && holder.waitForReadyRead(10000)) {
    }
    return holder.readLine().trimmed();
}
}  // namespace

class TestInstanceLock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondObjectRefusedUntilFirstGone() {
        QTemporaryDir dir;
        auto first = std::make_unique<InstanceLock>(dir.path());
        QVERIFY(first->tryAcquire());
        QVERIFY(first->isHeld() && first->lockFileUsable());
        QVERIFY(first->tryAcquire());  // asking again while holding must not drop the lock

        InstanceLock second(dir.path());
        QVERIFY(!second.tryAcquire());
        QVERIFY(!second.isHeld() && second.lockFileUsable());

        first.reset();
        QVERIFY(second.tryAcquire() && second.isHeld());
    }

    void otherProcessesExcludeEachOther() {
        QTemporaryDir dir;
        {
            InstanceLock ours(dir.path());
            QVERIFY(ours.tryAcquire());
            QProcess refused;
            QCOMPARE(startHolder(refused, {dir.path()}), QByteArray("refused"));
            QVERIFY(refused.waitForFinished());
            QCOMPARE(refused.exitCode(), 1);
        }
        QProcess holder;
        QCOMPARE(startHolder(holder, {dir.path()}), QByteArray("held"));
        InstanceLock ours(dir.path());
        QVERIFY(!ours.tryAcquire());
        holder.kill();
        holder.waitForFinished();
    }

    void childProcessesDoNotKeepLock() {
        // Anything the program launches must not inherit the lock and outlive it.
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        auto ours = std::make_unique<InstanceLock>(dir.path());
        QVERIFY(ours->tryAcquire());
        QProcess child;
        QCOMPARE(startHolder(child, {elsewhere.path()}), QByteArray("held"));
        ours.reset();
        InstanceLock next(dir.path());
        QVERIFY(next.tryAcquire());
        child.kill();
        child.waitForFinished();
    }

    void lockFreedWhenHolderEnds_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("SIGKILL") << true;
        QTest::newRow("SIGTERM") << false;
    }

    void lockFreedWhenHolderEnds() {
        QFETCH(bool, killed);
        QTemporaryDir dir;
        QProcess holder;
        QCOMPARE(startHolder(holder, {dir.path()}), QByteArray("held"));
        killed ? holder.kill() : holder.terminate();
        QVERIFY(holder.waitForFinished());
        // A terminated holder shuts down cleanly; a killed one leaves cleanup to the kernel.
        QCOMPARE(holder.exitStatus(), killed ? QProcess::CrashExit : QProcess::NormalExit);

        InstanceLock ours(dir.path());
        QVERIFY(ours.tryAcquire() && ours.isHeld());
    }

    void lockFileIsOwnerOnly() {
        QTemporaryDir dir;
        // With no umask to mask them, any group or other bits the code asks for would show.
        const mode_t previous = ::umask(0);
        auto restore = qScopeGuard([previous] { ::umask(previous); });
        InstanceLock lock(dir.path(), QStringLiteral("probe.lock"));
        QVERIFY(lock.tryAcquire());
        QCOMPARE(permissions(dir.filePath(QStringLiteral("probe.lock"))), 0600);
    }

    void unusableLocationDoesNotRefuse_data() {
        QTest::addColumn<QString>("subPath");
        QTest::newRow("under a regular file") << QStringLiteral("plain/sub");
        QTest::newRow("empty directory") << QString();
    }

    void unusableLocationDoesNotRefuse() {
        QFETCH(QString, subPath);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        InstanceLock lock(subPath.isEmpty() ? QString() : dir.filePath(subPath));
        QVERIFY(lock.tryAcquire());
        QVERIFY(!lock.isHeld());
        QVERIFY(!lock.lockFileUsable());
    }

    void defaultDirectoryIsPrivate_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("used");
        QTest::newRow("private runtime dir") << 0700 << true;
        QTest::newRow("world-writable runtime dir") << 0777 << false;
    }

    void defaultDirectoryIsPrivate() {
        QFETCH(int, mode);
        QFETCH(bool, used);
        QTemporaryDir runtime;
        QCOMPARE(::chmod(QFile::encodeName(runtime.path()).constData(), mode_t(mode)), 0);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        auto restore = qScopeGuard(
            [&] { wasSet ? qputenv("XDG_RUNTIME_DIR", saved) : qunsetenv("XDG_RUNTIME_DIR"); });
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));

        const QString chosen = InstanceLock::defaultDirectory();
        QCOMPARE(QDir(chosen) == QDir(runtime.path()), used);
        QCOMPARE(permissions(chosen) & 022, 0);  // also fails on -1 (missing directory)
    }
    void foreignEntryReplaced_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("dangling link") << QStringLiteral("dangling link");
        QTest::newRow("link to a file") << QStringLiteral("link to a file");
        QTest::newRow("link to a folder") << QStringLiteral("link to a folder");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("socket") << QStringLiteral("socket");
        QTest::newRow("second name of a file") << QStringLiteral("hard link");
    }

    void foreignEntryReplaced() {
        // State: something not a lock file stands at the lock's path; outside the folder lie a
        // file and a folder that stand for /etc/passwd and the like.
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString lockPath = dir.filePath(QStringLiteral("mervel.lock"));
        const QString victim = outside.filePath(QStringLiteral("victim"));
        const QString victimDir = outside.filePath(QStringLiteral("victim-dir"));
        QVERIFY(writeFile(victim, "keep"));
        QVERIFY(QDir().mkdir(victimDir));
        QVERIFY(writeFile(victimDir + QStringLiteral("/inside"), "keep"));
        const auto link = [](const QString& target, const QString& at) {
            return ::symlink(QFile::encodeName(target).constData(),
                             QFile::encodeName(at).constData()) == 0;
        };
        if (kind == QLatin1String("dangling link")) {
            QVERIFY(link(outside.filePath(QStringLiteral("absent")), lockPath));
        } else if (kind == QLatin1String("link to a file")) {
            QVERIFY(link(victim, lockPath));
        } else if (kind == QLatin1String("link to a folder")) {
            QVERIFY(link(victimDir, lockPath));
        } else if (kind == QLatin1String("socket")) {
            QVERIFY(makeSocket(lockPath));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(lockPath).constData(), 0600), 0);
        } else {
            QCOMPARE(::link(QFile::encodeName(victim).constData(),
                            QFile::encodeName(lockPath).constData()),
                     0);
        }

        // Action: a copy starts.
        InstanceLock lock(dir.path());
        QVERIFY(lock.tryAcquire());

        // Expected: a fresh lock file of our own that really excludes a second copy, and
        // nothing outside the folder made, removed or changed.
        QVERIFY2(lock.isHeld(), qPrintable(lock.problem()));
        QCOMPARE(entryKind(lockPath), QStringLiteral("file"));
        QCOMPARE(permissions(lockPath), 0600);
        InstanceLock second(dir.path());
        QVERIFY(!second.tryAcquire());
        const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        QCOMPARE(QDir(outside.path()).entryList(all), QStringList({"victim", "victim-dir"}));
        QCOMPARE(readFile(victim), QByteArray("keep"));
        QCOMPARE(readFile(victimDir + QStringLiteral("/inside")), QByteArray("keep"));
        QCOMPARE(entryKind(victim), QStringLiteral("file"));  // the second name is gone
    }

    void entryWithDataKept_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty folder") << "empty folder";
        QTest::newRow("folder with a file, a subfolder and a link") << "full folder";
        QTest::newRow("our own file with data") << "file";
    }

    void entryWithDataKept() {
        // A folder, or a file with data (a lock file is empty), may be the user's: it stays
        // whole, and the start goes ahead unchecked, saying what it found.
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString lockPath = dir.filePath(QStringLiteral("mervel.lock"));
        const bool folder = kind != QLatin1String("file");
        const bool full = kind == QLatin1String("full folder");
        QVERIFY(folder ? QDir().mkdir(lockPath) : writeFile(lockPath, "keep"));
        const QStringList inside = full ? QStringList({"file", "sub", "to-file"}) : QStringList();
        if (full) {
            QVERIFY(writeFile(lockPath + QStringLiteral("/file"), "keep"));
            QVERIFY(QDir().mkdir(lockPath + QStringLiteral("/sub")));
            QCOMPARE(::symlink("file", QFile::encodeName(lockPath + "/to-file").constData()), 0);
        }
        InstanceLock lock(dir.path());
        QVERIFY(lock.tryAcquire());
        QVERIFY(!lock.isHeld() && !lock.lockFileUsable());
        QVERIFY2(lock.problem().contains(lockPath) &&
                     lock.problem().contains(folder ? "папка" : "файл с данными"),
                 qPrintable(lock.problem()));
        QCOMPARE(entryKind(lockPath), folder ? QStringLiteral("dir") : QStringLiteral("file"));
        const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        if (folder)
            QCOMPARE(QDir(lockPath).entryList(all), inside);
        if (full || !folder)
            QCOMPARE(readFile(lockPath + (full ? QStringLiteral("/file") : QString())),
                     QByteArray("keep"));
    }

    void linkFlippedDuringLockingNeverFollowed() {
        // State: a link to a decoy outside the folder comes and goes at the lock's path, as fast
        // as another process can swap it in, while copies lock and let go over and over.
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QByteArray lockPath = QFile::encodeName(dir.filePath(QStringLiteral("mervel.lock")));
        const QByteArray spare = QFile::encodeName(dir.filePath(QStringLiteral("spare")));
        const QByteArray decoy = QFile::encodeName(outside.filePath(QStringLiteral("decoy")));
        std::atomic<bool> stop = false;
        std::thread flipper([&] {
            while (!stop) {
                // Each call may lose to the lock's own repairs; the next round tries again.
                if (::symlink(decoy.constData(), spare.constData()) == 0)
                    ::rename(spare.constData(), lockPath.constData());
                ::unlink(lockPath.constData());
            }
        });
        auto joinFlipper = qScopeGuard([&] {
            stop = true;
            flipper.join();
        });
        // Expected: the decoy is never made, whatever each round found.
        QElapsedTimer clock;
        clock.start();
        for (int round = 0; clock.elapsed() < 3000; ++round) {
            InstanceLock lock(dir.path());
            QVERIFY(lock.tryAcquire());
            QVERIFY2(!QFile::exists(QFile::decodeName(decoy)),
                     qPrintable(QStringLiteral("decoy made in round %1").arg(round)));
        }
    }

    void unsafeFolderNotUsed_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("writable by all") << 0777;
        QTest::newRow("writable by the group") << 0770;
    }

    void unsafeFolderNotUsed() {
        // Another user could hold, replace or remove the lock file there: the check is off,
        // the start goes ahead, and the folder is left as it was.
        QFETCH(int, mode);
        QTemporaryDir dir;
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), mode_t(mode)), 0);
        InstanceLock lock(dir.path());
        QVERIFY(lock.tryAcquire());
        QVERIFY(!lock.isHeld() && !lock.lockFileUsable());
        QVERIFY2(lock.problem().contains(dir.path()), qPrintable(lock.problem()));
        QCOMPARE(entryKind(dir.filePath(QStringLiteral("mervel.lock"))), QStringLiteral("none"));
    }

    void otherUsersEntries_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("root's lock file in our folder")
            << QStringLiteral("root file") << QByteArray("held");
        QTest::newRow("root's lock held in our folder")
            << QStringLiteral("root lock") << QByteArray("held");
        QTest::newRow("folder of another user")
            << QStringLiteral("root folder") << QByteArray("unusable");
        QTest::newRow("root's file with data in our folder")
            << QStringLiteral("root data") << QByteArray("unusable");
    }

    void otherUsersEntries() {
        // As after `sudo -E Mervel`: root's lock file, maybe still held, in the user's folder.
        QFETCH(QString, kind);
        QFETCH(QByteArray, expected);
        const SecondUser user = secondUser();
        if (!user.available)
            QSKIP("needs root and the user nobody");
        QTemporaryDir dir;
        // Root's folder is open to all, so only its owner keeps the lock out of it.
        const bool rootFolder = kind == QLatin1String("root folder");
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), rootFolder ? 0755 : 0700), 0);
        if (!rootFolder)
            QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), user.uid, user.gid), 0);
        const QString lockPath = dir.filePath(QStringLiteral("mervel.lock"));
        std::unique_ptr<InstanceLock> rootsLock;
        if (kind == QLatin1String("root lock")) {
            rootsLock = std::make_unique<InstanceLock>(dir.path());
            QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), 0, 0), 0);
            QVERIFY(rootsLock->tryAcquire() && rootsLock->isHeld());
            QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), user.uid, user.gid), 0);
        } else {
            QVERIFY(writeFile(lockPath, kind == QLatin1String("root data") ? "keep" : ""));
        }

        QProcess holder;
        QCOMPARE(startHolder(holder, {dir.path()}, user), expected);
        if (expected == "held") {
            QCOMPARE(ownerOf(lockPath), user.uid);
            QProcess second;
            QCOMPARE(startHolder(second, {dir.path()}, user), QByteArray("refused"));
            QVERIFY(second.waitForFinished());
        } else {
            QCOMPARE(ownerOf(lockPath), uid_t(0));  // left alone
            if (kind == QLatin1String("root data"))
                QCOMPARE(readFile(lockPath), QByteArray("keep"));
        }
        holder.kill();
        holder.waitForFinished();
    }

    void readOnlyRuntimeFolderPassedOver() {
        // State: the runtime folder is ours and private but on a read-only mount; the cache
        // folder is fine. Only root can mount, in a mount namespace of the holder's own.
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty())
            QSKIP("needs root and unshare");
        QTemporaryDir top;
        const QString runtime = top.filePath(QStringLiteral("runtime"));
        const QString cache = top.filePath(QStringLiteral("cache"));
        QVERIFY(QDir().mkdir(runtime) && QDir().mkdir(cache));
        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);
        QCOMPARE(::chmod(QFile::encodeName(cache).constData(), 0700), 0);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
        QProcess holder;
        holder.setProcessEnvironment(env);
        holder.start(QStringLiteral("unshare"),
                     {"-m", "sh", "-c", "mount --bind -o ro \"$1\" \"$1\" && exec \"$2\" --default",
                      "sh", runtime, QStringLiteral(LOCKHOLDER)});
        while (!holder.canReadLine() && holder.waitForReadyRead(10000)) {
        }
        // Expected: the lock is held in the cache folder, as when the runtime folder is missing.
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
        QCOMPARE(entryKind(cache + QStringLiteral("/mervel.lock")), QStringLiteral("file"));
        holder.kill();
        holder.waitForFinished();
    }

    void fallbackFolderChecked_data() {
        QTest::addColumn<QString>("cache");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("private cache folder") << QStringLiteral("private") << QByteArray("held");
        QTest::newRow("cache folder made afresh")
            << QStringLiteral("missing") << QByteArray("held");
        QTest::newRow("cache writable by all")
            << QStringLiteral("shared") << QByteArray("unusable");
        QTest::newRow("cache of another user")
            << QStringLiteral("foreign") << QByteArray("unusable");
        QTest::newRow("no HOME, no cache folder") << QString() << QByteArray("unusable");
    }

    void fallbackFolderChecked() {
        // State: no runtime folder can be had (none set, and the temporary folder where Qt
        // would make one is closed to us), so the lock falls back to the cache folder.
        QFETCH(QString, cache);
        QFETCH(QByteArray, expected);
        SecondUser user = secondUser();
        if (!user.available && ::geteuid() == 0)
            QSKIP("as root the fallback needs the user nobody");
        if (!user.available && cache == QLatin1String("foreign"))
            QSKIP("needs root and the user nobody");
        if (!user.available)
            user = {true, ::geteuid(), ::getegid()};  // runs as ourselves
        QTemporaryDir top;
        const auto path = [&](const char* name) { return top.filePath(QString::fromLatin1(name)); };
        const auto own = [&](const QString& at, mode_t mode, uid_t uid) {
            return ::chmod(QFile::encodeName(at).constData(), mode) == 0 &&
                   ::chown(QFile::encodeName(at).constData(), uid, user.gid) == 0;
        };
        QVERIFY(QDir().mkdir(path("closed")) && own(path("closed"), 0555, user.uid));
        QVERIFY(own(top.path(), 0755, user.uid));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("XDG_CACHE_HOME"));
        env.insert(QStringLiteral("TMPDIR"), path("closed"));
        env.insert(QStringLiteral("HOME"), top.path());
        const QString cacheDir = path("cache");
        if (cache.isEmpty()) {
            env.remove(QStringLiteral("HOME"));
        } else {
            env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheDir);
            if (cache != QLatin1String("missing"))
                QVERIFY(QDir().mkdir(cacheDir));
            if (cache == QLatin1String("private"))
                QVERIFY(own(cacheDir, 0700, user.uid));
            else if (cache == QLatin1String("shared"))
                QVERIFY(own(cacheDir, 0777, user.uid));
            else if (cache == QLatin1String("foreign"))
                QVERIFY(own(cacheDir, 0755, 0));
        }

        QProcess holder;
        holder.setProcessEnvironment(env);
        QCOMPARE(startHolder(holder, {QStringLiteral("--default")}, user), expected);
        const QString lockPath = cacheDir + QStringLiteral("/mervel.lock");
        if (expected == "held") {
            QCOMPARE(entryKind(lockPath), QStringLiteral("file"));
            QCOMPARE(permissions(cacheDir) & 077, 0);
        } else {
            QCOMPARE(entryKind(lockPath), QStringLiteral("none"));
            // The one line the program prints says why; a start is never refused.
            holder.waitForReadyRead(1000);
            const QByteArray why = holder.readAllStandardError();
            QVERIFY2(why.contains("нет личной папки для файла блокировки"), why.constData());
        }
        holder.kill();
        holder.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
