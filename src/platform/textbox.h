#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

class QKeyEvent;

// A line edit that behaves like a classic text box: every key that delivers a character is first
// offered to a key handler, which answers with the character to insert (the same one to let the
// key through, another one to insert that instead) or 0 to cancel the key. Keys that deliver no
// character (arrows, Home, End, Delete, Tab, F-keys, Shift+Insert) never reach the handler.
class TextBox : public QLineEdit {
    Q_OBJECT

public:
    using KeyHandler = std::function<char16_t(char16_t code)>;

    explicit TextBox(QWidget* parent = nullptr);

    void setKeyHandler(KeyHandler handler) { handler_ = std::move(handler); }

    // The character a key press delivers: printable text, 8 for Backspace, 13 for Enter, 27 for
    // Escape, 1..26 for Ctrl+letter (X11 delivers the control code, other platforms the letter
    // with the Ctrl modifier).
    static std::optional<char16_t> deliveredCharacter(const QKeyEvent& event);

Q_SIGNALS:
    // The user changed the text without a character key: Delete, cut, paste, drag and drop,
    // undo from the context menu. Emitted just before textChanged() for that change.
    void editedWithoutKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyHandler handler_;
    bool inCharacterKey_ = false;
};
