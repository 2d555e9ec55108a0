// The menu commands on the real window: the help file, the About box and Exit.
#include "help/helpwindow.h"
#include "platform/appicon.h"
#include "platform/qtdesktop.h"
#include "shell/commands.h"
#include "shell/frmabout.h"
#include "testkit.h"
#include "windowfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

namespace {

// The version of the latest release in the package's changelog, which the About box must show:
// "mervel (1.0.0) unstable; ..." on the first line.
QString releasedVersion() {
    QFile changelog(QStringLiteral(CHANGELOG_FILE));
    if (!changelog.open(QIODevice::ReadOnly)) {
        return QStringLiteral("(no changelog)");
    }
    const QString first = QString::fromUtf8(changelog.readLine());
    return first.section(u'(', 1).section(u')', 0, 0);
}

frmAbout* theAboutBox() {
    const QList<frmAbout*> boxes = testkit::shown<frmAbout>();
    return boxes.size() == 1 ? boxes.first() : nullptr;
}

// The window, with the commands connected and the window active, as after start-up.
struct ShellFixture : WindowFixture {
    ShellFixture() : commands(w(), desktop) { active = activate(); }
    Commands commands;
    bool active = false;
};

}  // namespace

class TestShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        // A failed check may leave a box open; the next test starts without one.
        qDeleteAll(testkit::shown<frmAbout>());
        QApplication::setFont(QFont());
    }

    void help_data() {
        QTest::addColumn<QString>("folder");  // where the executable is, inside a scratch folder
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("how");  // the menu item, or F1 with the focus in a control

        const QString odd = QStringLiteral("home/Иван Петров/it's \"$(rm -rf ~)\"");
        for (const QString how : {"menu", "F1 in a box", "F1 in a list", "F1 on the tabs"}) {
            for (bool present : {true, false}) {
                const QString state = present ? QStringLiteral(", present") : ", missing";
                QTest::newRow(qPrintable(how + state))
                    << QStringLiteral("opt/mervel") << present << how;
                QTest::newRow(qPrintable(how + state + ", odd folder")) << odd << present << how;
            }
        }
        QTest::newRow("trailing separator") << QStringLiteral("opt/mervel/") << false << "menu";
    }

    // The help file beside the executable opens in the help window, one window however often
    // the command is given; a missing one is reported by name. Either way the converter is left
    // as it was, and the command can be given again.
    void help() {
        QFETCH(QString, folder);
        QFETCH(bool, present);
        QFETCH(QString, how);

        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString exeDirectory = scratch.path() + u'/' + folder;
        const QString path =
            QDir::cleanPath(exeDirectory + QStringLiteral("/Helpfiles/Mervel.chm"));
        ShellFixture f;
        QVERIFY(f.active);
        f.desktop.exeDirectory = exeDirectory;
        if (present) {
            QVERIFY(QDir().mkpath(exeDirectory + QStringLiteral("/Helpfiles")));
            QVERIFY(QFile::copy(QStringLiteral(CHM_FILE), path));
            f.desktop.files << path;
        }
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("5"));
        const QString box0 = f.w().controls().Text1[0]->text();
        const QString box1 = f.w().controls().Text1[1]->text();

        QWidget* focus = f.w().controls().TabStrip1;
        if (how == u"F1 in a box") {
            focus = f.w().controls().Text1[0];
        } else if (how == u"F1 in a list") {
            focus = f.w().controls().List1[1];
        }
        for (int time = 0; time < 2; ++time) {
            if (how == u"menu") {
                f.w().controls().Help_me->trigger();
            } else {
                focus->setFocus();
                QTest::keyClick(focus, Qt::Key_F1);
            }
        }

        if (present) {
            QVERIFY(f.commands.helpWindow());
            QCOMPARE(testkit::shown<HelpWindow>(), QList<HelpWindow*>({f.commands.helpWindow()}));
            QCOMPARE(f.desktop.messages, QStringList());
        } else {
            QVERIFY(!f.commands.helpWindow());
            QCOMPARE(testkit::shown<HelpWindow>(), QList<HelpWindow*>());
            const QString text = QStringLiteral("Файл ") + path + QStringLiteral(" не найден");
            QCOMPARE(f.desktop.messages, QStringList({text, text}));
        }
        QCOMPARE(f.desktop.beeps, 0);
        QCOMPARE(f.w().controls().Text1[0]->text(), box0);
        QCOMPARE(f.w().controls().Text1[1]->text(), box1);
        QCOMPARE(f.desktop.endings, 0);
    }

    // Alt and a menu's access letter open it, from a box as from anywhere in the window; in the
    // open Справка menu, О opens the About box.
    void menuAccessLetters_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Файл") << "Fail" << QChar(u'ф') << QStringLiteral("&Файл");
        QTest::newRow("Справка") << "Help" << QChar(u'с') << QStringLiteral("&Справка");
    }

    void menuAccessLetters() {
        QFETCH(QString, menu);
        QFETCH(QChar, letter);
        QFETCH(QString, caption);
        ShellFixture f;
        QVERIFY(f.active);
        QMenu* opened = menu == u"Fail" ? f.w().controls().Fail : f.w().controls().Help;
        QCOMPARE(opened->title(), caption);
        f.w().controls().Text1[0]->setFocus();
        WindowFixture::key(f.w().controls().Text1[0], letter, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(opened->isVisible(), 2000);
        QCOMPARE(f.desktop.beeps, 0);
        if (menu == u"Help") {
            WindowFixture::key(opened, u'о');
            QTRY_VERIFY_WITH_TIMEOUT(theAboutBox() != nullptr, 2000);
        }
        opened->close();
    }

    // The desktop's message box: modal, the application title, the text, OK alone, no icon.
    void messageBox() {
        QString seen;
        QTimer look;
        int looks = 0;
        connect(&look, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box) {
                const QList<QAbstractButton*> buttons = box->buttons();
                seen = QStringLiteral("%1|%2|%3|%4|%5")
                           .arg(box->windowTitle(), box->text())
                           .arg(box->icon() == QMessageBox::NoIcon && box->iconPixmap().isNull())
                           .arg(buttons.size())
                           .arg(box->standardButton(buttons.value(0)) == QMessageBox::Ok);
                box->accept();
            }
            if (box || ++looks == 100) {
                look.stop();
            }
        });
        look.start(20);
        QtDesktop desktop;
        desktop.message(QStringLiteral("Файл не найден"));
        QCOMPARE(seen, QStringLiteral("Mervel|Файл не найден|1|1|1"));
    }

    void aboutTexts_data() {
        QTest::addColumn<int>("pointSize");  // 0: the default font
        QTest::newRow("default font") << 0;
        QTest::newRow("large font") << 20;
    }

    // The About box shows the title, the version and the contacts, with OK focused, and grows
    // rather than clips when the font is large.
    void aboutTexts() {
        QFETCH(int, pointSize);
        if (pointSize) {
            QFont font;
            font.setPointSize(pointSize);
            QApplication::setFont(font);
        }
        ShellFixture f;
        f.w().controls().About->trigger();
        frmAbout* box = theAboutBox();
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowActive(box));

        QCOMPARE(box->windowTitle(), QStringLiteral("О программе Mervel"));
        QCOMPARE(box->controls().lblTitle->text(), QStringLiteral("Mervel"));
        QCOMPARE(box->controls().lblVersion->text(), QStringLiteral("Версия ") + releasedVersion());
        const QStringList lines = box->controls().Text1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("© 2026 Разработчики Mervel"));
        QVERIFY(lines[1].contains(QStringLiteral("@mervel.example")));
        QVERIFY(lines[2].contains(QStringLiteral("https://mervel.example")));
        QVERIFY(box->controls().Text1->isReadOnly());
        QCOMPARE(box->controls().cmdOK->text(), QStringLiteral("OK"));
        QVERIFY(box->controls().cmdOK->isDefault());
        QCOMPARE(QApplication::focusWidget(), box->controls().cmdOK);
        QCOMPARE(box->controls().picIcon->pixmap().size(), QSize(32, 32));

        for (QLabel* label : {box->controls().lblTitle, box->controls().lblVersion}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY2(label->height() >= label->sizeHint().height(), qPrintable(label->text()));
        }
        QCOMPARE(box->controls().Text1->verticalScrollBar()->maximum(), 0);
        QCOMPARE(box->controls().Text1->horizontalScrollBar()->maximum(), 0);
        QVERIFY(box->controls().cmdOK->width() >= box->controls().cmdOK->sizeHint().width());
        // One below the other, all inside the box.
        QVERIFY(box->controls().lblVersion->geometry().top() >
                box->controls().lblTitle->geometry().bottom());
        QVERIFY(box->controls().Text1->geometry().top() >
                box->controls().lblVersion->geometry().bottom());
        QVERIFY(box->controls().cmdOK->geometry().top() >
                box->controls().Text1->geometry().bottom());
        for (QWidget* control : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(box->rect().contains(control->geometry()), control->metaObject()->className());
        }
        // Never smaller than designed (3240 x 2265 twips); larger where the font needs it.
        QVERIFY(box->width() >= 216 && box->height() >= 151);
        if (pointSize) {
            QVERIFY(box->width() > 216 && box->height() > 151);
        }
    }

    // A second command brings the same box to the front instead of opening another one.
    void aboutOnce() {
        ShellFixture f;
        f.w().controls().About->trigger();
        QPointer<frmAbout> first = theAboutBox();
        QVERIFY(first);
        QVERIFY(QTest::qWaitForWindowActive(first));

        QVERIFY(f.activate());
        f.w().controls().About->trigger();
        QCOMPARE(testkit::shown<frmAbout>().size(), 1);
        QCOMPARE(theAboutBox(), first.data());
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
    }

    // The box has no owner and blocks nothing: the window goes on converting while it is open.
    void aboutModeless() {
        ShellFixture f;
        f.w().controls().About->trigger();
        frmAbout* box = theAboutBox();
        QVERIFY(box);
        QVERIFY(!box->parentWidget());
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(f.w().isEnabled());
        // No taskbar entry, a fixed frame without minimise or maximise.
        QCOMPARE(box->windowType(), Qt::Tool);
        QVERIFY(!(box->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(box->minimumSize(), box->maximumSize());

        QVERIFY(f.activate());
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("7"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("7"));
        QVERIFY(box->isVisible());
    }

    void aboutCloses_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "OK clicked";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Enter in the text") << "Enter in the text";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box") << "close box";
    }

    // Every way of closing unloads the box; the next command loads a new one with the same texts.
    void aboutCloses() {
        QFETCH(QString, how);
        ShellFixture f;
        f.w().controls().About->trigger();
        QPointer<frmAbout> box = theAboutBox();
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowActive(box));

        if (how == u"OK clicked") {
            QTest::mouseClick(box->controls().cmdOK, Qt::LeftButton);
        } else if (how == u"Enter") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (how == u"Enter in the text") {
            box->controls().Text1->setFocus();
            QTest::keyClick(box->controls().Text1, Qt::Key_Return);
        } else if (how == u"Escape") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else {
            box->windowHandle()->close();
        }
        QTRY_VERIFY(!box);
        QCOMPARE(testkit::shown<frmAbout>().size(), 0);

        f.w().controls().About->trigger();
        frmAbout* again = theAboutBox();
        QVERIFY(again);
        QCOMPARE(again->windowTitle(), QStringLiteral("О программе Mervel"));
        QCOMPARE(again->controls().lblVersion->text(),
                 QStringLiteral("Версия ") + releasedVersion());
        QCOMPARE(again->controls().lblTitle->text(), QStringLiteral("Mervel"));
    }

    void exit_data() {
        QTest::addColumn<bool>("aboutOpen");
        QTest::newRow("window alone") << false;
        QTest::newRow("About box open") << true;
    }

    // Exit ends the program at once and takes the About box with it.
    void exit() {
        QFETCH(bool, aboutOpen);
        ShellFixture f;
        QPointer<frmAbout> box;
        if (aboutOpen) {
            f.w().controls().About->trigger();
            box = theAboutBox();
            QVERIFY(box);
        }
        f.w().controls().Exit->trigger();
        QCOMPARE(f.desktop.endings, 1);
        QVERIFY(!box);
        QCOMPARE(f.desktop.messages, QStringList());
    }

    void icon_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("16") << 16;
        QTest::newRow("32") << 32;
    }

    // Both sizes are rendered ones, not one scaled from the other: a transparent rounded corner
    // and the yellow ruler between the ticks.
    void icon() {
        QFETCH(int, size);
        const QIcon icon = applicationIcon();
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();  // at any scale
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        const QColor ruler = image.pixelColor(12 * size / 32, 17 * size / 32);
        QVERIFY2(ruler.red() > 200 && ruler.green() > 150 && ruler.blue() < 120,
                 qPrintable(ruler.name()));
        const QColor tile = image.pixelColor(size / 2, 29 * size / 32);
        QVERIFY2(tile.blue() > 120 && tile.red() < 80, qPrintable(tile.name()));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
