#include "window/accessibility.h"

#include "platform/textbox.h"
#include "platform/textboxaccessible.h"
#include "platform/unitlist.h"
#include "window/itemsaccessible.h"
#include "window/tabstrip.h"

#include <QComboBox>

namespace {

QRect onScreen(const QWidget* widget, const QRect& local) {
    return local.isEmpty() ? QRect() : QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

// The strip is a page tab list: one page tab per category, picked as a click picks it.
class TabStripAccessible : public ItemListAccessible {
public:
    explicit TabStripAccessible(TabStrip* strip)
        : ItemListAccessible(strip, QAccessible::PageTabList, QAccessible::PageTab) {}

    int itemCount() const override { return strip()->count(); }
    QString itemText(int item) const override { return strip()->caption(item + 1); }
    int currentItem() const override { return strip()->selectedIndex() - 1; }
    void pickItem(int item) override { strip()->clickTab(item + 1); }
    QRect itemRect(int item) const override {
        return onScreen(strip(), strip()->tabRect(item + 1));
    }

private:
    TabStrip* strip() const { return static_cast<TabStrip*>(widget()); }
};

// A unit picker keeps the name that says which picker it is; the unit it shows is its value,
// and its description gives the unit with its factor, so a screen reader announces both. A
// screen reader drops a description that reads as part of the name (the unit "м" is a letter
// of "Знаменатель"): the factor keeps it whole. Its rows are its children.
class PickerAccessible : public ItemListAccessible {
public:
    using ItemListAccessible::ItemListAccessible;

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Description && t != QAccessible::Value) {
            return ItemListAccessible::text(t);
        }
        const int current = currentItem();
        if (current < 0 || current >= itemCount()) {
            return {};
        }
        const QString unit = itemText(current);
        const QString factor = t == QAccessible::Description ? itemDescription(current) : QString();
        return factor.isEmpty() ? unit : unit + QStringLiteral(", ") + factor;
    }

protected:
    // The unit shown is the description: a screen reader hears when it changes.
    template <typename Picker>
    static void announceUnits(Picker* picker, void (Picker::*changed)(int)) {
        QObject::connect(picker, changed, picker, [picker] {
            if (QAccessible::isActive()) {
                QAccessibleEvent event(picker, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&event);
            }
        });
    }
};

class ComboAccessible : public PickerAccessible {
public:
    explicit ComboAccessible(QComboBox* combo)
        : PickerAccessible(combo, QAccessible::ComboBox, QAccessible::ListItem) {
        announceUnits(combo, &QComboBox::currentIndexChanged);
        // Closed, the drop-down behaves as a list to the keyboard: the arrows move the picked
        // row, and the focus is taken to rest on it, so a screen reader reads each row picked
        // with its factor. Only while the drop-down has the keyboard.
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo](int row) {
            if (QAccessible::isActive() && row >= 0 && combo->hasFocus()) {
                QAccessibleEvent focus(combo, QAccessible::Focus);
                focus.setChild(row);
                QAccessible::updateAccessibility(&focus);
            }
        });
    }

    int itemCount() const override { return combo()->count(); }
    QString itemText(int item) const override { return combo()->itemText(item); }
    QString itemDescription(int item) const override {
        return combo()->itemData(item, Qt::ToolTipRole).toString();
    }
    int currentItem() const override { return combo()->currentIndex(); }
    void pickItem(int item) override { combo()->setCurrentIndex(item); }
    // The rows are on screen only in the open popup, which is a window of its own.
    QRect itemRect(int) const override { return {}; }

    QAccessible::State state() const override {
        QAccessible::State s = PickerAccessible::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = PickerAccessible::actionNames();
        if (combo()->isEnabled()) {
            names.prepend(showMenuAction());
        }
        return names;
    }
    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction() && combo()->isEnabled()) {
            combo()->showPopup();
            return;
        }
        PickerAccessible::doAction(actionName);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

class ListAccessible : public PickerAccessible {
public:
    explicit ListAccessible(QListWidget* list)
        : PickerAccessible(list, QAccessible::List, QAccessible::ListItem) {
        announceUnits(list, &QListWidget::currentRowChanged);
    }

    int itemCount() const override { return list()->count(); }
    QString itemText(int item) const override { return list()->item(item)->text(); }
    QString itemDescription(int item) const override { return list()->item(item)->toolTip(); }
    int currentItem() const override { return list()->currentRow(); }
    void pickItem(int item) override { list()->setCurrentRow(item); }
    QRect itemRect(int item) const override {
        const QRect visible = list()->viewport()->rect();
        return onScreen(list()->viewport(),
                        list()->visualItemRect(list()->item(item)).intersected(visible));
    }

private:
    QListWidget* list() const { return static_cast<QListWidget*>(widget()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("TabStrip")) {
        return new TabStripAccessible(static_cast<TabStrip*>(object));
    }
    if (className == QLatin1String("UnitList")) {
        return new ListAccessible(static_cast<UnitList*>(object));
    }
    if (className == QLatin1String("QComboBox")) {
        return new ComboAccessible(static_cast<QComboBox*>(object));
    }
    if (className == QLatin1String("TextBox")) {
        return new TextBoxAccessible(static_cast<TextBox*>(object));
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}
