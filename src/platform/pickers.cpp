#include "platform/pickers.h"

#include <QComboBox>
#include <QSignalBlocker>

void refill(QComboBox* combo, const QStringList& rows) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(rows);
    combo->setCurrentIndex(-1);
}
