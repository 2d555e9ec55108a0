#include "window/itemsaccessible.h"

#include <QWidget>

ItemListAccessible::ItemListAccessible(QWidget* widget, QAccessible::Role role,
                                       QAccessible::Role itemRole)
    : QAccessibleWidget(widget, role), itemRole_(itemRole) {}

ItemListAccessible::~ItemListAccessible() {
    for (QAccessible::Id id : std::as_const(ids_)) {
        if (id != 0) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

int ItemListAccessible::childCount() const {
    return itemCount();
}

QAccessibleInterface* ItemListAccessible::child(int index) const {
    if (index < 0 || index >= itemCount()) {
        return nullptr;
    }
    if (index >= ids_.size()) {
        ids_.resize(index + 1, 0);
    }
    if (ids_.at(index) == 0) {
        auto* self = const_cast<ItemListAccessible*>(this);
        ids_[index] = QAccessible::registerAccessibleInterface(new ItemAccessible(self, index));
    }
    return QAccessible::accessibleInterface(ids_.at(index));
}

int ItemListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* item = dynamic_cast<const ItemAccessible*>(child);
    return item && item->list() == this && item->item() < itemCount() ? item->item() : -1;
}

QAccessibleInterface* ItemListAccessible::childAt(int x, int y) const {
    for (int i = 0; i < itemCount(); ++i) {
        if (itemRect(i).contains(x, y)) {
            return child(i);
        }
    }
    return nullptr;
}

QAccessibleInterface* ItemListAccessible::focusChild() const {
    if (widget()->hasFocus()) {
        return child(currentItem());
    }
    return nullptr;
}

void ItemListAccessible::doAction(const QString& actionName) {
    // A focus request names the control the user wants to work with next: the window comes
    // forward with it, or the focus would wait there unseen.
    if (actionName == setFocusAction() && widget()->isEnabled()) {
        widget()->activateWindow();
    }
    QAccessibleWidget::doAction(actionName);
}

bool ItemAccessible::isValid() const {
    return list_->isValid() && item_ < list_->itemCount();
}

QString ItemAccessible::text(QAccessible::Text t) const {
    if (!isValid()) {
        return {};
    }
    switch (t) {
        case QAccessible::Name:
            return list_->itemText(item_);
        case QAccessible::Description:
            return list_->itemDescription(item_);
        default:
            return {};
    }
}

QRect ItemAccessible::rect() const {
    return isValid() ? list_->itemRect(item_) : QRect();
}

QAccessible::State ItemAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const QWidget* widget = list_->host();
    s.selectable = true;
    s.selected = list_->currentItem() == item_;
    s.focusable = true;
    s.focused = s.selected && widget->hasFocus();
    s.invisible = !widget->isVisible();
    s.offscreen = s.invisible || list_->itemRect(item_).isEmpty();
    s.disabled = !widget->isEnabled();
    return s;
}

void* ItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
}

QStringList ItemAccessible::actionNames() const {
    if (!isValid() || !list_->host()->isEnabled()) {
        return {};
    }
    return {pressAction(), setFocusAction()};
}

void ItemAccessible::doAction(const QString& actionName) {
    if (!isValid() || !list_->host()->isEnabled()) {
        return;
    }
    if (actionName == pressAction()) {
        list_->pickItem(item_);
    } else if (actionName == setFocusAction()) {
        // As with the keyboard: the focus comes into the widget, and moving it onto another
        // item picks that item.
        list_->doAction(setFocusAction());
        if (list_->currentItem() != item_) {
            list_->pickItem(item_);
        }
    }
}
