#pragma once

#include <QListWidget>

// A list of units. QListView tells screen readers that its new current row has the focus even
// when the list does not, as when a category's set-up selects the first rows while the keyboard
// stays on the tab strip; this list says so only while it has the focus.
class UnitList : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};
