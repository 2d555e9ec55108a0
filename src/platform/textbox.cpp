#include "platform/textbox.h"

#include "platform/physicalkeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <algorithm>

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
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    switch (event.key()) {
        case Qt::Key_Backspace:
            return ctrl && !alt ? char16_t{127} : u'\b';  // Ctrl+Backspace gives DEL
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
    // Ctrl+Alt is AltGr on some platforms, and AltGr types characters.
    if (ctrl && !alt) {
        // The control character belongs to the key, whichever layout names it.
        const std::optional<char16_t> latin = physicalkeys::latinCharacter(event);
        return latin ? physicalkeys::controlCharacter(*latin) : std::nullopt;
    }
    if (alt && !ctrl) {
        return std::nullopt;  // Alt+key is for the menu, never for the box
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text.at(0).unicode();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const std::optional<char16_t> code = deliveredCharacter(*event);
    if (!code && handler_ && std::any_of(event->text().cbegin(), event->text().cend(), [](QChar c) {
            return c.isPrint();
        })) {
        // Alt+letter and the like: the editor would type the letter past the handler. The key
        // goes on to the window, where the menu may want it.
        event->ignore();
        return;
    }
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
    if (answer == u'\b' && event->key() != Qt::Key_Backspace) {
        backspace();  // Ctrl+H: the editor knows only the Backspace key itself
    } else if (answer == *code) {
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
