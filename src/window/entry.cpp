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

}  // namespace

void Ruriruz::keyPress(const Pair<TextBox>& box, qint16 Index, char16_t& KeyAscii) {
    UpdateGuard = guardTyping;  // every key, accepted or not, opens the boxes to conversion
    const TextBox* text = box[static_cast<std::size_t>(Index)];
    const auto L = static_cast<qint16>(text->text().size());

    if (isDecimalSeparator(KeyAscii)) {
        // One separator per number, wherever it stands and whatever is selected.
        if (text->text().contains(u'.') || text->text().contains(u',')) {
            KeyAscii = 0;
            desktop_.beep();
            return;
        }
        // Whichever separator was typed, the locale's own goes in.
        if (KeyAscii == u'.' && DecimalMode == decimalComma) {
            KeyAscii = u',';
        }
        if (KeyAscii == u',' && DecimalMode == decimalPoint) {
            KeyAscii = u'.';
        }
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

    // A sign only starts a number: into an empty box or over the whole text.
    const auto S = static_cast<qint16>(text->selectionLength());
    KeyAscii = ValiText(KeyAscii, S == L || L == 0 ? signedDigits : digits);
}

char16_t Ruriruz::ValiText(char16_t KeyIn, const QString& ValidateString) {
    const QString allowed = ValidateString.toUpper() + QChar(backspace);
    if (allowed.contains(QChar(KeyIn).toUpper(), Qt::CaseInsensitive)) {
        return KeyIn;
    }
    desktop_.beep();
    return 0;
}

void Ruriruz::change(const Pair<TextBox>& box, qint16 Index, Recompute recompute) {
    if (UpdateGuard != guardTyping) {
        return;  // the program's own write, or a separator just typed
    }
    if (!numbers_.isNumber(box[static_cast<std::size_t>(Index)]->text())) {
        return;  // "", "-", "," and the like: the other box keeps its value
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
