#include "platform/eventsound.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <memory>

// Where the bell sound cannot play, every beep still reaches the user as the fallback; and
// however the sound server behaves, asking for a sound returns at once.
class TestEventSound : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // A sound server that takes the connection and never answers.
        silent_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, qPrintable(dir_.filePath(QStringLiteral("silent"))),
                 sizeof address.sun_path);
        QVERIFY(bind(silent_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(listen(silent_, 8) == 0);
        qputenv("CANBERRA_DRIVER", "pulse");  // no sound card of the machine's own in the way
    }

    void cleanupTestCase() { close(silent_); }

    void fallsBackOrPlaysAtOnce_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QByteArray>("server");
        QTest::addColumn<int>("fallbacks");  // -1: none can be waited for
        QTest::newRow("no sound library") << "mervel-no-such-library" << QByteArray() << 3;
        QTest::newRow("no sound server")
            << "canberra" << ("unix:" + dir_.filePath("absent").toLocal8Bit()) << 3;
        QTest::newRow("a sound server that never answers")
            << "canberra" << ("unix:" + dir_.filePath("silent").toLocal8Bit()) << -1;
    }

    void fallsBackOrPlaysAtOnce() {
        QFETCH(QString, library);
        QFETCH(QByteArray, server);
        QFETCH(int, fallbacks);
        qputenv("PULSE_SERVER", server);
        int heard = 0;
        QElapsedTimer timer;
        timer.start();
        {
            auto sound = std::make_unique<EventSound>(library, [&heard] { ++heard; });
            for (int i = 0; i < 3; ++i) {
                sound->play();
                QTRY_COMPARE_WITH_TIMEOUT(heard, fallbacks < 0 ? 0 : i + 1, 5000);
            }
            QVERIFY2(timer.elapsed() < (fallbacks < 0 ? 1000 : 15000),
                     qPrintable(QString::number(timer.elapsed())));
            if (fallbacks < 0) {
                QTest::qWait(1000);  // the sound is stuck waiting for the server by now
                pollfd asked{silent_, POLLIN, 0};  // the server was reached, and never answered
                QCOMPARE(::poll(&asked, 1, 0), 1);
                QCOMPARE(heard, 0);
            }
            timer.restart();
        }
        // Nor does the end of the program wait for a sound server that hangs.
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        qunsetenv("PULSE_SERVER");
    }

    // A held key must not leave a queue of bells behind: while the sound is on its way (the
    // library still loading, a server that refuses), further beeps beyond two are dropped.
    void burstIsNotQueued() {
        qputenv("PULSE_SERVER", "unix:" + dir_.filePath(QStringLiteral("absent")).toLocal8Bit());
        int heard = 0;
        {
            EventSound sound(QStringLiteral("canberra"), [&heard] { ++heard; });
            for (int i = 0; i < 50; ++i) {
                sound.play();
            }
            QTRY_VERIFY_WITH_TIMEOUT(heard > 0, 5000);
            QTest::qWait(1000);
        }
        QVERIFY2(heard <= 5,
                 qPrintable(QStringLiteral("50 beeps at once sounded %1 times").arg(heard)));
        qunsetenv("PULSE_SERVER");
    }

private:
    QTemporaryDir dir_;
    int silent_ = -1;
};

QTEST_GUILESS_MAIN(TestEventSound)
#include "tst_eventsound.moc"
