// The conversions of the list panels: a number walks from the source box's unit into the base
// unit and out of it into the target box's unit.
#include "convert/walk.h"
#include "platform/desktop.h"
#include "platform/textbox.h"
#include "window/ruriruz.h"

#include <QListWidget>

void Ruriruz::convertThroughList(const Pair<TextBox>& text, const Pair<QListWidget>& list,
                                 convert::UnitTable table, qint16& Index) {
    using convert::Outcome;
    const auto source = static_cast<std::size_t>(Index);
    const std::optional<double> number = numbers_.parse(text[source]->text());
    if (!number) {
        endedEarly();
        return;
    }
    SourceValue = *number;
    const convert::Unit& from = convert::rowOrLast(table, list[source]->currentRow());
    if (convert::intoBase(from.toBase, SourceValue, BaseValue) != Outcome::Done) {
        endedEarly();
        return;
    }

    Index = Index == 0 ? 1 : 0;
    const auto target = static_cast<std::size_t>(Index);
    const convert::Unit& to = convert::rowOrLast(table, list[target]->currentRow());
    if (convert::outOfBase(to.toBase, BaseValue, SourceValue) != Outcome::Done) {
        endedEarly();
        return;
    }
    UpdateGuard = 1;  // the write below must not start a conversion back
    text[target]->setText(numbers_.format(SourceValue));
}

void Ruriruz::endedEarly() {
    desktop_.beep();
}
