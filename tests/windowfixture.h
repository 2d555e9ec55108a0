#pragma once

#include "fakedesktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMap>
#include <QTest>
#include <algorithm>
#include <memory>

// The tabs as drawn, row by row from the top, each row from the left.
inline QList<QList<int>> shownTabRows(const TabStrip& strip) {
    QMap<int, QMap<int, int>> rows;  // top edge, then left edge, to the tab's number
    for (int i = 1; i <= strip.count(); ++i) {
        rows[strip.tabRect(i).top()][strip.tabRect(i).left()] = i;
    }
    QList<QList<int>> shown;
    for (const QMap<int, int>& row : rows) {
        shown << row.values();
    }
    return shown;
}

// The rows as they must be drawn once the tab is selected: its row moved next to the panel,
// the others above it in their own order (that of their tabs), every row with its own tabs.
inline QList<QList<int>> withRowOfTabLast(QList<QList<int>> rows, int tab) {
    std::sort(rows.begin(), rows.end());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (rows.at(r).contains(tab)) {
            rows.append(rows.takeAt(r));
            break;
        }
    }
    return rows;
}

// The real converter window on a fake desktop, loaded and shown, driven by real input events.
struct WindowFixture {
    explicit WindowFixture(const QLocale& locale = QLocale::c()) : desktop(locale) {
        window = std::make_unique<Ruriruz>(desktop);
        loaded = window->Form_Load();
        window->show();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    Ruriruz& w() { return *window; }

    // Brings the window to the front with the keyboard, as a user works in it.
    bool activate() {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    void selectTab(int n) {
        QTest::mouseClick(window->controls().TabStrip1, Qt::LeftButton, {},
                          window->controls().TabStrip1->tabRect(n).center());
    }

    // The tab whose caption this is; 0 when no tab has it.
    static int tabOf(const QString& caption) {
        for (int n = 1; n <= convert::categoryCount; ++n) {
            if (QString::fromUtf8(convert::categoryAt(n)->caption) == caption) {
                return n;
            }
        }
        return 0;
    }
    void selectTab(const QString& caption) {
        QVERIFY2(tabOf(caption) > 0, qPrintable(QStringLiteral("no tab ") + caption));
        selectTab(tabOf(caption));
    }

    // What a tab shows, found through the category it stands for: its panel's value boxes, and
    // its pickers from left to right, each as the pair of box 0 and box 1 (hidden ones too).
    Ruriruz::Pair<TextBox> boxes(int tab) {
        const auto& c = window->controls();
        const auto panel = static_cast<std::size_t>(convert::categoryAt(tab)->panel) - 1;
        return std::array{c.Text1, c.Text2, c.Text3, c.Text4, c.Text5}.at(panel);
    }
    std::vector<std::array<QWidget*, 2>> pickers(int tab) {
        const auto& c = window->controls();
        const auto both = [](const auto& pair) {
            return std::array<QWidget*, 2>{pair[0], pair[1]};
        };
        switch (convert::categoryAt(tab)->panel) {
            case convert::Panel::Lengths:
                return {both(c.List1)};
            case convert::Panel::Areas:
                return {both(c.List2)};
            case convert::Panel::Volumes:
                return {both(c.List3)};
            case convert::Panel::Quotient:
                return {both(c.Combo1), both(c.Combo2)};
            case convert::Panel::Moment:
                return {both(c.Combo3), both(c.Combo4), both(c.Combo5)};
        }
        return {};
    }

    // Picks a unit by its name as a user does: a click on its row in a list, the arrow keys
    // from the top in a closed drop-down list. Fails unless the picker then shows the unit.
    static void pick(QWidget* picker, const QString& unit) {
        if (auto* list = qobject_cast<QListWidget*>(picker)) {
            const QList<QListWidgetItem*> found = list->findItems(unit, Qt::MatchExactly);
            QVERIFY2(!found.isEmpty(), qPrintable(QStringLiteral("no row ") + unit));
            list->scrollToItem(found.first());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(found.first()).center());
            QCOMPARE(list->currentItem(), found.first());
            return;
        }
        auto* combo = qobject_cast<QComboBox*>(picker);
        const int row = combo->findText(unit);
        QVERIFY2(row >= 0, qPrintable(QStringLiteral("no row ") + unit));
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < row; ++i) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
        QCOMPARE(combo->currentText(), unit);
    }

    // Puts text on the clipboard or the X selection, and reads it back before the test acts.
    static void setClipboard(const QString& text, QClipboard::Mode mode = QClipboard::Clipboard) {
        QGuiApplication::clipboard()->setText(text, mode);
        QCOMPARE(QGuiApplication::clipboard()->text(mode), text);
    }

    // Keys as a user types them, each one a real key press into the box.
    static void type(TextBox* box, const QString& keys) {
        box->setFocus();
        for (QChar c : keys) {
            key(box, c);
        }
    }

    static void key(QWidget* widget, QChar c, Qt::KeyboardModifiers modifiers = {}) {
        const int code = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(code), QString(c),
                            modifiers);
    }

    // Empties the box with backspaces, then types the keys.
    static void retype(TextBox* box, const QString& keys) {
        clear(box);
        type(box, keys);
    }

    // One backspace per character from the end; a box that is not empty after them fails.
    static void clear(TextBox* box) {
        box->setFocus();
        box->end(false);
        const QString before = box->text();
        for (qsizetype n = before.size(); n > 0; --n) {
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        QVERIFY2(box->text().isEmpty(),
                 qPrintable(QStringLiteral("%1 backspaces left \"%2\" of \"%3\"")
                                .arg(before.size())
                                .arg(box->text(), before)));
    }

    FakeDesktop desktop;
    std::unique_ptr<Ruriruz> window;
    bool loaded = false;
    bool exposed = false;
};
