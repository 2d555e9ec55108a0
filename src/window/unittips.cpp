#include "window/unittips.h"

#include "convert/meaning.h"
#include "platform/numbertext.h"

#include <QComboBox>
#include <QListWidget>

QString unitTip(const convert::PickerTable& table, std::size_t row, const NumberText& numbers) {
    const std::optional<convert::RowMeaning> meaning = convert::meaningOf(table, row);
    if (!meaning) {
        return {};
    }
    return QStringLiteral("1 ") + QString::fromUtf8(table.rows[row].text) + QStringLiteral(" = ") +
           numbers.format(meaning->factor) + u' ' + QString::fromUtf8(meaning->base);
}

void setUnitTips(QListWidget* list, const convert::PickerTable& table, const NumberText& numbers) {
    for (int row = 0; row < list->count(); ++row) {
        list->item(row)->setToolTip(unitTip(table, static_cast<std::size_t>(row), numbers));
    }
}

void setUnitTips(QComboBox* combo, const convert::PickerTable& table, const NumberText& numbers) {
    for (int row = 0; row < combo->count(); ++row) {
        combo->setItemData(row, unitTip(table, static_cast<std::size_t>(row), numbers),
                           Qt::ToolTipRole);
    }
}
