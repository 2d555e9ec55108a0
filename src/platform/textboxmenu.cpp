// The value box's context menu.
#include "platform/textbox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QStyleHints>

namespace {

// The keys that do an editing action of the menu and reach the editor untouched, by the
// action's text. Undo, redo and select all have only Ctrl+letter keys, which the box refuses.
QKeySequence workingKey(const QString& text) {
    if (text == QLineEdit::tr("Cu&t")) {
        return QKeySequence(Qt::SHIFT | Qt::Key_Delete);
    }
    if (text == QLineEdit::tr("&Copy")) {
        return QKeySequence(Qt::CTRL | Qt::Key_Insert);
    }
    if (text == QLineEdit::tr("&Paste")) {
        return QKeySequence(Qt::SHIFT | Qt::Key_Insert);
    }
    if (text == QLineEdit::tr("Delete")) {
        return QKeySequence(Qt::Key_Delete);
    }
    return {};
}

}  // namespace

QMenu* TextBox::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    const bool showKeys = QGuiApplication::styleHints()->showShortcutsInContextMenus();
    for (QAction* action : menu->actions()) {
        // A menu item shows its key after a tab.
        QString text = action->text().section(u'\t', 0, 0);
        if (text == QLineEdit::tr("&Paste")) {
            // The menu's Paste goes through the same check as the paste keys.
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, &TextBox::pasteWhole);
        }
        const QKeySequence key = workingKey(text);
        if (showKeys && !key.isEmpty()) {
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
