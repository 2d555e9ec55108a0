// The key filter of the value boxes and the guard that keeps the program's own writes from
// starting conversions, driven with real key events on the lengths panel (both lists on
// "Километр", so box 1 shows box 0's number as the boxes write it).
#include "windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QSignalSpy>

namespace {

const QLocale pointLocale = QLocale::c();
const QLocale commaLocale(QLocale::Russian, QLocale::Russia);

void press(TextBox* box, const QString& key) {
    if (key == u"Backspace") {
        QTest::keyClick(box, Qt::Key_Backspace);
    } else if (key == u"Enter") {
        QTest::keyClick(box, Qt::Key_Return);
    } else if (key == u"Escape") {
        QTest::keyClick(box, Qt::Key_Escape);
    } else if (key == u"Ctrl+V") {
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        WindowFixture::key(box, key.at(0));
    }
}

}  // namespace

class TestEntry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keys_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("start");      // typed into the emptied box 0
        QTest::addColumn<QString>("selection");  // "end", "home", "cursor N" (caret only),
                                                 // "select FROM LENGTH" or "all"
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("box0");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("guard");  // 1: a box was written, or a separator let in

        struct Row {
            const char* name;
            const QLocale& locale;
            const char *start, *selection, *key, *box0, *box1;
            int beeps, guard;
        };
        const QLocale& p = pointLocale;
        const QLocale& c = commaLocale;
        const QLocale a(QLocale::Arabic, QLocale::SaudiArabia);
        const Row rows[] = {
            {"digit appended converts", p, "12", "end", "5", "125", "125", 0, 1},
            {"digit before converts", c, "12", "home", "5", "512", "512", 0, 1},
            {"minus into empty box", p, "", "end", "-", "-", "0", 0, 0},
            {"plus into empty box", p, "", "end", "+", "+", "0", 0, 0},
            {"digit after sign converts", c, "-", "end", "2", "-2", "-2", 0, 1},
            {"minus after a digit refused", p, "0", "end", "-", "0", "0", 1, 0},
            {"minus before digits refused", p, "37", "home", "-", "37", "37", 1, 0},
            {"minus over whole text", p, "37", "all", "-", "-", "37", 0, 0},
            // A selection short of the whole text is no start of a number: a sign is refused.
            {"minus over part of the text refused", p, "37", "select 0 1", "-", "37", "37", 1, 0},
            {"plus over part of the text refused", c, "37", "select 0 1", "+", "37", "37", 1, 0},
            {"digit over part of the text", p, "37", "select 0 1", "4", "47", "47", 0, 1},
            {"digit over whole text", c, "37", "all", "4", "4", "4", 0, 1},
            {"point locale: comma typed", p, "3", "end", ",", "3.", "3", 0, 1},
            {"point locale: point typed", p, "3", "end", ".", "3.", "3", 0, 1},
            {"comma locale: point typed", c, "3", "end", ".", "3,", "3", 0, 1},
            {"comma locale: comma typed", c, "3", "end", ",", "3,", "3", 0, 1},
            // The test of "0.5" decides: where the locale's own separator is neither, "," goes in.
            {"arabic separator locale: point typed", a, "3", "end", ".", "3,", "3", 0, 1},
            {"digit after separator", c, "3.", "end", "5", "3,5", "3,5", 0, 1},
            {"separator into empty box", c, "", "end", ".", ",", "0", 0, 1},
            {"second separator refused", p, "3.5", "end", ",", "3.5", "3.5", 1, 0},
            {"separator over whole text", c, "3.5", "all", ".", "3,5", "3,5", 1, 0},
            // A separator that makes another number converts it; one that keeps it waits.
            {"separator inside the number", p, "178", "cursor 2", ".", "17.8", "17.8", 0, 1},
            {"separator over a selection", p, "123", "select 1 2", ".", "1.", "1", 0, 1},
            {"separator over the last digit", c, "30", "select 1 1", ".", "3,", "3", 0, 1},
            {"separator before the number", c, "5", "home", ",", ",5", "0,5", 0, 1},
            {"separator after the sign", p, "-25", "cursor 1", ",", "-.25", "-0.25", 0, 1},
            {"backspace converts", p, "12", "end", "Backspace", "1", "1", 0, 1},
            {"backspace to empty", c, "1", "end", "Backspace", "", "1", 0, 0},
            {"backspace over all", p, "12", "all", "Backspace", "", "12", 0, 0},
        };
        for (const Row& r : rows) {
            QTest::newRow(r.name) << r.locale << QString(r.start) << QString(r.selection)
                                  << QString::fromUtf8(r.key) << QString(r.box0) << QString(r.box1)
                                  << r.beeps << r.guard;
        }
        for (const char* refused : {"e", "E", "ж", "Ж", " ", "*", "Enter", "Escape", "Ctrl+V"}) {
            for (const QLocale& locale : {p, c}) {
                QTest::addRow("'%s' refused, %s", refused, qPrintable(locale.name()))
                    << locale << "12"
                    << "end" << QString::fromUtf8(refused) << "12"
                    << "12" << 1 << 0;
            }
        }
    }

    // "3" to "3." is still 3: the other box is not written until the next digit.
    void separatorAtTheEndWaits() {
        WindowFixture f;
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("3"));
        QSignalSpy writes(f.w().controls().Text1[1], &QLineEdit::textChanged);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("."));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("3."));
        QCOMPARE(writes.count(), 0);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("5"));
        QCOMPARE(writes.count(), 1);
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("3.5"));
    }

    void keys() {
        QFETCH(QLocale, locale);
        QFETCH(QString, start);
        QFETCH(QString, selection);
        QFETCH(QString, key);
        QFETCH(QString, box0);
        QFETCH(QString, box1);
        QFETCH(int, beeps);
        QFETCH(int, guard);

        WindowFixture f(locale);
        TextBox* box = f.w().controls().Text1[0];
        WindowFixture::retype(box, start);
        if (selection == u"all") {
            box->selectAll();
        } else if (selection == u"home") {
            box->home(false);
        } else if (selection.startsWith(u"cursor")) {
            box->setCursorPosition(selection.section(u' ', 1, 1).toInt());
        } else if (selection.startsWith(u"select")) {
            box->setSelection(selection.section(u' ', 1, 1).toInt(),
                              selection.section(u' ', 2, 2).toInt());
        }
        QCOMPARE(f.desktop.beeps, 0);
        press(box, key);
        QCOMPARE(box->text(), box0);
        QCOMPARE(f.w().controls().Text1[1]->text(), box1);
        QCOMPARE(f.desktop.beeps, beeps);
        // Any key, refused or not, means the user is typing.
        QCOMPARE(f.w().state().UpdateGuard, guard);
    }

    void decimalModeFollowsLocale() {
        WindowFixture point(pointLocale);
        QCOMPARE(point.w().state().DecimalMode, 1);
        WindowFixture comma(commaLocale);
        QCOMPARE(comma.w().state().DecimalMode, 2);
    }

    // State: just opened. Action: pick units before any key. Expected: no number changes.
    // Then one refused key is enough for the next pick to convert.
    void picksConvertOnlyAfterAKey() {
        WindowFixture f;
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Метр"));
        QCOMPARE(f.w().state().UpdateGuard, 3);
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("0"));
        f.w().controls().Text1[0]->setFocus();
        press(f.w().controls().Text1[0], QStringLiteral("x"));
        QCOMPARE(f.w().state().UpdateGuard, 0);
        WindowFixture::pick(f.w().controls().List1[0], QStringLiteral("Сантиметр"));
        QCOMPARE(f.w().state().UpdateGuard, 1);
        QCOMPARE(f.desktop.beeps, 1);
    }

    // State: the user typed into box 1. Action: pick a unit. Expected: box 1 is recomputed
    // from box 0, which keeps its text.
    void pickConvertsFromBoxZero() {
        WindowFixture f;
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("2"));
        QTest::keyClick(f.w().controls().Text1[1],
                        Qt::Key_End);  // a written box has its caret at the start
        WindowFixture::type(f.w().controls().Text1[1], QStringLiteral("7"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("27"));
        WindowFixture::pick(f.w().controls().List1[0], QStringLiteral("Метр"));  // 27 metres
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("27"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("0.027"));
    }

    // Edits that arrive without a character key count as typing, so the other box never shows
    // the conversion of a number that is gone.
    void editsWithoutCharacterKeys() {
        WindowFixture f;
        TextBox* box = f.w().controls().Text1[0];
        WindowFixture::retype(box, QStringLiteral("25"));
        box->home(false);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("5"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("5"));

        WindowFixture::setClipboard(QStringLiteral("42"));
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QStringLiteral("42"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("42"));
        QCOMPARE(f.desktop.beeps, 0);
    }

    // Text put in at once obeys the key rule as if typed at the cursor: refused whole with one
    // beep, or let in with the locale's separator and converted. Text an input method commits
    // is typed one character at a time.
    void insertions_data() {
        QTest::addColumn<QString>("how");  // "paste", "middle", "drop", "a11y" or "im"
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("all");  // box 0, holding 7, is wholly selected
        QTest::addColumn<QString>("incoming");
        QTest::addColumn<QString>("box0");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<int>("beeps");
        const QLocale& p = pointLocale;
        const QLocale& c = commaLocale;
        const QString nines(400, u'9');
        for (const char* how : {"paste", "middle", "drop", "a11y"}) {
            QTest::addRow("%s: letters refused", how) << how << p << false << "5abc"
                                                      << "7"
                                                      << "7" << 1;
            QTest::addRow("%s: inf refused", how) << how << c << false << "5inf"
                                                  << "7"
                                                  << "7" << 1;
            QTest::addRow("%s: sign inside refused", how) << how << p << false << "5--5"
                                                          << "7"
                                                          << "7" << 1;
            QTest::addRow("%s: sign after a digit refused", how) << how << p << false << "-5"
                                                                 << "7"
                                                                 << "7" << 1;
            QTest::addRow("%s: newline refused", how) << how << p << false << "5\n"
                                                      << "7"
                                                      << "7" << 1;
            QTest::addRow("%s: second separator refused", how) << how << p << false << "1.5,"
                                                               << "7"
                                                               << "7" << 1;
            QTest::addRow("%s: digits converted", how) << how << p << false << "25"
                                                       << "725"
                                                       << "725" << 0;
            QTest::addRow("%s: point becomes the comma", how) << how << c << false << "51.5"
                                                              << "751,5"
                                                              << "751,5" << 0;
            QTest::addRow("%s: comma becomes the point", how) << how << p << false << ",5"
                                                              << "7.5"
                                                              << "7.5" << 0;
            QTest::addRow("%s: overflow empties box 1", how)
                << how << p << false << nines << "7" + nines << "" << 1;
        }
        // Paste and a screen reader's edit replace the selection; a sign may start the text.
        for (const char* how : {"paste", "a11y"}) {
            QTest::addRow("%s: sign over the whole text", how) << how << c << true << "-2.5"
                                                               << "-2,5"
                                                               << "-2,5" << 0;
        }
        // The last one, beyond 16 bits, is one character: one beep.
        const char* const composed[] = {"²", "¹", "³", "é", "©", "٫", "𝟓"};
        for (const char* text : composed) {
            QTest::addRow("im: %s refused", text)
                << "im" << p << false << QString::fromUtf8(text) << "7"
                << "7" << 1;
        }
        QTest::newRow("im: digit converted") << "im" << p << false << "5"
                                             << "75"
                                             << "75" << 0;
        QTest::newRow("im: each character on its own") << "im" << p << false << "2²3"
                                                       << "723"
                                                       << "723" << 1;
        QTest::newRow("im: separator the locale's") << "im" << c << false << "."
                                                    << "7,"
                                                    << "7" << 0;
        QTest::newRow("im: sign over the whole text") << "im" << p << true << "-"
                                                      << "-"
                                                      << "7" << 0;
    }

    void insertions() {
        QFETCH(QString, how);
        QFETCH(QLocale, locale);
        QFETCH(bool, all);
        QFETCH(QString, incoming);
        QFETCH(QString, box0);
        QFETCH(QString, box1);
        QFETCH(int, beeps);
        WindowFixture f(locale);
        TextBox* box = f.w().controls().Text1[0];
        WindowFixture::retype(box, QStringLiteral("7"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("7"));
        if (all) {
            box->selectAll();
        }
        const QPoint end(box->width() - 4, box->height() / 2);  // past the text
        if (how == u"paste") {
            WindowFixture::setClipboard(incoming);
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (how == u"middle") {
            QClipboard* clipboard = QGuiApplication::clipboard();
            if (!clipboard->supportsSelection()) {
                QSKIP("this platform has no X selection");
            }
            WindowFixture::setClipboard(incoming, QClipboard::Selection);
            QTest::mouseClick(box, Qt::MiddleButton, {}, end);
        } else if (how == u"drop") {
            QMimeData data;
            data.setText(incoming);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(QPointF(end), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box, &drop);
        } else if (how == u"a11y") {
            QAccessibleInterface* boxAccess = QAccessible::queryAccessibleInterface(box);
            QVERIFY(boxAccess && boxAccess->editableTextInterface());
            const int from = all ? 0 : static_cast<int>(box->text().size());
            boxAccess->editableTextInterface()->replaceText(
                from, static_cast<int>(box->text().size()), incoming);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(incoming);
            QApplication::sendEvent(box, &commit);
        }
        QCOMPARE(box->text(), box0);
        QCOMPARE(f.w().controls().Text1[1]->text(), box1);
        QCOMPARE(f.desktop.beeps, beeps);
    }

    // A number too large for a double cannot be converted: the other box is emptied, with a
    // beep, and the next number that fits converts again. Yards into metres, as 0.9144 m.
    void overflowingNumberEmptiesTheOtherBox() {
        WindowFixture f;
        WindowFixture::pick(f.w().controls().List1[0], QStringLiteral("Ярд"));
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Метр"));
        TextBox* box = f.w().controls().Text1[0];
        WindowFixture::retype(box, QStringLiteral("1") + QString(308, u'0'));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("9.144E+307"));
        QCOMPARE(f.desktop.beeps, 0);
        WindowFixture::type(box, QStringLiteral("0"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("9.144E+307"));
        QCOMPARE(f.desktop.beeps, 1);
    }

    void secondCopyIsRefused() {
        FakeDesktop desktop;
        desktop.otherCopyRunning = true;
        Ruriruz window(desktop);
        QVERIFY(!window.Form_Load());
        QCOMPARE(desktop.messages, QStringList{QStringLiteral("Программа уже запущена!")});
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
