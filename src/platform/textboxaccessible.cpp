#include "platform/textboxaccessible.h"

#include "platform/textbox.h"

#include <QStyle>
#include <QStyleOptionFrame>

TextBoxAccessible::TextBoxAccessible(TextBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

TextBox* TextBoxAccessible::box() const {
    return static_cast<TextBox*>(widget());
}

int TextBoxAccessible::clamped(int offset) const {
    return qBound(0, offset, characterCount());
}

QString TextBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return box()->text();
    }
    return QAccessibleWidget::text(t);
}

void TextBoxAccessible::setText(QAccessible::Text t, const QString& text) {
    if (t == QAccessible::Value) {
        replaceText(0, characterCount(), text);
        return;
    }
    QAccessibleWidget::setText(t, text);
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !box()->isReadOnly();
    s.readOnly = box()->isReadOnly();
    s.selectableText = true;
    return s;
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void TextBoxAccessible::doAction(const QString& actionName) {
    // A focus request brings the window forward too, or the focus would wait there unseen.
    if (actionName == setFocusAction() && widget()->isEnabled()) {
        widget()->activateWindow();
    }
    QAccessibleWidget::doAction(actionName);
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->hasSelectedText()) {
        *startOffset = box()->selectionStart();
        *endOffset = box()->selectionEnd();
    }
}

int TextBoxAccessible::selectionCount() const {
    return box()->hasSelectedText() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        box()->deselect();
    }
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        const int start = clamped(startOffset);
        box()->setSelection(start, clamped(endOffset) - start);
    }
}

int TextBoxAccessible::cursorPosition() const {
    return box()->cursorPosition();
}

void TextBoxAccessible::setCursorPosition(int position) {
    box()->setCursorPosition(clamped(position));
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    const int start = clamped(startOffset);
    return box()->text().mid(start, clamped(endOffset) - start);
}

int TextBoxAccessible::characterCount() const {
    return static_cast<int>(box()->text().size());
}

QRect TextBoxAccessible::characterRect(int offset) const {
    const TextBox* b = box();
    if (offset < 0 || offset >= characterCount()) {
        return {};
    }
    QStyleOptionFrame option;
    option.initFrom(b);
    const QRect contents = b->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, b)
                               .marginsRemoved(b->textMargins());
    const QFontMetrics metrics = b->fontMetrics();
    const QString text = b->text();
    const int left = metrics.horizontalAdvance(text.left(offset));
    const int width = metrics.horizontalAdvance(text.at(offset));
    const int top = contents.top() + (contents.height() - metrics.height()) / 2;
    const QRect local(contents.left() + left, top, width, metrics.height());
    return QRect(b->mapToGlobal(local.topLeft()), local.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = box()->mapFromGlobal(point);
    return box()->rect().contains(local) ? box()->cursorPositionAt(local) : -1;
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    // The box scrolls to keep its cursor in view.
    box()->setCursorPosition(clamped(endIndex));
    box()->setCursorPosition(clamped(startIndex));
}

QString TextBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) {
    typeOver(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString& text) {
    typeOver(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    typeOver(startOffset, endOffset, text);
}

void TextBoxAccessible::typeOver(int startOffset, int endOffset, const QString& text) {
    TextBox* b = box();
    if (b->isReadOnly() || !b->isEnabled()) {
        return;
    }
    // One edit, as a paste is: typed key by key, every character would convert the whole text.
    b->replaceWhole(clamped(qMin(startOffset, endOffset)), clamped(qMax(startOffset, endOffset)),
                    text);
}
