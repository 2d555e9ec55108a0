#include "help/helpaccessible.h"

#include "help/helpwindow.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

class NotificationAccessible : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
};

// The page as a read-only text with a caret: Qt gives a text browser a label's role, where a
// screen reader neither moves through the lines nor hears the links that Tab selects.
class BrowserAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit BrowserAccessible(HelpBrowser* browser)
        : QAccessibleWidget(browser, QAccessible::EditableText) {
        // A new page renames the page: a screen reader says the name of what it reads from.
        QObject::connect(browser, &QTextBrowser::sourceChanged, browser, [browser] {
            if (QAccessible::isActive()) {
                QAccessibleEvent renamed(browser, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&renamed);
            }
        });
    }

    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        const QString title = browser()->documentTitle();
        return t == QAccessible::Name && !title.isEmpty() ? text + QStringLiteral(": ") + title
                                                          : text;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const QTextCursor cursor = browser()->textCursor();
        const bool any = selectionIndex == 0 && cursor.hasSelection();
        *startOffset = any ? cursor.selectionStart() : 0;
        *endOffset = any ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override {
        QTextCursor cursor = browser()->textCursor();
        cursor.clearSelection();
        browser()->setTextCursor(cursor);
    }
    void setSelection(int, int startOffset, int endOffset) override {
        QTextCursor cursor = cursorAt(startOffset);
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        browser()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override { browser()->setTextCursor(cursorAt(position)); }
    QString text(int startOffset, int endOffset) const override {
        const int start = clamped(startOffset);
        return plainText().mid(start, clamped(endOffset) - start);
    }
    int characterCount() const override { return browser()->document()->characterCount() - 1; }
    QRect characterRect(int offset) const override {
        const QRect caret = browser()->cursorRect(cursorAt(offset));
        const int width = browser()->fontMetrics().horizontalAdvance(text(offset, offset + 1));
        return {browser()->viewport()->mapToGlobal(caret.topLeft()),
                QSize(std::max(width, 1), caret.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int startIndex, int) override {
        const QTextCursor keep = browser()->textCursor();
        browser()->setTextCursor(cursorAt(startIndex));
        browser()->ensureCursorVisible();
        browser()->setTextCursor(keep);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = std::max(characterCount(), offset);
        return {};
    }

private:
    HelpBrowser* browser() const { return static_cast<HelpBrowser*>(widget()); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    QTextCursor cursorAt(int offset) const {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(clamped(offset));
        return cursor;
    }
    // One character per position of the document, paragraph ends as line breaks.
    QString plainText() const { return browser()->document()->toPlainText(); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("HelpBrowser")) {
        return new BrowserAccessible(static_cast<HelpBrowser*>(object));
    }
    if (className == QLatin1String("HelpWindow")) {
        return new QAccessibleWidget(static_cast<HelpWindow*>(object), QAccessible::Window);
    }
    if (className == QLatin1String("QLabel") &&
        object->objectName() == QLatin1String(notificationName)) {
        return new NotificationAccessible(static_cast<QLabel*>(object));
    }
    return nullptr;
}

}  // namespace

void installHelpAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}
