#include "platform/textbox.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    // Characters must arrive as key presses, where the key handler sees them; an input method
    // would commit text past it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // QLineEdit reports a user's edit (textEdited) before the change itself (textChanged).
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!inCharacterKey_) {
            Q_EMIT editedWithoutKey();
        }
    });
}

std::optional<char16_t> TextBox::deliveredCharacter(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return u'\b';
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return u'\r';
        case Qt::Key_Escape:
            return char16_t{27};
        case Qt::Key_Delete:  // X11 gives it the text DEL, yet it is an editing key
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
            return static_cast<char16_t>(event.key() - Qt::Key_A + 1);
        }
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text.at(0).unicode();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const std::optional<char16_t> code = deliveredCharacter(*event);
    if (!code || !handler_) {
        if (event->matches(QKeySequence::Paste)) {
            event->accept();
            pasteWhole();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t answer = handler_(*code);
    if (answer == 0) {
        event->accept();
        return;
    }
    const QScopedValueRollback inKey(inCharacterKey_, true);
    if (answer == *code) {
        QLineEdit::keyPressEvent(event);
    } else {
        insert(QString(QChar(answer)));
    }
}

bool TextBox::fitsWhole(const QString& incoming, bool replacesSelection) const {
    const qsizetype kept = text().size() - (replacesSelection ? selectedText().size() : 0);
    return kept + incoming.size() <= maxLength();
}

void TextBox::pasteWhole() {
    if (!fitsWhole(QGuiApplication::clipboard()->text())) {
        Q_EMIT insertRefused();
        return;
    }
    paste();
}

void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste goes through the same check as the paste keys. The action has no name
    // of its own; its text is the line edit's translated "&Paste", then maybe a tab and keys.
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) == pasteText) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, &TextBox::pasteWhole);
        }
    }
    menu->popup(event->globalPos());
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click drops the selection, then pastes the X selection at the cursor.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly() &&
        !fitsWhole(clipboard->text(QClipboard::Selection), false)) {
        event->accept();
        Q_EMIT insertRefused();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TextBox::dropEvent(QDropEvent* event) {
    // Text dragged within the box leaves its old place; any other drop keeps the selection.
    const bool moved = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (event->mimeData()->hasText() && !fitsWhole(event->mimeData()->text(), moved)) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        QDragLeaveEvent leave;
        QLineEdit::dragLeaveEvent(&leave);  // takes away the drop caret
        Q_EMIT insertRefused();
        return;
    }
    QLineEdit::dropEvent(event);
}
