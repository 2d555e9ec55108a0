#include "platform/instancelock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {
// Runs LOCKHOLDER on dir and returns its first line: "held", "refused" or "unusable".
QByteArray startHolder(QProcess& holder, const QString& dir) {
    holder.start(QStringLiteral(LOCKHOLDER), {dir});
    while (!holder.canReadLine() && holder.waitForReadyRead(10000)) {
    }
    return holder.readLine().trimmed();
}

// Permission bits of path, or -1 when it cannot be examined.
int permissions(const QString& path) {
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
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
            QCOMPARE(startHolder(refused, dir.path()), QByteArray("refused"));
            QVERIFY(refused.waitForFinished());
            QCOMPARE(refused.exitCode(), 1);
        }
        QProcess holder;
        QCOMPARE(startHolder(holder, dir.path()), QByteArray("held"));
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
        QCOMPARE(startHolder(child, elsewhere.path()), QByteArray("held"));
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
        QCOMPARE(startHolder(holder, dir.path()), QByteArray("held"));
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
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
