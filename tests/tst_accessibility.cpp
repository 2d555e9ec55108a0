// What a screen reader finds in the window and what it can do there: the tab strip as page tabs,
// the pickers named with their unit, focus requests, edits made through the bus.
#include "help/helpwindow.h"
#include "shell/frmabout.h"
#include "testkit.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

struct Recorded {
    QAccessible::Event type;
    QObject* object;
    int child;
    bool selectedChanged;
};
QList<Recorded> recorded;

void record(QAccessibleEvent* event) {
    bool selectedChanged = false;
    if (event->type() == QAccessible::StateChanged) {
        selectedChanged =
            static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().selected;
    }
    recorded.append({event->type(), event->object(), event->child(), selectedChanged});
}

QAccessibleInterface* of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

void press(QAccessibleInterface* item) {
    QVERIFY(item);
    QVERIFY(item->actionInterface());
    QVERIFY(
        item->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// Everything a category set-up decides, to compare a press through the bus with a click.
QStringList snapshot(Ruriruz& w) {
    QStringList s{QString::number(w.controls().TabStrip1->selectedIndex()),
                  QString::number(w.state().UpdateGuard)};
    for (QGroupBox* frame : w.controls().frames()) {
        s << QString::number(frame->isVisible());
    }
    for (const auto* pair : {&w.controls().Text1, &w.controls().Text2, &w.controls().Text3,
                             &w.controls().Text4, &w.controls().Text5}) {
        s << (*pair)[0]->text() << (*pair)[1]->text();
    }
    for (const auto* pair : {&w.controls().List1, &w.controls().List2, &w.controls().List3}) {
        s << QString::number((*pair)[0]->currentRow()) << QString::number((*pair)[1]->currentRow());
    }
    for (const auto* pair : {&w.controls().Combo1, &w.controls().Combo2, &w.controls().Combo3,
                             &w.controls().Combo4, &w.controls().Combo5}) {
        for (QComboBox* combo : *pair) {
            s << QString::number(combo->count()) << combo->currentText()
              << QString::number(combo->isVisible());
        }
    }
    return s;
}

QWidget* control(Ruriruz& w, const QString& name) {
    const std::map<QString, QWidget*> controls{
        {"TabStrip1", w.controls().TabStrip1}, {"Text1[1]", w.controls().Text1[1]},
        {"List1[0]", w.controls().List1[0]},   {"List1[1]", w.controls().List1[1]},
        {"Combo1[0]", w.controls().Combo1[0]}, {"Combo2[1]", w.controls().Combo2[1]},
        {"Combo3[0]", w.controls().Combo3[0]}, {"Combo4[0]", w.controls().Combo4[0]},
        {"List2[1]", w.controls().List2[1]},   {"Text1[0]", w.controls().Text1[0]},
        {"Text4[0]", w.controls().Text4[0]},   {"Text5[0]", w.controls().Text5[0]},
        {"Combo1[1]", w.controls().Combo1[1]}, {"Combo2[0]", w.controls().Combo2[0]},
        {"Combo4[1]", w.controls().Combo4[1]}, {"Combo5[1]", w.controls().Combo5[1]}};
    return controls.at(name);
}

// What a screen reader says of the picker besides its name starts with the unit, and cannot be
// taken for a part of the name.
bool describes(QAccessibleInterface* picker, const QString& unit) {
    const QString description = picker->text(QAccessible::Description);
    return description.startsWith(unit) &&
           !picker->text(QAccessible::Name).contains(description, Qt::CaseInsensitive);
}

int eventsFrom(QObject* object, QAccessible::Event type) {
    return int(std::count_if(recorded.cbegin(), recorded.cend(), [object, type](const Recorded& r) {
        return r.type == type && r.object == object;
    }));
}

int focusEventsFrom(QObject* object) {
    return eventsFrom(object, QAccessible::Focus);
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // Qt sends its notices only while some assistive technology listens; this one records.
        QAccessible::installUpdateHandler(record);
        QTRY_VERIFY2(QAccessible::isActive(), "Qt never joined the accessibility bus");
    }
    void init() { recorded.clear(); }

    void tabStripIsAPageTabList() {
        WindowFixture f;
        QVERIFY(f.activate());
        QAccessibleInterface* strip = of(f.w().controls().TabStrip1);
        QCOMPARE(strip->role(), QAccessible::PageTabList);
        QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("Категория величины"));
        QCOMPARE(strip->childCount(), 13);
        QVERIFY(!strip->child(13));
        for (int i = 0; i < 13; ++i) {
            QAccessibleInterface* tab = strip->child(i);
            QVERIFY(tab && tab->isValid());
            QCOMPARE(tab->role(), QAccessible::PageTab);
            QCOMPARE(tab->text(QAccessible::Name), testkit::tabCaptions.at(i));
            QCOMPARE(tab->state().selected, i == 0);
            QVERIFY(tab->state().selectable);
            QCOMPARE(tab->parent(), strip);
            QCOMPARE(strip->indexOfChild(tab), i);
            QCOMPARE(strip->child(i), tab);  // the same object each time it is asked for
            QVERIFY(tab->rect().isValid());
            QCOMPARE(strip->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);
        }
        // With the keyboard in the strip, the focus rests on the selected tab alone.
        f.w().controls().TabStrip1->setFocus();
        f.selectTab(5);
        for (int i = 0; i < 13; ++i) {
            QCOMPARE(strip->child(i)->state().focused, i == 4);
        }
        QCOMPARE(strip->focusChild(), strip->child(4));
    }

    void pressingATabIsAClick_data() {
        QTest::addColumn<int>("tab");
        for (int n = 2; n <= 13; ++n) {
            QTest::newRow(qPrintable(testkit::tabCaptions.at(n - 1))) << n;
        }
        QTest::newRow("Линейные размеры, back from Силы") << 1;
    }
    // State: two windows on the same category, a number typed into each. Action: press the tab
    // through its accessible action in one, click it in the other. Expected: the same set-up.
    void pressingATabIsAClick() {
        QFETCH(int, tab);
        WindowFixture pressed, clicked;
        for (WindowFixture* f : {&pressed, &clicked}) {
            QVERIFY(f->activate());
            if (tab == 1) {
                f->selectTab(10);
                WindowFixture::type(f->w().controls().Text4[0], QStringLiteral("7"));
            } else {
                WindowFixture::type(f->w().controls().Text1[0], QStringLiteral("7"));
            }
        }
        QSignalSpy spy(pressed.w().controls().TabStrip1, &TabStrip::clicked);
        press(of(pressed.w().controls().TabStrip1)->child(tab - 1));
        QCOMPARE(spy.count(), 1);
        clicked.selectTab(tab);
        QCOMPARE(pressed.w().controls().TabStrip1->selectedIndex(), tab);
        QCOMPARE(snapshot(pressed.w()), snapshot(clicked.w()));
        QVERIFY(of(pressed.w().controls().TabStrip1)->child(tab - 1)->state().selected);
    }

    void selectionMovesAreAnnounced_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("focused");
        QTest::newRow("pressed through the bus") << "press" << 1 << 12 << false;
        QTest::newRow("clicked") << "click" << 3 << 5 << true;
        QTest::newRow("arrow key on the strip") << "Right" << 4 << 5 << true;
        QTest::newRow("Ctrl+Tab from a box") << "ctrl+Tab" << 13 << 1 << true;
    }
    // Expected: the tab that lost and the tab that gained the selection each report a change of
    // their selected state; the new tab takes the focus when the strip has it.
    void selectionMovesAreAnnounced() {
        QFETCH(QString, how);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, focused);
        WindowFixture f;
        QVERIFY(f.activate());
        TabStrip* strip = f.w().controls().TabStrip1;
        f.selectTab(from);
        f.w().controls().Text4[0]->setFocus();
        QList<QRect> drawn;
        for (int i = 1; i <= 13; ++i) {
            drawn << strip->tabRect(i);
        }
        recorded.clear();
        if (how == QLatin1String("press")) {
            press(of(strip)->child(to - 1));
        } else if (how == QLatin1String("click")) {
            f.selectTab(to);
        } else if (how == QLatin1String("Right")) {
            strip->setFocus();
            recorded.clear();
            QTest::keyClick(strip, Qt::Key_Right);
        } else {
            QTest::keyClick(f.w().controls().Text4[0], Qt::Key_Tab, Qt::ControlModifier);
        }
        QCOMPARE(strip->selectedIndex(), to);
        QList<int> changed;
        for (const Recorded& r : std::as_const(recorded)) {
            if (r.object == strip && r.selectedChanged) {
                changed << r.child;
            }
        }
        QCOMPARE(changed, (QList<int>{from - 1, to - 1}));
        // The tabs whose row changed place, and only they, tell that they moved (none when the
        // new tab shares the old one's row).
        QList<int> moved, told;
        for (int i = 1; i <= 13; ++i) {
            if (strip->tabRect(i) != drawn.at(i - 1)) {
                moved << i - 1;
            }
        }
        for (const Recorded& r : std::as_const(recorded)) {
            if (r.object == strip && r.type == QAccessible::LocationChanged) {
                told << r.child;
            }
        }
        QCOMPARE(told, moved);
        // The last word on the focus goes to the new tab (a click focuses the strip first).
        const auto focus = std::find_if(recorded.crbegin(), recorded.crend(), [strip](auto& r) {
            return r.type == QAccessible::Focus && r.object == strip && r.child >= 0;
        });
        QCOMPARE(focus != recorded.crend(), focused);
        if (focused) {
            QCOMPARE(focus->child, to - 1);
            QCOMPARE(of(strip)->focusChild(), of(strip)->child(to - 1));
        }

        recorded.clear();
        press(of(strip)->child(to - 1));  // the tab already selected: nothing moves
        QCOMPARE(recorded.size(), 0);
    }

    void pickersKeepTheirNames_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("first");  // the unit shown after the set-up
        QTest::addColumn<QString>("picked");
        // clang-format off
        QTest::newRow("lengths, right list")
            << 1 << "List1[1]" << "Единица второго значения" << "Километр" << "Верста";
        QTest::newRow("pressures, numerator")
            << 12 << "Combo1[0]" << "Единица первого значения" << "N" << "кПа";
        QTest::newRow("accelerations, lower denominator")
            << 5 << "Combo2[1]" << "Знаменатель единицы второго значения" << "час^2" << "мин^2";
        QTest::newRow("distributed moments, lower length")
            << 7 << "Combo5[1]" << "Знаменатель единицы второго значения" << "м" << "дюйм";
        QTest::newRow("moments, force")
            << 6 << "Combo3[0]" << "Сила в единице первого значения" << "N" << "т";
        QTest::newRow("distributed forces, upper denominator")
            << 11 << "Combo2[0]" << "Знаменатель единицы первого значения" << "м" << "см";
        QTest::newRow("forces, lower numerator")
            << 10 << "Combo1[1]" << "Единица второго значения" << "N" << "т";
        // clang-format on
    }
    // Expected: the name says which picker it is, whatever row it shows; the unit is its value
    // and begins its description, which never reads as part of the name (a screen reader drops
    // it then: "м" is a letter of "Знаменатель", "т" of "второго"); a row pressed through the
    // bus is picked as a click picks it.
    void pickersKeepTheirNames() {
        QFETCH(int, tab);
        QFETCH(QString, picker);
        QFETCH(QString, name);
        QFETCH(QString, first);
        QFETCH(QString, picked);
        WindowFixture f;
        QVERIFY(f.activate());
        f.selectTab(tab);
        QWidget* widget = control(f.w(), picker);
        QAccessibleInterface* iface = of(widget);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Value), first);
        QVERIFY2(describes(iface, first), qPrintable(iface->text(QAccessible::Description)));

        // Typed first, so that the pick converts: box 1 must follow it.
        const auto boxes = f.boxes(tab);
        WindowFixture::retype(boxes[0], QStringLiteral("1"));
        QAccessibleInterface* row = nullptr;
        for (int i = 0; i < iface->childCount() && !row; ++i) {
            row = iface->child(i)->text(QAccessible::Name) == picked ? iface->child(i) : nullptr;
        }
        QVERIFY(row);
        QCOMPARE(row->role(), QAccessible::ListItem);
        // A row's tooltip, where it has one, is what the row tells besides its name.
        auto* combo = qobject_cast<QComboBox*>(widget);
        QAbstractItemModel* model =
            combo ? combo->model() : static_cast<QListWidget*>(widget)->model();
        model->setData(model->index(iface->indexOfChild(row), 0), QStringLiteral("подсказка"),
                       Qt::ToolTipRole);
        QCOMPARE(row->text(QAccessible::Description), QStringLiteral("подсказка"));
        QVERIFY(!row->state().selected);
        const QString before = boxes[1]->text();
        recorded.clear();
        press(row);
        QVERIFY(std::any_of(recorded.cbegin(), recorded.cend(), [widget](const Recorded& r) {
            return r.type == QAccessible::DescriptionChanged && r.object == widget;
        }));
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Value), picked);
        QVERIFY2(describes(iface, picked), qPrintable(iface->text(QAccessible::Description)));
        QVERIFY(row->state().selected);
        QVERIFY2(boxes[1]->text() != before, "the pick converted nothing");
    }

    void focusRequestsReachEveryControl_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("name");
        QTest::newRow("tab strip") << 2 << "TabStrip1";
        QTest::newRow("value box") << 1 << "Text1[1]";
        QTest::newRow("list") << 1 << "List1[0]";
        QTest::newRow("drop-down list") << 12 << "Combo2[1]";
        QTest::newRow("moment drop-down list") << 6 << "Combo4[0]";
    }
    void focusRequestsReachEveryControl() {
        QFETCH(int, tab);
        QFETCH(QString, name);
        WindowFixture f;
        QVERIFY(f.activate());
        f.selectTab(tab);
        QWidget* widget = control(f.w(), name);
        f.boxes(tab)[0]->setFocus();
        QVERIFY(!widget->hasFocus());
        QAccessibleActionInterface* actions = of(widget)->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
        actions->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(widget->hasFocus());
        QVERIFY(of(widget)->state().focused);
    }

    // A focus request for a tab or a list row brings the focus there as the arrow keys would:
    // into the widget, onto that item, which is then the picked one.
    void focusRequestsForItems() {
        WindowFixture f;
        QVERIFY(f.activate());
        f.w().controls().Text1[0]->setFocus();
        QAccessibleInterface* row = of(f.w().controls().List1[1])->child(3);
        row->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(f.w().controls().List1[1]->hasFocus());
        QCOMPARE(f.w().controls().List1[1]->currentRow(), 3);
        QVERIFY(row->state().focused);

        QAccessibleInterface* tab = of(f.w().controls().TabStrip1)->child(8);
        tab->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(f.w().controls().TabStrip1->hasFocus());
        QCOMPARE(f.w().controls().TabStrip1->selectedIndex(), 9);
        QVERIFY(f.w().controls().Frame4->isVisible());  // the set-up ran
        QVERIFY(tab->state().focused);
    }

    void setUpLeavesTheFocusAlone_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("picker");
        QTest::newRow("list") << 2 << "List2[1]";
        QTest::newRow("drop-down list") << 4 << "Combo2[1]";
        QTest::newRow("moment drop-down list") << 6 << "Combo4[0]";
    }
    // State: the strip has the focus. Action: open the category. Expected: the pickers' first
    // rows are selected without any focus notice from them. Moving in a focused picker, a
    // closed drop-down too, moves the focus onto the row picked, as a list does.
    void setUpLeavesTheFocusAlone() {
        QFETCH(int, tab);
        QFETCH(QString, picker);
        WindowFixture f;
        QVERIFY(f.activate());
        f.selectTab(tab == 2 ? 4 : 2);
        f.w().controls().TabStrip1->setFocus();
        recorded.clear();
        f.selectTab(tab);
        QWidget* widget = control(f.w(), picker);
        QCOMPARE(f.w().controls().TabStrip1->selectedIndex(), tab);
        QVERIFY(f.w().controls().TabStrip1->hasFocus());
        QCOMPARE(focusEventsFrom(widget), 0);
        QVERIFY(!of(widget)->focusChild());

        widget->setFocus();
        recorded.clear();
        QTest::keyClick(widget, Qt::Key_Down);
        QCOMPARE(of(widget)->child(1)->state().selected, true);
        const auto focus = std::find_if(recorded.crbegin(), recorded.crend(), [widget](auto& r) {
            return r.type == QAccessible::Focus && r.object == widget;
        });
        QVERIFY(focus != recorded.crend());
        QCOMPARE(focus->child, 1);
        QCOMPARE(of(widget)->focusChild(), of(widget)->child(1));
        for (int row = 0; row < of(widget)->childCount(); ++row) {
            QCOMPARE(of(widget)->child(row)->state().focused, row == 1);
        }
    }

    void tabIntoAValueBox_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("back");
        // clang-format off
        QTest::newRow("Tab from the strip") << "TabStrip1" << "Text1[0]" << false;
        QTest::newRow("Shift+Tab from a list") << "List1[1]" << "Text1[1]" << true;
        // clang-format on
    }
    // State: a value box holding a number. Action: Tab or Shift+Tab into it. Expected: screen
    // readers are told of the focus before the whole text is selected (else Orca says "50
    // selected" before the box's name), and a key typed at once still replaces the whole text.
    void tabIntoAValueBox() {
        QFETCH(QString, from);
        QFETCH(QString, box);
        QFETCH(bool, back);
        WindowFixture f;
        QVERIFY(f.activate());
        auto* edit = static_cast<QLineEdit*>(control(f.w(), box));
        edit->setFocus();
        edit->selectAll();
        for (const QChar c : QStringLiteral("50"))
            WindowFixture::key(edit, c);
        QCOMPARE(edit->text(), QStringLiteral("50"));
        for (const bool typeAtOnce : {false, true}) {
            control(f.w(), from)->setFocus();
            recorded.clear();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                            back ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY(edit->hasFocus());
            if (typeAtOnce) {
                WindowFixture::key(edit, u'7');
                QCOMPARE(edit->text(), QStringLiteral("7"));
                edit->setText(QStringLiteral("50"));
                continue;
            }
            QTRY_COMPARE(edit->selectedText(), QStringLiteral("50"));
            const auto first = std::find_if(recorded.cbegin(), recorded.cend(),
                                            [edit](auto& r) { return r.object == edit; });
            QVERIFY(first != recorded.cend());
            QCOMPARE(first->type, QAccessible::Focus);
            QCOMPARE(eventsFrom(edit, QAccessible::TextSelectionChanged), 1);
        }
    }

    void valueBoxesDescribeTheResult_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("typed");   // into box 0
        QTest::addColumn<QString>("picker");  // of the lower (right) box; none: box 0 emptied
        QTest::addColumn<QString>("unit");    // then picked there
        QTest::addColumn<QString>("upper");   // the descriptions of box 0 and box 1
        QTest::addColumn<QString>("lower");
        // clang-format off
        QTest::newRow("lengths") << "Линейные размеры" << "50" << "List1[1]" << "Метр"
            << "Километр. Результат: 50000 Метр" << "Метр. Результат: 50 Километр";
        QTest::newRow("speeds") << "Скорости" << "36" << "Combo1[1]" << "м"
            << "км/час. Результат: 36000 м/час" << "м/час. Результат: 36 км/час";
        QTest::newRow("pressure without a denominator") << "Давления" << "1" << "Combo1[1]" << "кПа"
            << "N/м^2. Результат: 0.001 кПа" << "кПа. Результат: 1 N/м^2";
        QTest::newRow("distributed moments") << "Распределенные моменты" << "2" << "Combo4[1]"
            << "см" << "N*м/м. Результат: 200 N*см/м" << "N*см/м. Результат: 2 N*м/м";
        QTest::newRow("emptied box") << "Площади" << "5" << "" << ""
            << "Квадратный километр. Результат: 5 Квадратный километр" << "Квадратный километр";
        // clang-format on
    }
    // State: a category just opened. Action: a number typed into box 0, then another unit
    // picked for box 1. Expected: each box's description names its own units and the other
    // box's number in the other units, so the result is heard from either box.
    void valueBoxesDescribeTheResult() {
        QFETCH(QString, caption);
        QFETCH(QString, typed);
        QFETCH(QString, picker);
        QFETCH(QString, unit);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        WindowFixture f;
        QVERIFY(f.activate());
        const int tab = f.tabOf(caption);
        f.selectTab(tab == 1 ? 2 : 1);
        f.selectTab(tab);
        const auto [source, target] = f.boxes(tab);
        QVERIFY(
            of(source)->text(QAccessible::Description).contains(QStringLiteral("Результат: 0 ")));
        WindowFixture::retype(source, typed);
        recorded.clear();
        if (picker.isEmpty()) {
            WindowFixture::clear(source);  // the other box keeps the last result
        } else {
            WindowFixture::pick(control(f.w(), picker), unit);
        }
        QCOMPARE(of(source)->text(QAccessible::Description), upper);
        QCOMPARE(of(target)->text(QAccessible::Description), lower);
        // The box whose description changed tells of it.
        TextBox* told = picker.isEmpty() ? target : source;
        QVERIFY(std::any_of(recorded.cbegin(), recorded.cend(), [told](const Recorded& r) {
            return r.type == QAccessible::DescriptionChanged && r.object == told;
        }));
    }

    // The help window is a frame; its page a read-only text read with the caret, named after
    // the page, whose links are told as Tab selects them; the search tells its outcome as a
    // notification, and no control that lacks the keyboard claims it.
    void helpWindowTellsScreenReaders() {
        std::unique_ptr<HelpWindow> help = HelpWindow::open(QStringLiteral(CHM_FILE));
        QVERIFY(help);
        help->showTopic(QStringLiteral("Работа с программой"));
        help->show();
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help.get()));
        const HelpWindowControls& c = help->controls();
        QCOMPARE(of(help.get())->role(), QAccessible::Window);

        HelpBrowser* browser = c.browser;
        QAccessibleInterface* page = of(browser);
        QCOMPARE(page->role(), QAccessible::EditableText);
        QVERIFY(page->state().readOnly);
        QCOMPARE(page->text(QAccessible::Name),
                 QStringLiteral("Страница справки: ") + browser->documentTitle());
        QAccessibleTextInterface* text = page->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), browser->toPlainText());
        QVERIFY(browser->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        browser->setFocus();
        recorded.clear();
        QTest::keyClick(browser, Qt::Key_Tab);
        QVERIFY(browser->hasFocus());
        QVERIFY(browser->textCursor().charFormat().isAnchor());
        QCOMPARE(eventsFrom(browser, QAccessible::TextSelectionChanged), 1);
        int start = 0, end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), browser->textCursor().selectedText());

        c.tabWidget->setCurrentIndex(2);
        c.searchText->setFocus();
        recorded.clear();
        for (const QString& words : {QStringLiteral("аршин"), QStringLiteral("штангенциркуль")}) {
            c.searchText->setText(words);
            QTest::keyClick(c.searchText, Qt::Key_Return);
            QCOMPARE(of(c.searchState)->role(), QAccessible::Notification);
            QCOMPARE(of(c.searchState)->text(QAccessible::Name), c.searchState->text());
        }
        QCOMPARE(eventsFrom(c.searchState, QAccessible::ObjectShow), 2);
        QCOMPARE(focusEventsFrom(c.contentsTree), 0);
        QCOMPARE(focusEventsFrom(c.foundList), 0);
        QVERIFY(c.searchText->hasFocus());

        // Tab into an empty word box: nothing reaches a screen reader before the focus.
        c.tabWidget->setCurrentIndex(1);
        c.homeButton->setFocus();
        recorded.clear();
        c.indexText->setFocus(Qt::TabFocusReason);
        QVERIFY(c.indexText->hasFocus());
        const auto first = std::find_if(recorded.cbegin(), recorded.cend(),
                                        [&c](auto& r) { return r.object == c.indexText; });
        QVERIFY(first != recorded.cend());
        QCOMPARE(first->type, QAccessible::Focus);
    }

    // The About box says its title and version in its description, its icon has a name, and
    // the contacts are read line by line with the caret.
    void aboutBoxTellsScreenReaders() {
        frmAbout about;
        about.Form_Load();
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(of(&about)->text(QAccessible::Description),
                 QStringLiteral("Mervel, версия 1.0.0"));
        QVERIFY(!of(about.controls().picIcon)->text(QAccessible::Name).isEmpty());
        QVERIFY(
            about.controls().Text1->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        about.controls().Text1->setFocus();
        const int before = about.controls().Text1->textCursor().blockNumber();
        QTest::keyClick(about.controls().Text1, Qt::Key_Down);
        QCOMPARE(about.controls().Text1->textCursor().blockNumber(), before + 1);
    }

    // Each panel is named after the category it shows.
    void panelsAreNamed() {
        WindowFixture f;
        QVERIFY(f.activate());
        for (const int tab : {1, 7, 12}) {
            f.selectTab(tab);
            const std::array<QGroupBox*, 5> frames = f.w().controls().frames();
            const auto visible = std::find_if(frames.cbegin(), frames.cend(),
                                              [](QGroupBox* frame) { return frame->isVisible(); });
            QCOMPARE(of(*visible)->text(QAccessible::Name), testkit::tabCaptions.at(tab - 1));
        }
    }

    void textWrittenThroughTheBusIsOneEdit_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("metres");
        QTest::addColumn<int>("beeps");
        QTest::newRow("digits") << QLocale::c() << "12"
                                << "12"
                                << "12000" << 0;
        QTest::newRow("letters refused whole") << QLocale::c() << "1x2"
                                               << "0"
                                               << "0" << 1;
        QTest::newRow("comma becomes point") << QLocale::c() << "2,5"
                                             << "2.5"
                                             << "2500" << 0;
        QTest::newRow("point becomes comma") << QLocale(QLocale::Russian) << "-0.5"
                                             << "-0,5"
                                             << "-500" << 0;
        QTest::newRow("second sign refused whole") << QLocale::c() << "-3-"
                                                   << "0"
                                                   << "0" << 1;
        // One edit, converted once: typed key by key, each digit would convert them all again.
        QTest::newRow("32767 digits") << QLocale::c() << QString(32766, u'0') + u'5'
                                      << QString(32766, u'0') + u'5' << "5000" << 0;
    }
    // State: lengths, kilometres to metres, nothing typed yet. Action: the bus replaces the
    // whole text of box 0. Expected: the key rule applies to it whole, as to a paste, and box 1
    // converts at once.
    void textWrittenThroughTheBusIsOneEdit() {
        QFETCH(QLocale, locale);
        QFETCH(QString, written);
        QFETCH(QString, shown);
        QFETCH(QString, metres);
        QFETCH(int, beeps);
        WindowFixture f(locale);
        QVERIFY(f.activate());
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Метр"));
        QAccessibleInterface* box = of(f.w().controls().Text1[0]);
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Первое значение"));
        QVERIFY(box->state().editable);
        QAccessibleEditableTextInterface* editable = box->editableTextInterface();
        QVERIFY(editable);
        QElapsedTimer clock;
        clock.start();
        editable->replaceText(0, box->textInterface()->characterCount(), written);
        const qint64 took = clock.elapsed();
        qInfo("%lld characters in %lld ms", qint64(written.size()), took);
        QVERIFY(took < 500);
        QCOMPARE(f.w().controls().Text1[0]->text(), shown);
        QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), shown);
        QCOMPARE(f.w().controls().Text1[1]->text(), metres);
        QCOMPARE(f.desktop.beeps, beeps);

        // Deleting the last character is an edit too: the other box follows.
        const int end = box->textInterface()->characterCount();
        editable->deleteText(end - 1, end);
        QCOMPARE(f.w().controls().Text1[0]->text(), shown.chopped(1));
        if (shown.chopped(1) == QLatin1String("1")) {
            QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("1000"));
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
