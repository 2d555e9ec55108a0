#pragma once

#include <QAccessibleWidget>
#include <QList>

// A widget whose items (tabs, unit rows) a screen reader sees as children of their own: each is
// named by its text, reports whether it is selected, and is picked through its "press" action
// the way a click picks it. While the widget has the keyboard, the focus rests on its current
// item. Subclasses say where the items come from.
class ItemListAccessible : public QAccessibleWidget {
public:
    ItemListAccessible(QWidget* widget, QAccessible::Role role, QAccessible::Role itemRole);
    ~ItemListAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void doAction(const QString& actionName) override;

    QWidget* host() const { return widget(); }
    QAccessible::Role itemRole() const { return itemRole_; }
    virtual int itemCount() const = 0;
    virtual QString itemText(int item) const = 0;
    // What a tooltip on the item tells.
    virtual QString itemDescription(int) const { return {}; }
    // -1 when no item is selected.
    virtual int currentItem() const = 0;
    virtual void pickItem(int item) = 0;
    // In screen coordinates; empty while the item is not on screen.
    virtual QRect itemRect(int item) const = 0;

private:
    QAccessible::Role itemRole_;
    // One interface per item position, made when first asked for and kept until the widget
    // goes, so a screen reader sees the same object each time.
    mutable QList<QAccessible::Id> ids_;
};

// One item of an ItemListAccessible.
class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAccessible(ItemListAccessible* list, int item) : list_(list), item_(item) {}

    int item() const { return item_; }
    const ItemListAccessible* list() const { return list_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_->window(); }
    QAccessibleInterface* parent() const override { return list_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return list_->itemRole(); }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ItemListAccessible* list_;  // owns this item and deletes it first
    int item_;
};
