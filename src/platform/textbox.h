#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

class QContextMenuEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMenu;

// A line edit that behaves like a classic text box: every key that delivers a character is first
// offered to a key handler, which answers with the character to insert (the same one to let the
// key through, another one to insert that instead) or 0 to cancel the key. Keys that deliver no
// character (arrows, Home, End, Delete, Tab, F-keys, Shift+Insert) never reach the handler.
// Text an input method commits reaches it too, one character at a time. Text put in at once
// (a paste, the middle click, a drop, a screen reader's edit) is offered whole to an insert
// handler, which answers with the text to put in or refuses it.
class TextBox : public QLineEdit {
    Q_OBJECT

public:
    using KeyHandler = std::function<char16_t(char16_t code)>;
    using InsertHandler =
        std::function<std::optional<QString>(const QString& kept, const QString& incoming)>;

    explicit TextBox(QWidget* parent = nullptr);

    void setKeyHandler(KeyHandler handler) { handler_ = std::move(handler); }
    void setInsertHandler(InsertHandler handler) { insertHandler_ = std::move(handler); }

    // The character a key press delivers: printable text, 8 for Backspace, 13 for Enter, 27 for
    // Escape, 1..26 for Ctrl+letter and the other control characters of Ctrl+key, found from
    // the key itself so that every layout gives the same (X11 delivers the control code only
    // under a Latin layout, other platforms the letter with the Ctrl modifier). Alt+key
    // delivers nothing: it belongs to the menu.
    static std::optional<char16_t> deliveredCharacter(const QKeyEvent& event);

    // Puts text in place of the characters from..to as one edit, or refuses it whole (see
    // insertRefused()).
    void replaceWhole(qsizetype from, qsizetype to, const QString& incoming);
    // The editor's context menu, its items labelled with the keys that work in the box: the
    // Ctrl+letter keys are refused here, so Qt's own labels would promise keys that beep.
    QMenu* createContextMenu();

Q_SIGNALS:
    // The user changed the text without a character key: Delete, cut, paste, drag and drop,
    // undo from the context menu. Emitted just before textChanged() for that change.
    void editedWithoutKey();
    // A paste, drop or screen reader's edit was refused: it would not fit whole, or the
    // insert handler refused it. Nothing was inserted.
    void insertRefused();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Pastes the clipboard over the selection, or refuses it whole.
    void pasteWhole();
    // What goes in for text put in beside `kept`, the part of the box it leaves: the text as
    // the insert handler admits it, or nothing when it is refused (the box cuts anything past
    // maxLength() silently, so such a text is refused too).
    std::optional<QString> admitted(const QString& kept, const QString& incoming);

    // Selects the whole text that Tab entered, if that is still to do.
    void selectEnteredText();

    KeyHandler handler_;
    InsertHandler insertHandler_;
    bool inCharacterKey_ = false;
    bool enteredByTab_ = false;  // the whole text is to be selected, after the focus is told
};
