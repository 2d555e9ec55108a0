#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class QKeyEvent;

// Which key on the keyboard a key press came from, whatever layout is active. Shortcuts and
// control characters belong to the key, not to the letter the active layout puts on it: Ctrl+V
// and Ctrl+М are one key press, so are Alt+A and Alt+Ф.
namespace physicalkeys {

// The Latin character the key carries on a Latin (QWERTY) keyboard, upper case for letters,
// from the native scan code of an X11 or Wayland key press; nothing for keys outside the letter
// block and on platforms that report no such code.
std::optional<char16_t> latinOf(quint32 nativeScanCode);

// The upper-case letter the key carries in the Russian layout (Ф for the key of A).
std::optional<char16_t> russianOf(quint32 nativeScanCode);

// Whether the key is the one that carries, in the Russian layout, the access letter that '&'
// marks in the text: Alt+A is the access key of "&Файл" under any layout.
bool isAccessKey(const QKeyEvent& event, const QString& text);

// The Latin character of the key pressed: the event's own key while a Latin layout puts a letter
// on it, else the character of the physical key, else the event's key when it is ASCII.
std::optional<char16_t> latinCharacter(const QKeyEvent& event);

// The control character Ctrl gives together with a Latin character, as X11 computes it: 1..26
// for letters, 27..31 for [ \ ] ^ _ and for the digits 3 to 7, 127 for 8. Nothing for keys that
// give none, and for those that give NUL (Ctrl+Space, Ctrl+2, Ctrl+@), since a code of 0 is no
// character at all.
std::optional<char16_t> controlCharacter(char16_t latin);

}  // namespace physicalkeys
