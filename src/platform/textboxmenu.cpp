// The value box's context menu.
#include "platform/textbox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>

namespace {

// Qt names its editing actions; these are the ones a key that reaches the editor untouched can
// also do. The others (undo, redo, select all) have only Ctrl+letter keys, which the box refuses.
QKeySequence workingKey(const QString& actionName) {
    if (actionName == u"edit-cut") {
        return QKeySequence(Qt::SHIFT | Qt::Key_Delete);
    }
    if (actionName == u"edit-copy") {
        return QKeySequence(Qt::CTRL | Qt::Key_Insert);
    }
    if (actionName == u"edit-paste") {
        return QKeySequence(Qt::SHIFT | Qt::Key_Insert);
    }
    if (actionName == u"edit-delete") {
        return QKeySequence(Qt::Key_Delete);
    }
    return {};
}

}  // namespace

QMenu* TextBox::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        // A menu item shows its key after a tab.
        QString text = action->text().section(u'\t', 0, 0);
        const QKeySequence key = workingKey(action->objectName());
        if (!key.isEmpty()) {
            text += u'\t' + key.toString(QKeySequence::NativeText);
        }
        action->setText(text);
    }
    return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
