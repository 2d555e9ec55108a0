#include "window/menukeys.h"

#include "platform/physicalkeys.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>
#include <QTimer>

namespace {

// Qt's own Alt navigation of the menu bar, which only some styles switch on. The item the keys
// are on is drawn as if pressed: some styles draw it like all the others, and the user would
// not see where the focus went.
class AltNavigationStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuBarItem && widget && widget->hasFocus() &&
            option->state.testFlag(State_Selected)) {
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem pressed(*item);
                pressed.state |= State_Sunken;
                QProxyStyle::drawControl(element, &pressed, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One style for every menu bar, kept by the application: a widget does not own its style, and
// the menu bar must not outlive it.
QStyle* altNavigationStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new AltNavigationStyle;
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

MenuKeys::MenuKeys(QMainWindow& window) : QObject(&window), window_(window) {
    window.menuBar()->setStyle(altNavigationStyle());
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    connect(f10, &QShortcut::activated, this, [this] {
        const QList<QAction*> menus = window_.menuBar()->actions();
        if (!menus.isEmpty()) {
            openMenu(menus.first());
        }
    });
    qApp->installEventFilter(this);
}

QAction* MenuKeys::accessKeyAction(const QKeyEvent& event, const QList<QAction*>& actions) const {
    for (QAction* action : actions) {
        if (action->isVisible() && action->isEnabled() &&
            physicalkeys::isAccessKey(event, action->text())) {
            return action;
        }
    }
    return nullptr;
}

// As its access letter opens it: the menu drops down with its first item chosen, so Enter runs
// that item at once.
void MenuKeys::openMenu(QAction* menu) {
    window_.menuBar()->setActiveAction(menu);
    if (QMenu* items = menu->menu(); items && items->isVisible()) {
        for (QAction* item : items->actions()) {
            if (!item->isSeparator() && item->isVisible() && item->isEnabled()) {
                items->setActiveAction(item);
                break;
            }
        }
    }
}

// A menu opened from the one beside it (Right or Left on an open menu) starts on its first item
// without telling a screen reader, which goes on reading the window below. Once the menu is up,
// the reader hears where the keys are.
void MenuKeys::announceActiveItem(QMenu* menu) {
    QTimer::singleShot(0, menu, [menu] {
        const qsizetype item = menu->actions().indexOf(menu->activeAction());
        if (QAccessible::isActive() && menu->isVisible() && item >= 0) {
            QAccessibleEvent focus(menu, QAccessible::Focus);
            focus.setChild(int(item));
            QAccessible::updateAccessibility(&focus);
        }
    });
}

bool MenuKeys::isOwnMenu(const QObject* object) const {
    const auto* menu = qobject_cast<const QMenu*>(object);
    return menu && window_.menuBar()->actions().contains(menu->menuAction());
}

// Under the Russian layout Qt finds the access letters by itself; under a Latin one the key
// arrives with its Latin letter, matches nothing, and is taken here by the key it came from.
bool MenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && isOwnMenu(watched)) {
        announceActiveItem(static_cast<QMenu*>(watched));
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (key.key() <= Qt::Key_Space || key.key() > Qt::Key_AsciiTilde) {
        return false;  // a Cyrillic letter, which Qt matches itself, or no character key at all
    }
    if (key.modifiers() == Qt::AltModifier) {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget && widget->window() == &window_) {
            if (QAction* menu = accessKeyAction(key, window_.menuBar()->actions())) {
                openMenu(menu);
                return true;
            }
        }
    } else if ((key.modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier && isOwnMenu(watched)) {
        auto* menu = static_cast<QMenu*>(watched);
        if (QAction* item = accessKeyAction(key, menu->actions())) {
            // As if the item were chosen with the arrows and Enter, so the menus close the same.
            menu->setActiveAction(item);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(menu, &enter);
            return true;
        }
    }
    return false;
}
