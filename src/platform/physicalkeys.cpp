#include "platform/physicalkeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <array>

namespace physicalkeys {

namespace {

struct Key {
    quint32 scanCode;  // the XKB keycode: the evdev code plus 8, the same on X11 and Wayland
    char16_t latin;
    char16_t russian;
};

// The letter block of a PC keyboard, row by row.
// clang-format off
constexpr std::array<Key, 35> keys{{
    {24, u'Q', u'Й'}, {25, u'W', u'Ц'}, {26, u'E', u'У'}, {27, u'R', u'К'}, {28, u'T', u'Е'},
    {29, u'Y', u'Н'}, {30, u'U', u'Г'}, {31, u'I', u'Ш'}, {32, u'O', u'Щ'}, {33, u'P', u'З'},
    {34, u'[', u'Х'}, {35, u']', u'Ъ'},
    {38, u'A', u'Ф'}, {39, u'S', u'Ы'}, {40, u'D', u'В'}, {41, u'F', u'А'}, {42, u'G', u'П'},
    {43, u'H', u'Р'}, {44, u'J', u'О'}, {45, u'K', u'Л'}, {46, u'L', u'Д'}, {47, u';', u'Ж'},
    {48, u'\'', u'Э'}, {49, u'`', u'Ё'},
    {51, u'\\', 0},
    {52, u'Z', u'Я'}, {53, u'X', u'Ч'}, {54, u'C', u'С'}, {55, u'V', u'М'}, {56, u'B', u'И'},
    {57, u'N', u'Т'}, {58, u'M', u'Ь'}, {59, u',', u'Б'}, {60, u'.', u'Ю'}, {61, u'/', 0},
}};
// clang-format on

const Key* find(quint32 scanCode) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    for (const Key& key : keys) {
        if (key.scanCode == scanCode) {
            return &key;
        }
    }
#else
    Q_UNUSED(scanCode)  // other platforms number their keys differently
#endif
    return nullptr;
}

}  // namespace

std::optional<char16_t> latinOf(quint32 nativeScanCode) {
    const Key* key = find(nativeScanCode);
    return key ? std::optional(key->latin) : std::nullopt;
}

std::optional<char16_t> russianOf(quint32 nativeScanCode) {
    const Key* key = find(nativeScanCode);
    return key && key->russian != 0 ? std::optional(key->russian) : std::nullopt;
}

bool isAccessKey(const QKeyEvent& event, const QString& text) {
    const std::optional<char16_t> letter = russianOf(event.nativeScanCode());
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    return letter && !mnemonic.isEmpty() && mnemonic[0].key() == static_cast<Qt::Key>(*letter);
}

std::optional<char16_t> latinCharacter(const QKeyEvent& event) {
    const int key = event.key();
    // A Latin layout other than QWERTY still names its own letters.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<char16_t>(key);
    }
    if (const std::optional<char16_t> latin = latinOf(event.nativeScanCode())) {
        return latin;
    }
    if (key > 0 && key < 0x7f) {
        return static_cast<char16_t>(key);
    }
    return std::nullopt;
}

std::optional<char16_t> controlCharacter(char16_t latin) {
    char16_t code = 0;
    if (latin >= u'@' && latin <= u'~') {
        code = latin & 0x1f;
    } else if (latin >= u'3' && latin <= u'7') {
        code = static_cast<char16_t>(latin - u'3' + 27);
    } else if (latin == u'8') {
        code = 127;
    } else if (latin == u'/') {
        code = 31;
    }
    return code != 0 ? std::optional(code) : std::nullopt;
}

}  // namespace physicalkeys
