#include "platform/textbox.h"

#include "platform/physicalkeys.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
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

// Tab into the box selects its whole text, as in every text box. QLineEdit selects inside its
// focus-in event, and Qt tells screen readers of the focus only after that: Orca then hears the
// selection of a box it has not yet been told of, and says "0 selected" before the box's name.
// Here the selection comes right after the focus, and before anything the user does in the box.
void TextBox::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::TabFocusReason && event->reason() != Qt::BacktabFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
    enteredByTab_ = true;
    QMetaObject::invokeMethod(this, &TextBox::selectEnteredText, Qt::QueuedConnection);
}

void TextBox::selectEnteredText() {
    if (!enteredByTab_)
        return;
    enteredByTab_ = false;
    if (hasFocus() && !text().isEmpty())
        selectAll();  // an empty text has nothing to select, and nothing to tell of it
}

bool TextBox::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
            selectEnteredText();  // what the user does acts on the text as Tab left it
            break;
        default:
            break;
    }
    return QLineEdit::event(event);
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

std::optional<QString> TextBox::admitted(const QString& kept, const QString& incoming) {
    std::optional<QString> admitted = incoming;
    if (kept.size() + incoming.size() > maxLength()) {
        admitted.reset();
    } else if (insertHandler_) {
        admitted = insertHandler_(kept, incoming);
    }
    if (!admitted) {
        Q_EMIT insertRefused();
    }
    return admitted;
}

void TextBox::replaceWhole(qsizetype from, qsizetype to, const QString& incoming) {
    const std::optional<QString> text =
        admitted(QString(this->text()).remove(from, to - from), incoming);
    if (!text) {
        return;
    }
    if (to > from) {
        setSelection(static_cast<int>(from), static_cast<int>(to - from));
    } else {
        setCursorPosition(static_cast<int>(from));
    }
    insert(*text);
}

void TextBox::pasteWhole() {
    const qsizetype from = hasSelectedText() ? selectionStart() : cursorPosition();
    replaceWhole(from, from + selectionLength(), QGuiApplication::clipboard()->text());
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click drops the selection, then pastes the X selection at the cursor.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        event->accept();
        deselect();
        replaceWhole(cursorPosition(), cursorPosition(), clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TextBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText() || isReadOnly()) {
        QLineEdit::dropEvent(event);
        return;
    }
    // The boxes start no drags (a line edit leaves dragging off), so a drop always brings text
    // from elsewhere: it goes in beside the whole text, whose selection stays.
    const std::optional<QString> dropped = admitted(text(), event->mimeData()->text());
    if (!dropped) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        QDragLeaveEvent leave;
        QLineEdit::dragLeaveEvent(&leave);  // takes away the drop caret
        return;
    }
    // The editor drops what the event carries: the same drop, carrying the admitted text.
    QMimeData data;
    data.setText(*dropped);
    QDropEvent drop(event->position(), event->possibleActions(), &data, event->buttons(),
                    event->modifiers());
    drop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    // Dead keys, Compose and other input methods commit text although the box asks for none.
    // Each character goes through the key handler as a typed one does; a composition still
    // under way is not shown, since only what is committed can be judged.
    event->accept();
    if (!handler_ || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const QString commit = event->commitString();
    for (qsizetype i = 0; i < commit.size(); ++i) {
        // A character beyond the 16-bit range is one character, offered by its first half.
        const qsizetype units = commit.at(i).isHighSurrogate() && i + 1 < commit.size() &&
                                        commit.at(i + 1).isLowSurrogate()
                                    ? 2
                                    : 1;
        const QString typed = commit.mid(i, units);
        i += units - 1;
        const char16_t code = typed.at(0).unicode();
        const char16_t answer = handler_(code);
        if (answer == 0) {
            continue;
        }
        const QScopedValueRollback inKey(inCharacterKey_, true);
        if (answer == u'\b') {
            backspace();
        } else {
            insert(answer == code ? typed : QString(QChar(answer)));
        }
    }
}
