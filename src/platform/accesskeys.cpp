#include "platform/accesskeys.h"

#include "platform/physicalkeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>

AccessKeys::AccessKeys(QWidget& window) : QObject(&window), window_(window) {
    qApp->installEventFilter(this);
}

// A Cyrillic letter Qt matches itself; a Latin one arrives here unmatched, from whichever
// control of the window has the focus.
bool AccessKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (key.modifiers() != Qt::AltModifier || key.key() <= Qt::Key_Space ||
        key.key() > Qt::Key_AsciiTilde || !widget || widget->window() != &window_) {
        return false;
    }
    return pressAccessLetter(key);
}

// What Qt does for an access letter: a tab is brought forward, a button takes the focus and
// is pressed. Only what the user can see and use answers.
bool AccessKeys::pressAccessLetter(const QKeyEvent& key) {
    for (QTabBar* tabs : window_.findChildren<QTabBar*>()) {
        for (int i = 0; tabs->isVisible() && i < tabs->count(); ++i) {
            if (tabs->isTabEnabled(i) && tabs->isTabVisible(i) &&
                physicalkeys::isAccessKey(key, tabs->tabText(i))) {
                tabs->setCurrentIndex(i);
                return true;
            }
        }
    }
    for (QAbstractButton* button : window_.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->isEnabled() &&
            physicalkeys::isAccessKey(key, button->text())) {
            button->setFocus(Qt::ShortcutFocusReason);
            button->animateClick();
            return true;
        }
    }
    return false;
}
