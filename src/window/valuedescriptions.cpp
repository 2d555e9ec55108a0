// What a screen reader tells of each value box besides its name: the box's own units, and the
// other box's number with its units, so the result is heard without leaving the box.
#include "platform/textbox.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
#include <QListWidget>

using convert::Panel;

namespace {

QString picked(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

// A picker that is hidden is not part of the unit: it is not read either.
void append(QString& units, QChar operation, const QComboBox* picker) {
    if (!picker->isHidden()) {
        units += operation + picker->currentText();
    }
}

}  // namespace

QString Ruriruz::unitsOf(Panel panel, std::size_t i) const {
    QString units;
    switch (panel) {
        case Panel::Lengths:
            return picked(List1[i]);
        case Panel::Areas:
            return picked(List2[i]);
        case Panel::Volumes:
            return picked(List3[i]);
        case Panel::Quotient:
            units = Combo1[i]->currentText();
            append(units, u'/', Combo2[i]);
            return units;
        case Panel::Moment:
            units = Combo3[i]->currentText();
            append(units, u'*', Combo4[i]);
            append(units, u'/', Combo5[i]);
            return units;
    }
    return units;
}

void Ruriruz::describeValues(Panel panel) {
    const std::array<const Pair<TextBox>*, 5> boxes{&Text1, &Text2, &Text3, &Text4, &Text5};
    const Pair<TextBox>& text = *boxes.at(static_cast<std::size_t>(panel) - 1);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t other = 1 - i;
        QString description = unitsOf(panel, i);
        if (!text[other]->text().isEmpty()) {
            description += QStringLiteral(". Результат: ") + text[other]->text() + u' ' +
                           unitsOf(panel, other);
        }
        // Each change is an event a screen reader hears of; an unchanged text sends none.
        if (text[i]->accessibleDescription() != description) {
            text[i]->setAccessibleDescription(description);
        }
    }
}

// Every change of a number or a unit on a panel, whatever made it, keeps its descriptions
// current. Connected after the handlers, so the pickers' visibility is already settled.
void Ruriruz::connectDescriptions() {
    const std::array<const Pair<TextBox>*, 5> boxes{&Text1, &Text2, &Text3, &Text4, &Text5};
    const std::array<const Pair<QListWidget>*, 3> lists{&List1, &List2, &List3};
    const std::array<std::vector<const Pair<QComboBox>*>, 2> combos{
        {{&Combo1, &Combo2}, {&Combo3, &Combo4, &Combo5}}};
    for (const Panel panel : convert::allPanels) {
        const auto p = static_cast<std::size_t>(panel) - 1;
        auto describe = [this, panel] { describeValues(panel); };
        for (std::size_t i = 0; i < 2; ++i) {
            connect((*boxes.at(p))[i], &QLineEdit::textChanged, this, describe);
            if (p < lists.size()) {
                connect((*lists.at(p))[i], &QListWidget::currentRowChanged, this, describe);
                continue;
            }
            for (const Pair<QComboBox>* pair : combos.at(p - lists.size())) {
                connect((*pair)[i], &QComboBox::currentIndexChanged, this, describe);
            }
        }
    }
}
