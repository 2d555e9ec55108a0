#include "platform/textbox.h"

#include <QKeyEvent>
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
