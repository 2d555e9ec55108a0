#include "shell/displaycheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <vector>

namespace {
const char* const displayVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                        "XDG_RUNTIME_DIR"};

// A Unix socket at path, listening or, like one a crashed compositor left behind, not.
int unixSocket(const QString& path, bool listening) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        (listening && listen(fd, 1) != 0))
        qFatal("cannot make the socket %s", qPrintable(path));
    if (listening)
        return fd;
    close(fd);
    return -1;
}

// An X display number with no server behind it: no socket and no lock file.
QString freeDisplay() {
    for (int n = 400; n < 1000; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
    return {};
}
}  // namespace

class TestDisplayCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(runtime_.isValid());
        live_ = unixSocket(runtime_.filePath(QStringLiteral("wayland-live")), true);
        unixSocket(runtime_.filePath(QStringLiteral("wayland-stale")), false);
    }

    void cleanupTestCase() { close(live_); }

    void init() {
        for (const char* name : displayVariables) {
            saved_.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
            qunsetenv(name);
        }
    }

    void cleanup() {
        for (const Saved& s : saved_)
            s.wasSet ? qputenv(s.name, s.value) : qunsetenv(s.name);
        saved_.clear();
    }

    void decidesLikeQt_data() {
        const QString none = freeDisplay();
        QVERIFY(!none.isEmpty());
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<DisplayState>("wayland");
        QTest::addColumn<DisplayState>("x");
        QTest::addColumn<bool>("usable");
        const auto env = [](std::initializer_list<QString> list) { return QStringList(list); };
        const QStringList noArgs;
        const QString runtime = "XDG_RUNTIME_DIR=" + runtime_.path();
        using enum DisplayState;

        QTest::newRow("nothing set") << noArgs << noArgs << NotSet << NotSet << false;
        QTest::newRow("DISPLAY empty") << env({"DISPLAY="}) << noArgs << NotSet << NotSet << false;
        QTest::newRow("no X server at DISPLAY")
            << env({"DISPLAY=" + none}) << noArgs << NotSet << Unreachable << false;
        QTest::newRow("DISPLAY not a display name")
            << env({"DISPLAY=nonsense"}) << noArgs << NotSet << Unreachable << false;
        QTest::newRow("offscreen, no DISPLAY")
            << env({"QT_QPA_PLATFORM=offscreen"}) << noArgs << Usable << Usable << true;
        QTest::newRow("offscreen, unreachable DISPLAY")
            << env({"QT_QPA_PLATFORM=offscreen", "DISPLAY=" + none}) << noArgs << Usable << Usable
            << true;
        QTest::newRow("live compositor, no DISPLAY")
            << env({"WAYLAND_DISPLAY=wayland-live", runtime}) << noArgs << Usable << Usable << true;
        QTest::newRow("live compositor at an absolute path")
            << env({"WAYLAND_DISPLAY=" + runtime_.filePath("wayland-live")}) << noArgs << Usable
            << Usable << true;
        QTest::newRow("stale socket, no DISPLAY") << env({"WAYLAND_DISPLAY=wayland-stale", runtime})
                                                  << noArgs << Unreachable << NotSet << false;
        QTest::newRow("no socket, unreachable DISPLAY")
            << env({"WAYLAND_DISPLAY=wayland-gone", runtime, "DISPLAY=" + none}) << noArgs
            << Unreachable << Unreachable << false;
        QTest::newRow("compositor name without a runtime folder")
            << env({"WAYLAND_DISPLAY=wayland-live"}) << noArgs << Unreachable << NotSet << false;
        QTest::newRow("X11 asked for beside a live compositor, no DISPLAY")
            << env({"WAYLAND_DISPLAY=wayland-live", runtime, "QT_QPA_PLATFORM=xcb"}) << noArgs
            << Usable << NotSet << false;
        QTest::newRow("X11 with options, unreachable")
            << env({"QT_QPA_PLATFORM=xcb:nograb", "DISPLAY=" + none}) << noArgs << Usable
            << Unreachable << false;
        QTest::newRow("X11 with a fallback platform")
            << env({"QT_QPA_PLATFORM=xcb;offscreen"}) << noArgs << Usable << Usable << true;
        QTest::newRow("-platform offscreen, no DISPLAY")
            << noArgs << QStringList({"-platform", "offscreen"}) << Usable << Usable << true;
        QTest::newRow("--platform xcb overrides offscreen")
            << env({"QT_QPA_PLATFORM=offscreen"}) << QStringList({"--platform", "xcb"}) << Usable
            << NotSet << false;
        QTest::newRow("-display names an unreachable server")
            << noArgs << QStringList({"-display", none}) << NotSet << Unreachable << false;
    }

    void decidesLikeQt() {
        QFETCH(QStringList, environment);
        QFETCH(QStringList, arguments);
        QFETCH(DisplayState, wayland);
        QFETCH(DisplayState, x);
        QFETCH(bool, usable);
        for (const QString& entry : environment) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            qputenv(entry.left(eq).toLatin1().constData(), entry.mid(eq + 1).toLocal8Bit());
        }
        std::vector<QByteArray> storage{"Mervel"};
        for (const QString& argument : arguments)
            storage.push_back(argument.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& argument : storage)
            argv.push_back(argument.data());
        argv.push_back(nullptr);

        const DisplayCheck check = checkDisplay(int(storage.size()), argv.data());
        QCOMPARE(check.wayland, wayland);
        QCOMPARE(check.x, x);
        QCOMPARE(check.usable(), usable);
        // Whatever is missing, the message names both places a display is looked for.
        if (!usable) {
            const std::string message = displayProblem(check);
            QVERIFY(message.find("WAYLAND_DISPLAY") != std::string::npos);
            QVERIFY(message.find("DISPLAY:") != std::string::npos);
        }
    }

private:
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    std::vector<Saved> saved_;
    QTemporaryDir runtime_;
    int live_ = -1;
};

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "tst_displaycheck.moc"
