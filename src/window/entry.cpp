// How typing reaches the value boxes, and when an edit or a unit pick starts a conversion.
#include "platform/desktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"

namespace {

const QString signedDigits = QStringLiteral("0123456789-+");
const QString digits = QStringLiteral("0123456789");
constexpr char16_t backspace = 8;

bool isDecimalSeparator(char16_t c) {
    return c == u'.' || c == u',';
}

bool holdsSeparator(const QString& text) {
    return text.contains(u'.') || text.contains(u',');
}

// Whichever separator was typed, the locale's own goes in.
char16_t localSeparator(char16_t c, qint16 DecimalMode) {
    if (c == u'.' && DecimalMode == RuriruzState::decimalComma) {
        c = u',';
    }
    if (c == u',' && DecimalMode == RuriruzState::decimalPoint) {
        c = u'.';
    }
    return c;
}

// A sign only starts a number: into an empty box or over the whole text.
const QString& allowedSet(qsizetype L, qsizetype S) {
    return S == L || L == 0 ? signedDigits : digits;
}

bool allowedIn(char16_t c, const QString& ValidateString) {
    const QString allowed = ValidateString.toUpper() + QChar(backspace);
    return allowed.contains(QChar(c).toUpper(), Qt::CaseInsensitive);
}

}  // namespace

void Ruriruz::keyPress(const Pair<TextBox>& box, qint16 Index, char16_t& KeyAscii) {
    UpdateGuard = guardTyping;  // every key, accepted or not, opens the boxes to conversion
    const TextBox* text = box[static_cast<std::size_t>(Index)];
    const auto L = static_cast<qint16>(text->text().size());

    if (isDecimalSeparator(KeyAscii)) {
        // One separator per number, wherever it stands and whatever is selected.
        if (holdsSeparator(text->text())) {
            KeyAscii = 0;
            desktop_.beep();
            return;
        }
        KeyAscii = localSeparator(KeyAscii, DecimalMode);
        // "3." is the same number as "3": the other box waits for the next digit. A separator
        // inside the number or over a selection makes another number ("17.8" from "178"), and
        // that one is converted.
        QString after = text->text();
        const bool selected = text->hasSelectedText();
        after.replace(selected ? text->selectionStart() : text->cursorPosition(),
                      selected ? text->selectionLength() : 0, QChar(KeyAscii));
        if (numbers_.parse(after) == numbers_.parse(text->text())) {
            UpdateGuard = guardWritten;
        }
        return;
    }

    const auto S = static_cast<qint16>(text->selectionLength());
    KeyAscii = ValiText(KeyAscii, allowedSet(L, S));
}

char16_t Ruriruz::ValiText(char16_t KeyIn, const QString& ValidateString) {
    if (allowedIn(KeyIn, ValidateString)) {
        return KeyIn;
    }
    desktop_.beep();
    return 0;
}

std::optional<QString> Ruriruz::admitInsertion(const QString& kept, const QString& incoming) const {
    // As if typed one key at a time at the cursor, into what the insertion leaves of the box.
    // Only the length and whether a separator stands there matter, so they are kept as they
    // grow: a paste of 32,767 digits is checked in one pass.
    qsizetype length = kept.size();
    bool separator = holdsSeparator(kept);
    QString admitted;
    admitted.reserve(incoming.size());
    for (const QChar c : incoming) {
        char16_t code = c.unicode();
        if (isDecimalSeparator(code)) {
            if (separator) {
                return std::nullopt;
            }
            code = localSeparator(code, DecimalMode);
            separator = true;
        } else if (code == backspace || !allowedIn(code, allowedSet(length, 0))) {
            // Within a text a backspace deletes nothing: it would stand in the box.
            return std::nullopt;
        }
        admitted += QChar(code);
        ++length;
    }
    return admitted;
}

void Ruriruz::change(const Pair<TextBox>& box, qint16 Index, Recompute recompute) {
    if (UpdateGuard != guardTyping) {
        return;  // the program's own write, or a separator just typed
    }
    // "", "-", "," and the like: the other box keeps its value. A number too large for a
    // double goes on: its conversion cannot finish, and the other box is emptied.
    if (!numbers_.looksLikeNumber(box[static_cast<std::size_t>(Index)]->text())) {
        return;
    }
    qint16 source = Index;
    (this->*recompute)(source);
}

void Ruriruz::click(Recompute recompute) {
    if (UpdateGuard == guardSetUp) {
        return;  // nothing typed since the category was set up
    }
    qint16 source = 0;  // a unit pick always converts box 0 into box 1
    (this->*recompute)(source);
}
