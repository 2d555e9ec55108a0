// What the window shows after its own writes: long results whole and from their first
// character, and no number standing beside another that it does not equal.
#include "windowfixture.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QMenu>
#include <QMimeData>
#include <QStyleOptionComboBox>
#include <bit>
#include <limits>

namespace {

// Picks the units of one side, named left to right; right to left, so that a denominator is
// set before its numerator may hide it.
void pickUnits(WindowFixture& f, int tab, const QStringList& units, std::size_t side) {
    for (auto k = units.size(); k-- > 0;) {
        WindowFixture::pick(f.pickers(tab)[static_cast<std::size_t>(k)][side], units[k]);
    }
}

// Where the caret is drawn, in the box's own coordinates, once the box has been painted (a
// line edit works out how far its text is scrolled when it paints).
int caretX(TextBox* box) {
    box->repaint();
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
}

// True when the box shows its whole text from the first character on. Leaves the box holding
// "0": the measure of an unscrolled start.
bool showsWhole(TextBox* box, QString* why) {
    const QString text = box->text();
    const int advance = box->fontMetrics().horizontalAdvance(text);
    const int shown = caretX(box);
    const int cursor = box->cursorPosition();
    box->end(false);
    const int end = caretX(box);
    box->setText(QStringLiteral("0"));
    box->home(false);
    const int start = caretX(box);
    *why = QStringLiteral("'%1': caret %2 at x %3, text from x %4 to %5 (advance %6), box %7")
               .arg(text)
               .arg(cursor)
               .arg(shown)
               .arg(start)
               .arg(end)
               .arg(advance)
               .arg(box->contentsRect().right());
    // The caret before the first character sits where it does in an unscrolled box; at the
    // end it lies a whole advance further on, still inside the box.
    return cursor == 0 && shown == start && end - start >= advance - 1 &&
           start + advance < box->contentsRect().right();
}

}  // namespace

class TestDisplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void longResultShownWhole_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("units");  // of box 0, left to right
        QTest::addColumn<QStringList>("to");     // of box 1
        QTest::addColumn<int>("typedInto");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");

        const QString largest = "-179769313486231" + QString(294, u'0');
        const QString smallest = "-0." + QString(307, u'0') + "22250738585072";
        QTest::newRow("Линейные размеры: largest, in metres")
            << "Линейные размеры" << QStringList{"Метр"} << QStringList{"Метр"} << 0 << largest
            << "-1.79769313486231E+308";
        QTest::newRow("Силы: smallest normal, in kN")
            << "Силы" << QStringList{"kN"} << QStringList{"kN"} << 0 << smallest
            << "-2.2250738585072E-308";
        QTest::newRow("Распределенные моменты: largest, typed into box 1")
            << "Распределенные моменты" << QStringList{"kN", "м", "м"}
            << QStringList{"kN", "м", "м"} << 1 << largest << "-1.79769313486231E+308";
        QTest::newRow("Скорости: twenty-one characters without exponent")
            << "Скорости" << QStringList{"м", "сек"} << QStringList{"м", "сек"} << 0
            << "-0.000123456789012345"
            << "-0.000123456789012345";
        // 3 * 0.0254 / 3600 / 9.81
        QTest::newRow("Ускорения: 3 дюйм/мин^2 in g")
            << "Ускорения" << QStringList{"дюйм", "мин^2"} << QStringList{"g", "сек^2"} << 0 << "3"
            << "2.15766224940537E-06";
        // 0.001 / 9.81 / 0.0254
        QTest::newRow("Моменты: 1 N*м in т*дюйм")
            << "Моменты" << QStringList{"N", "м"} << QStringList{"т", "дюйм"} << 0 << "1"
            << "0.00401325981041361";
    }

    // State: a tab with its units picked. Action: type a number whose conversion is long.
    // Expected: the other box holds it whole, its caret before the first character, and the
    // text fits the box from its first to its last character.
    void longResultShownWhole() {
        QFETCH(QString, caption);
        QFETCH(QStringList, units);
        QFETCH(QStringList, to);
        QFETCH(int, typedInto);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        WindowFixture f;
        const int tab = f.tabOf(caption);
        f.selectTab(tab);
        pickUnits(f, tab, units, 0);
        pickUnits(f, tab, to, 1);
        const auto boxes = f.boxes(tab);
        const auto source = static_cast<std::size_t>(typedInto);
        WindowFixture::retype(boxes[source], typed);
        TextBox* result = boxes[1 - source];
        QCOMPARE(result->text(), shown);
        QString why;
        QVERIFY2(showsWhole(result, &why), qPrintable(why));
        QCOMPARE(f.desktop.beeps, 0);
    }

    // Every value box holds the longest numbers the program can write, in either locale.
    void everyBoxWideEnough_data() {
        QTest::addColumn<QString>("text");
        for (const char* text :
             {"-1.79769313486231E+308", "-2.2250738585072E-308", "-4.94065645841247E-324",
              "-0.000123456789012345", "-8.88888888888888E+288"}) {
            QTest::newRow(text) << QString(text);
            QTest::newRow(qPrintable(QString(text).replace(u'.', u','))) << QString(text);
        }
    }

    void everyBoxWideEnough() {
        QFETCH(QString, text);
        WindowFixture f;
        for (int tab = 1; tab <= convert::categoryCount; ++tab) {
            f.selectTab(tab);
            for (TextBox* box : f.boxes(tab)) {
                box->setText(text);
                box->home(false);
                QString why;
                QVERIFY2(showsWhole(box, &why), qPrintable(QString::number(tab) + ": " + why));
            }
        }
    }

    // State: 7 kN*м in box 0 on Моменты, shown as 7000 N*м. Action: another tab, then back.
    // Expected: the pickers are back on their first rows, box 0 keeps 7 and box 1 says what
    // 7 N*м is in N*м; the next pick converts again.
    void momentsAfterTabSwitch() {
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(QStringLiteral("Моменты"));
        WindowFixture::pick(w.controls().Combo3[0], QStringLiteral("kN"));
        WindowFixture::retype(w.controls().Text5[0], QStringLiteral("7"));
        QCOMPARE(w.controls().Text5[1]->text(), QStringLiteral("7000"));
        for (const char* caption : {"Распределенные моменты", "Моменты"}) {
            f.selectTab(QString::fromUtf8(caption));
            QCOMPARE(w.controls().Combo3[0]->currentIndex(), 0);
            QCOMPARE(w.controls().Text5[0]->text(), QStringLiteral("7"));
            QCOMPARE(w.controls().Text5[1]->text(), QStringLiteral("7"));
            QCOMPARE(w.state().UpdateGuard, 1);
        }
        WindowFixture::pick(w.controls().Combo3[1], QStringLiteral("т"));  // т*м: 0.007 / 9.81
        QCOMPARE(w.controls().Text5[1]->text(), QStringLiteral("0.000713557594291539"));
        QCOMPARE(f.desktop.beeps, 0);

        // Without a number in box 0 there is nothing to work out, and box 1 must not keep a
        // number under units it was never worked out for: it is emptied, as a program write.
        for (const QString& held : {QStringLiteral("-"), QString()}) {
            WindowFixture::retype(w.controls().Text5[0], QStringLiteral("5"));
            WindowFixture::retype(w.controls().Text5[0], held);
            QVERIFY(!w.controls().Text5[1]->text().isEmpty());
            const bool moments = w.controls().TabStrip1->selectedIndex() == f.tabOf("Моменты");
            f.selectTab(QString::fromUtf8(moments ? "Распределенные моменты" : "Моменты"));
            QCOMPARE(w.controls().Text5[0]->text(), held);
            QCOMPARE(w.controls().Text5[1]->text(), QString());
            QCOMPARE(w.state().UpdateGuard, 1);
        }
        QCOMPARE(f.desktop.beeps, 0);
        QCOMPARE(f.desktop.messages, QStringList());
    }

    // State: a tab selected. Action: another one selected by each way there is. Expected: its
    // row is drawn next to the panel, the other rows in their order above it, no row losing or
    // gaining a tab; what a screen reader is told of each page tab's place follows.
    void selectedRowMeetsThePanel_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("selected");
        QTest::newRow("click, first row") << 13 << "click" << 2;
        QTest::newRow("click, last tab") << 1 << "click" << 13;
        QTest::newRow("Ctrl+Tab") << 3 << "Ctrl+Tab" << 4;
        QTest::newRow("Ctrl+Tab wraps") << 13 << "Ctrl+Tab" << 1;
        QTest::newRow("Ctrl+Shift+Tab wraps") << 1 << "Ctrl+Shift+Tab" << 13;
        QTest::newRow("Right on the strip") << 4 << "Right" << 5;
        QTest::newRow("Home on the strip") << 9 << "Home" << 1;
        QTest::newRow("press action") << 2 << "press" << 7;
    }
    void selectedRowMeetsThePanel() {
        QFETCH(int, start);
        QFETCH(QString, how);
        QFETCH(int, selected);
        WindowFixture f;
        QVERIFY(f.activate());
        TabStrip* strip = f.w().controls().TabStrip1;
        f.selectTab(start);
        QCOMPARE(strip->tabRect(start).bottom(), strip->tabAreaHeight() - 1);
        const QList<QList<int>> rows = shownTabRows(*strip);
        QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(strip);
        QVERIFY(tabs && tabs->childCount() == 13);
        const auto toldWhereDrawn = [strip, tabs] {
            for (int i = 1; i <= 13; ++i) {
                const QRect drawn = strip->tabRect(i);
                QCOMPARE(tabs->child(i - 1)->rect(),
                         QRect(strip->mapToGlobal(drawn.topLeft()), drawn.size()));
            }
        };
        toldWhereDrawn();
        if (how == u"click") {
            f.selectTab(selected);
        } else if (how == u"press") {
            tabs->child(selected - 1)
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        } else if (how.startsWith(u"Ctrl")) {
            f.w().controls().Text1[0]->setFocus();
            QTest::keyClick(QApplication::focusWidget(),
                            how.contains(u"Shift") ? Qt::Key_Backtab : Qt::Key_Tab,
                            how.contains(u"Shift") ? Qt::ControlModifier | Qt::ShiftModifier
                                                   : Qt::ControlModifier);
        } else {
            strip->setFocus();
            QTest::keyClick(strip, how == u"Right" ? Qt::Key_Right : Qt::Key_Home);
        }
        QCOMPARE(strip->selectedIndex(), selected);
        QCOMPARE(shownTabRows(*strip), withRowOfTabLast(rows, selected));
        // Next to the panel: the last row, right above the panels' top edge.
        QCOMPARE(strip->tabRect(selected).bottom(), strip->tabAreaHeight() - 1);
        QVERIFY(strip->mapTo(&f.w(), strip->tabRect(selected).bottomLeft()).y() <
                f.w().controls().Frame1->mapTo(&f.w(), QPoint()).y());
        toldWhereDrawn();
    }

    // With the real captions at the window's width: as few rows as the width allows, and the
    // tabs shared out so that the widest row is as narrow as any split into that many rows
    // makes it, found here by trying every split. A tab needs its caption and the style's
    // tab spacing.
    void tabRowsEvenedOut() {
        WindowFixture f;
        TabStrip* strip = f.w().controls().TabStrip1;
        const int pad =
            std::max(12, strip->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, strip));
        std::vector<int> natural;
        for (int i = 1; i <= strip->count(); ++i) {
            natural.push_back(strip->fontMetrics().horizontalAdvance(strip->caption(i)) + pad);
        }
        // The narrowest widest row over all splits into `rows` rows in caption order.
        const auto best = [&natural](int rows) {
            const auto n = static_cast<int>(natural.size());
            int narrowest = std::numeric_limits<int>::max();
            for (unsigned cuts = 0; cuts < (1u << (n - 1)); ++cuts) {
                if (std::popcount(cuts) != rows - 1) {
                    continue;
                }
                int widest = 0;
                int row = 0;
                for (int i = 0; i < n; ++i) {
                    row += natural[static_cast<std::size_t>(i)];
                    if (i == n - 1 || (cuts & (1u << i))) {
                        widest = std::max(widest, row);
                        row = 0;
                    }
                }
                narrowest = std::min(narrowest, widest);
            }
            return narrowest;
        };
        QList<QList<int>> rows = shownTabRows(*strip);
        std::sort(rows.begin(), rows.end());  // in caption order, as they are laid out
        QCOMPARE(rows.size(), strip->rowCount());
        QVERIFY2(best(strip->rowCount() - 1) > strip->width(), "one row fewer would fit");
        int widest = 0;
        QStringList counts;
        for (const QList<int>& row : rows) {
            int width = 0;
            for (int tab : row) {
                width += natural[static_cast<std::size_t>(tab - 1)];
            }
            widest = std::max(widest, width);
            counts << QString::number(row.size());
        }
        QVERIFY2(widest == best(strip->rowCount()),
                 qPrintable(QStringLiteral("rows of %1 tabs, the widest %2 px, %3 px possible")
                                .arg(counts.join(u'/'))
                                .arg(widest)
                                .arg(best(strip->rowCount()))));
    }

    // Every unit list shows whole rows only, as many as its designed height holds.
    void listsShowWholeRows() {
        WindowFixture f;
        constexpr int designed = 2010 / 15;
        for (int tab = 1; tab <= convert::categoryCount; ++tab) {
            const auto lists = f.pickers(tab)[0];
            if (!qobject_cast<QListWidget*>(lists[0])) {
                continue;
            }
            f.selectTab(tab);
            for (QWidget* picker : lists) {
                auto* list = static_cast<QListWidget*>(picker);
                const int row = list->visualItemRect(list->item(0)).height();
                const int shown = list->viewport()->height();
                const QString why =
                    QStringLiteral("tab %1: %2 px shown, rows of %3 px, %4 px in all")
                        .arg(tab)
                        .arg(shown)
                        .arg(row)
                        .arg(list->height());
                QVERIFY2(row > 0 && shown % row == 0 && shown >= row, qPrintable(why));
                QVERIFY2(list->height() <= designed && list->height() + row > designed,
                         qPrintable(why));
                // The row under the bottom edge is the first one out of sight.
                const int rows = shown / row;
                QVERIFY2(list->visualItemRect(list->item(rows - 1)).bottom() < shown &&
                             list->visualItemRect(list->item(rows)).top() >= shown,
                         qPrintable(why));
            }
        }
    }

    // In every category, every row of every picker on show fits the picker's text area.
    void everyPickerRowFits() {
        WindowFixture f;
        for (int tab = 1; tab <= convert::categoryCount; ++tab) {
            f.selectTab(tab);
            for (const auto& pair : f.pickers(tab)) {
                for (QWidget* picker : pair) {
                    auto* combo = qobject_cast<QComboBox*>(picker);
                    if (!combo || !combo->isVisible()) {
                        continue;
                    }
                    QStyleOptionComboBox option;
                    option.initFrom(combo);
                    option.frame = combo->hasFrame();
                    const QRect area = combo->style()->subControlRect(
                        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
                    for (int row = 0; row < combo->count(); ++row) {
                        const int text =
                            combo->fontMetrics().horizontalAdvance(combo->itemText(row));
                        QVERIFY2(
                            text <= area.width() - 2,
                            qPrintable(QStringLiteral("%1 on tab %2: %3 px of text, %4 px of room")
                                           .arg(combo->itemText(row))
                                           .arg(tab)
                                           .arg(text)
                                           .arg(area.width() - 2)));
                    }
                }
            }
        }
    }

    // Pastes and drops that the box would cut short are refused whole, with a beep; those that
    // fit go in and convert. A drop goes in at the cursor, beside any selection.
    void pasteOrDropMustFitWhole_data() {
        QTest::addColumn<QString>("how");  // "keys", "menu" or "drop"
        QTest::addColumn<int>("held");     // zeros already in box 0, selected or not
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("zeros");  // the pasted text: zeros, then "5"
        QTest::addColumn<bool>("fits");
        for (const char* how : {"keys", "menu", "drop"}) {
            const bool drop = QByteArray(how) == "drop";
            QTest::addRow("%s: 40001 into an empty box", how)
                << how << 0 << false << 40000 << false;
            QTest::addRow("%s: 32767 into an empty box", how) << how << 0 << false << 32766 << true;
            QTest::addRow("%s: one too many", how) << how << 1 << false << 32766 << false;
            QTest::addRow("%s: over a selection", how) << how << 20000 << true << 30000 << !drop;
            QTest::addRow("%s: beside 20000", how) << how << 20000 << false << 19999 << false;
        }
    }

    void pasteOrDropMustFitWhole() {
        QFETCH(QString, how);
        QFETCH(int, held);
        QFETCH(bool, selected);
        QFETCH(int, zeros);
        QFETCH(bool, fits);
        WindowFixture f;
        Ruriruz& w = f.w();
        TextBox* box = w.controls().Text1[0];
        WindowFixture::retype(box, QStringLiteral("3"));
        QCOMPARE(w.controls().Text1[1]->text(), QStringLiteral("3"));
        const QString before(held, u'0');
        box->setText(before);
        if (selected) {
            box->selectAll();
        }
        const QString pasted = QString(zeros, u'0') + u'5';
        if (how == u"drop") {
            QMimeData data;
            data.setText(pasted);
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box, &drop);
        } else {
            WindowFixture::setClipboard(pasted);
            if (how == u"keys") {
                QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            } else {
                QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, box->rect().center(),
                                            box->mapToGlobal(box->rect().center()));
                QApplication::sendEvent(box, &menuEvent);
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu);
                const QList<QAction*> actions = menu->actions();
                const auto paste = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
                    return a->text().startsWith(QStringLiteral("&Paste"));
                });
                QVERIFY(paste != actions.end());
                (*paste)->trigger();
                menu->close();
            }
        }
        if (fits) {
            QCOMPARE(box->text(), selected ? pasted : before + pasted);
            QCOMPARE(w.controls().Text1[1]->text(), QStringLiteral("5"));
            QCOMPARE(f.desktop.beeps, 0);
        } else {
            QCOMPARE(box->text(), before);
            QCOMPARE(w.controls().Text1[1]->text(), QStringLiteral("3"));
            QCOMPARE(f.desktop.beeps, 1);
        }
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
