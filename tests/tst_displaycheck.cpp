#include "shell/displaycheck.h"

#include <QFile>
#include <QTest>

#include <vector>

namespace {
const char* const displayVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

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
        QTest::addColumn<DisplayState>("expected");
        const auto env = [](std::initializer_list<QString> list) { return QStringList(list); };
        const QStringList noArgs;

        QTest::newRow("nothing set") << noArgs << noArgs << DisplayState::NotSet;
        QTest::newRow("DISPLAY empty") << env({"DISPLAY="}) << noArgs << DisplayState::NotSet;
        QTest::newRow("no X server at DISPLAY")
            << env({"DISPLAY=" + none}) << noArgs << DisplayState::Unreachable;
        QTest::newRow("DISPLAY not a display name")
            << env({"DISPLAY=nonsense"}) << noArgs << DisplayState::Unreachable;
        QTest::newRow("offscreen, no DISPLAY")
            << env({"QT_QPA_PLATFORM=offscreen"}) << noArgs << DisplayState::Usable;
        QTest::newRow("offscreen, unreachable DISPLAY")
            << env({"QT_QPA_PLATFORM=offscreen", "DISPLAY=" + none}) << noArgs
            << DisplayState::Usable;
        QTest::newRow("Wayland session, no DISPLAY")
            << env({"WAYLAND_DISPLAY=wayland-0"}) << noArgs << DisplayState::Usable;
        QTest::newRow("X11 asked for in a Wayland session, no DISPLAY")
            << env({"WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=xcb"}) << noArgs
            << DisplayState::NotSet;
        QTest::newRow("X11 with options, unreachable")
            << env({"QT_QPA_PLATFORM=xcb:nograb", "DISPLAY=" + none}) << noArgs
            << DisplayState::Unreachable;
        QTest::newRow("X11 with a fallback platform")
            << env({"QT_QPA_PLATFORM=xcb;offscreen"}) << noArgs << DisplayState::Usable;
        QTest::newRow("-platform offscreen, no DISPLAY")
            << noArgs << QStringList({"-platform", "offscreen"}) << DisplayState::Usable;
        QTest::newRow("--platform xcb overrides offscreen")
            << env({"QT_QPA_PLATFORM=offscreen"}) << QStringList({"--platform", "xcb"})
            << DisplayState::NotSet;
        QTest::newRow("-display names an unreachable server")
            << noArgs << QStringList({"-display", none}) << DisplayState::Unreachable;
    }

    void decidesLikeQt() {
        QFETCH(QStringList, environment);
        QFETCH(QStringList, arguments);
        QFETCH(DisplayState, expected);
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
        QCOMPARE(check.state, expected);
    }

private:
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    std::vector<Saved> saved_;
};

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "tst_displaycheck.moc"
