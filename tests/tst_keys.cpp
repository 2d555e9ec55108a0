// Keys as a real desktop delivers them, under the Latin and the Russian layout: the character a
// key gives the value boxes, the category steps, the menu from the keyboard, and Qt's own texts.
// Key events carry the X11 keycode of the physical key where the layout matters (V is 55 on
// every PC keyboard, whether it shows V or М).
#include "shell/program.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTranslator>

namespace {

constexpr quint32 keyA = 38, keyC = 54, keyH = 43, keyJ = 44, keyV = 55, keyBracket = 34,
                  keyBracketRight = 35, keySlash = 61, keyPeriod = 60, noKey = 0;
constexpr int cyrillicEm = 0x41C, cyrillicHa = 0x425, cyrillicEr = 0x420, cyrillicHardSign = 0x42A,
              cyrillicEf = 0x424, cyrillicZhe = 0x416, cyrillicEs = 0x421;

QKeyEvent keyEvent(int key, Qt::KeyboardModifiers mods, quint32 scanCode, const QString& text) {
    return QKeyEvent(QEvent::KeyPress, key, mods, scanCode, 0, 0, text);
}

void press(QWidget* widget, int key, Qt::KeyboardModifiers mods, quint32 scanCode,
           const QString& text = {}) {
    QKeyEvent event = keyEvent(key, mods, scanCode, text);
    QApplication::sendEvent(widget, &event);
}

// The key a menu item shows after its text, if any.
QString shownKey(const QAction* action) {
    return action->text().section(u'\t', 1);
}

bool hasLatinLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    });
}

bool hasCyrillicLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

}  // namespace

class TestKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deliveredCharacter_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");  // -1: no character

        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        // Ctrl+letter is the letter's place in the alphabet, under every layout.
        QTest::newRow("Ctrl+V, Latin layout on X11")
            << int(Qt::Key_V) << ctrl << keyV << QStringLiteral("\x16") << 22;
        QTest::newRow("Ctrl+V, no native codes") << int(Qt::Key_V) << ctrl << noKey << "v" << 22;
        QTest::newRow("Ctrl+М, Russian layout") << cyrillicEm << ctrl << keyV << "" << 22;
        QTest::newRow("Ctrl+Shift+М") << cyrillicEm << ctrlShift << keyV << "" << 22;
        QTest::newRow("Ctrl+Р is Ctrl+H") << cyrillicEr << ctrl << keyH << "" << 8;
        // A Latin layout that puts V elsewhere still names V itself.
        QTest::newRow("Ctrl+V on another Latin layout")
            << int(Qt::Key_V) << ctrl << keyPeriod << "" << 22;
        // Ctrl+punctuation: ESC, FS, GS, RS, US, and DEL for Ctrl+8.
        QTest::newRow("Ctrl+[") << int(Qt::Key_BracketLeft) << ctrl << keyBracket << "" << 27;
        QTest::newRow("Ctrl+Х is Ctrl+[") << cyrillicHa << ctrl << keyBracket << "" << 27;
        QTest::newRow("Ctrl+Ъ is Ctrl+]")
            << cyrillicHardSign << ctrl << keyBracketRight << "" << 29;
        QTest::newRow("Ctrl+\\") << int(Qt::Key_Backslash) << ctrl << noKey << "" << 28;
        QTest::newRow("Ctrl+^") << int(Qt::Key_AsciiCircum) << ctrlShift << noKey << "" << 30;
        QTest::newRow("Ctrl+_") << int(Qt::Key_Underscore) << ctrlShift << noKey << "" << 31;
        QTest::newRow("Ctrl+/") << int(Qt::Key_Slash) << ctrl << keySlash << "" << 31;
        QTest::newRow("Ctrl+/ under Russian, where the key gives a point")
            << int(Qt::Key_Period) << ctrl << keySlash << "" << 31;
        QTest::newRow("Ctrl+3") << int(Qt::Key_3) << ctrl << noKey << "" << 27;
        QTest::newRow("Ctrl+7") << int(Qt::Key_7) << ctrl << noKey << "" << 31;
        QTest::newRow("Ctrl+8") << int(Qt::Key_8) << ctrl << noKey << "" << 127;
        QTest::newRow("Ctrl+Backspace gives DEL")
            << int(Qt::Key_Backspace) << ctrl << noKey << "\b" << 127;
        // Keys that give no control character, or NUL, deliver nothing.
        QTest::newRow("Ctrl+1") << int(Qt::Key_1) << ctrl << noKey << "1" << -1;
        QTest::newRow("Ctrl+2 (NUL)") << int(Qt::Key_2) << ctrl << noKey << "" << -1;
        QTest::newRow("Ctrl+Space (NUL)") << int(Qt::Key_Space) << ctrl << noKey << "" << -1;
        QTest::newRow("Ctrl+point") << int(Qt::Key_Period) << ctrl << keyPeriod << "" << -1;
        QTest::newRow("Ctrl+Insert") << int(Qt::Key_Insert) << ctrl << noKey << "" << -1;
        QTest::newRow("Ctrl+Shift+Backtab")
            << int(Qt::Key_Backtab) << ctrlShift << noKey << "" << -1;
        // Alt+key is for the menu.
        QTest::newRow("Alt+A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::AltModifier) << keyA
                               << "a" << -1;
        QTest::newRow("Alt+5") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::AltModifier) << noKey
                               << "5" << -1;
        // Ctrl+Alt is AltGr where it types characters; plain keys give their text.
        QTest::newRow("AltGr+E (Ctrl+Alt)")
            << int(Qt::Key_E) << (Qt::ControlModifier | Qt::AltModifier) << noKey
            << QStringLiteral("€") << 0x20AC;
        QTest::newRow("Ж") << cyrillicZhe << Qt::KeyboardModifiers() << noKey << "ж" << 0x436;
        QTest::newRow("Backspace")
            << int(Qt::Key_Backspace) << Qt::KeyboardModifiers() << noKey << "\b" << 8;
    }

    void deliveredCharacter() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(quint32, scanCode);
        QFETCH(QString, text);
        QFETCH(int, code);
        const std::optional<char16_t> delivered =
            TextBox::deliveredCharacter(keyEvent(key, mods, scanCode, text));
        QCOMPARE(delivered ? int(*delivered) : -1, code);
    }

    // State: box 0 holds 12, box 1 its conversion. Action: a Ctrl key under the Russian
    // layout. Expected: refused keys change nothing but beep and open the boxes (guard 0);
    // Ctrl+H deletes one character and converts, as Backspace does.
    void ctrlKeysInTheBox_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<QString>("box0");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("guard");

        QTest::newRow("Ctrl+М (V)") << cyrillicEm << keyV << "12"
                                    << "12" << 1 << 0;
        QTest::newRow("Ctrl+Х ([)") << cyrillicHa << keyBracket << "12"
                                    << "12" << 1 << 0;
        QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << noKey << "12"
                                        << "12" << 1 << 0;
        QTest::newRow("Ctrl+Р (H)") << cyrillicEr << keyH << "1"
                                    << "1" << 0 << 1;
    }

    void ctrlKeysInTheBox() {
        QFETCH(int, key);
        QFETCH(quint32, scanCode);
        QFETCH(QString, box0);
        QFETCH(QString, box1);
        QFETCH(int, beeps);
        QFETCH(int, guard);

        WindowFixture f;
        TextBox* box = f.w().controls().Text1[0];
        WindowFixture::retype(box, QStringLiteral("12"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("12"));
        press(box, key, Qt::ControlModifier, scanCode);
        QCOMPARE(box->text(), box0);
        QCOMPARE(f.w().controls().Text1[1]->text(), box1);
        QCOMPARE(f.desktop.beeps, beeps);
        QCOMPARE(f.w().state().UpdateGuard, guard);
    }

    // State: just set up (guard 3), box 0 written from code. Action: Ctrl+М under the Russian
    // layout, then a unit pick. Expected: the pick converts, as after any key.
    void refusedCtrlKeyOpensTheBoxes() {
        WindowFixture f;
        f.w().controls().Text1[0]->setText(QStringLiteral("2"));
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Метр"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("0"));  // nothing typed yet
        f.w().controls().Text1[0]->setFocus();
        press(f.w().controls().Text1[0], cyrillicEm, Qt::ControlModifier, keyV);
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Сантиметр"));  // 200000 cm
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("200000"));
    }

    // Ctrl+Tab and Ctrl+Shift+Tab step through the thirteen categories and wrap; X11 delivers
    // Shift+Tab as Backtab, the offscreen platform as Tab.
    void categorySteps() {
        WindowFixture f;
        QVERIFY(f.activate());
        f.w().controls().Text1[0]->setFocus();
        const Qt::KeyboardModifiers back = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, back);
        QCOMPARE(f.w().controls().TabStrip1->selectedIndex(), 13);
        QVERIFY(f.w().controls().Frame4->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, back);
        QCOMPARE(f.w().controls().TabStrip1->selectedIndex(), 12);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.w().controls().TabStrip1->selectedIndex(), 1);
        QCOMPARE(f.w().state().UpdateGuard, 3);  // each step sets the category up
    }

    // F10 opens the first menu; Alt pressed and released alone moves the focus to the menu
    // bar without opening a menu.
    void menuBarFromTheKeyboard() {
        WindowFixture f;
        QVERIFY(f.activate());
        f.w().controls().Text1[0]->setFocus();
        QTest::keyClick(f.w().controls().Text1[0], Qt::Key_F10);
        QTRY_VERIFY(f.w().controls().Fail->isVisible());
        QCOMPARE(f.w().menuBar()->activeAction(), f.w().controls().Fail->menuAction());
        QTest::keyClick(f.w().controls().Fail, Qt::Key_Escape);
        QTest::keyClick(f.w().menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!f.w().controls().Fail->isVisible());

        f.w().activateWindow();
        f.w().controls().Text1[0]->setFocus();
        QTest::keyPress(f.w().controls().Text1[0], Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(f.w().controls().Text1[0], Qt::Key_Alt, Qt::NoModifier);
        QTRY_COMPARE(QApplication::focusWidget(), f.w().menuBar());
        QCOMPARE(f.w().menuBar()->activeAction(), f.w().controls().Fail->menuAction());
        QVERIFY(!f.w().controls().Fail->isVisible());
    }

    // Every key that opens Файл opens it as its access letter does, on its first item:
    // Enter then runs Выход.
    void menuOpensOnItsFirstItem_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("help");  // Справка, of two items; else Файл
        const Qt::KeyboardModifiers alt = Qt::AltModifier;
        QTest::newRow("F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers() << noKey << "" << false;
        QTest::newRow("Alt+A, Latin layout") << int(Qt::Key_A) << alt << keyA << "a" << false;
        QTest::newRow("Alt+Ф, Russian layout") << cyrillicEf << alt << keyA << "ф" << false;
        QTest::newRow("Alt+C, Latin layout") << int(Qt::Key_C) << alt << keyC << "c" << true;
        QTest::newRow("Alt+С, Russian layout") << cyrillicEs << alt << keyC << "с" << true;
    }
    void menuOpensOnItsFirstItem() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, mods);
        QFETCH(quint32, scanCode);
        QFETCH(QString, text);
        QFETCH(bool, help);
        WindowFixture f;
        QVERIFY(f.activate());
        QMenu* menu = help ? f.w().controls().Help : f.w().controls().Fail;
        QAction* first = menu->actions().first();
        QSignalSpy chosen(first, &QAction::triggered);
        TextBox* box = f.w().controls().Text1[0];
        box->setFocus();
        if (scanCode == noKey) {
            QTest::keyClick(box, static_cast<Qt::Key>(key), mods);
        } else if (key > 0x400) {
            WindowFixture::key(box, text.at(0), mods);  // Cyrillic: through Qt's shortcuts
        } else {
            press(box, key, mods, scanCode, text);
        }
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->activeAction(), first);
        QTest::keyClick(menu, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(f.desktop.beeps, 0);
    }

    // Under a Latin layout the access letters work from the keys that carry them in the
    // Russian layout: Ф is on A, С on C, О on J.
    void accessLettersByKey() {
        WindowFixture f;
        QVERIFY(f.activate());
        QSignalSpy about(f.w().controls().About, &QAction::triggered);
        f.w().controls().Text1[0]->setFocus();
        press(f.w().controls().Text1[0], Qt::Key_A, Qt::AltModifier, keyA, QStringLiteral("a"));
        QTRY_VERIFY(f.w().controls().Fail->isVisible());
        QCOMPARE(f.desktop.beeps, 0);  // the box never saw the key
        QTest::keyClick(f.w().controls().Fail, Qt::Key_Escape);
        QTest::keyClick(f.w().menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!f.w().controls().Fail->isVisible());

        f.w().activateWindow();
        f.w().controls().Text1[0]->setFocus();
        press(f.w().controls().Text1[0], Qt::Key_C, Qt::AltModifier, keyC, QStringLiteral("c"));
        QTRY_VERIFY(f.w().controls().Help->isVisible());
        press(f.w().controls().Help, Qt::Key_J, Qt::NoModifier, keyJ, QStringLiteral("j"));
        QTRY_COMPARE(about.count(), 1);
        QTRY_VERIFY(!f.w().controls().Help->isVisible());
        // A key that carries no access letter leaves the box alone and the menu shut.
        f.w().controls().Text1[0]->setFocus();
        press(f.w().controls().Text1[0], Qt::Key_F, Qt::AltModifier, 41, QStringLiteral("f"));
        QVERIFY(!f.w().controls().Fail->isVisible() && !f.w().controls().Help->isVisible());
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("0"));
        QCOMPARE(f.desktop.beeps, 0);
    }

    // The box's context menu, with Qt's Russian texts: every item reads in Russian, and the
    // keys it shows are the ones the box lets through, never a Ctrl+letter it refuses.
    void contextMenu() {
        QVERIFY(loadQtTranslations());
        QGuiApplication::styleHints()->setShowShortcutsInContextMenus(true);
        WindowFixture f;
        const std::unique_ptr<QMenu> menu(f.w().controls().Text1[0]->createContextMenu());
        const QStringList refused{
            QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText),
            QKeySequence(QKeySequence::Redo).toString(QKeySequence::NativeText),
            QKeySequence(QKeySequence::Cut).toString(QKeySequence::NativeText),
            QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText),
            QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText),
            QKeySequence(QKeySequence::SelectAll).toString(QKeySequence::NativeText)};
        QStringList shown;
        int items = 0;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            ++items;
            const QString label = action->text().section(u'\t', 0, 0);
            QVERIFY2(hasCyrillicLetter(label) && !hasLatinLetter(label), qPrintable(label));
            QVERIFY2(!refused.contains(shownKey(action)), qPrintable(action->text()));
            if (!shownKey(action).isEmpty()) {
                shown << label + u' ' + shownKey(action);
            }
        }
        QCOMPARE(items, 7);  // undo, redo, cut, copy, paste, delete, select all
        const auto key = [](QKeyCombination k) {
            return QKeySequence(k).toString(QKeySequence::NativeText);
        };
        QCOMPARE(shown,
                 QStringList({QStringLiteral("&Вырезать ") + key(Qt::SHIFT | Qt::Key_Delete),
                              QStringLiteral("&Копировать ") + key(Qt::CTRL | Qt::Key_Insert),
                              QStringLiteral("В&ставить ") + key(Qt::SHIFT | Qt::Key_Insert),
                              QStringLiteral("Удалить ") + key(QKeyCombination(Qt::Key_Delete))}));
    }
};

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
