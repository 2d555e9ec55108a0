#pragma once

#include "fakedesktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <memory>

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
