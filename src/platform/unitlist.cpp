#include "platform/unitlist.h"

void UnitList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (hasFocus()) {
        QListWidget::currentChanged(current, previous);
    } else {
        // QListView's own step adds nothing but that focus notice.
        QAbstractItemView::currentChanged(current, previous);
    }
}
