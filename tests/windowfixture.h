#pragma once

#include "fakedesktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
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

    void selectTab(int n) {
        QTest::mouseClick(window->controls().TabStrip1, Qt::LeftButton, {},
                          window->controls().TabStrip1->tabRect(n).center());
    }

    static void pickRow(QListWidget* list, int row) {
        QListWidgetItem* item = list->item(row);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
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
