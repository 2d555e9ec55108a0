// The conversions: a number walks from the source box's units into the category's base unit
// and out of it into the target box's units, one stored double operation per step.
#include "convert/walk.h"
#include "platform/desktop.h"
#include "platform/textbox.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
#include <QListWidget>

using window::categoryAt;

namespace {

// The row a picker has selected, if its table has one.
std::optional<convert::Step> pickedStep(convert::UnitTable table, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= table.size()) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(row)].toBase;
}

}  // namespace

void Ruriruz::ConvertLinear(qint16& Index) {
    convertBetween(Text1, Index, [this](std::size_t side) {
        return listSide(List1, convert::Measure::Length, side);
    });
}

void Ruriruz::ConvertArea(qint16& Index) {
    convertBetween(Text2, Index, [this](std::size_t side) {
        return listSide(List2, convert::Measure::Area, side);
    });
}

void Ruriruz::ConvertVolume(qint16& Index) {
    convertBetween(Text3, Index, [this](std::size_t side) {
        return listSide(List3, convert::Measure::Volume, side);
    });
}

void Ruriruz::ConvertQuotient(qint16& Index) {
    if (const convert::Quantity* quantity = panelQuantity(convert::Panel::Quotient)) {
        convertBetween(Text4, Index, [this, quantity](std::size_t side) {
            return pickedSide(*quantity, {&Combo1, &Combo2, nullptr}, side);
        });
    }
}

void Ruriruz::ConvertMoment(qint16& Index) {
    if (const convert::Quantity* quantity = panelQuantity(convert::Panel::Moment)) {
        convertBetween(Text5, Index, [this, quantity](std::size_t side) {
            return pickedSide(*quantity, {&Combo3, &Combo4, &Combo5}, side);
        });
    }
}

const convert::Quantity* Ruriruz::panelQuantity(convert::Panel panel) {
    const window::Category* category = categoryAt(TabStrip1->selectedIndex());
    if (!category || category->panel != panel) {
        // A panel is only reachable through its own categories; anything else means the
        // window's state is broken, and going on could only show wrong numbers.
        desktop_.message(QStringLiteral("Ошибка перехода"));
        desktop_.endProgram();
        return nullptr;
    }
    return &category->quantity();
}

void Ruriruz::convertBetween(const Pair<TextBox>& text, qint16& Index,
                             const std::function<Side(std::size_t side)>& sideSteps) {
    using convert::Outcome;
    TextBox* target = text[Index == 0 ? 1 : 0];
    const std::optional<double> number =
        numbers_.parse(text[static_cast<std::size_t>(Index)]->text());
    if (!number) {
        endedEarly(target);
        return;
    }
    SourceValue = *number;
    // Into the base unit with the source box's units, then out of it with the target box's.
    for (const bool into : {true, false}) {
        if (!into) {
            Index = Index == 0 ? 1 : 0;
        }
        const Side steps = sideSteps(static_cast<std::size_t>(Index));
        if (!steps) {
            desktop_.message(QStringLiteral("Ошибка вычисления"));
            return;
        }
        const Outcome outcome = into ? convert::intoBase(*steps, SourceValue, BaseValue)
                                     : convert::outOfBase(*steps, BaseValue, SourceValue);
        if (outcome != Outcome::Done) {
            endedEarly(target);
            return;
        }
    }
    write(target, numbers_.format(SourceValue));
}

Ruriruz::Side Ruriruz::listSide(const Pair<QListWidget>& list, convert::Measure measure,
                                std::size_t side) const {
    const convert::UnitTable table = convert::quantity(measure).pickers[0];
    // A list always converts: a row outside the table counts as its last row.
    return std::vector{convert::rowOrLast(table, list[side]->currentRow()).toBase};
}

Ruriruz::Side Ruriruz::pickedSide(const convert::Quantity& quantity,
                                  const std::array<const Pair<QComboBox>*, 3>& combos,
                                  std::size_t side) const {
    std::vector<convert::Step> steps;
    const int firstRow = (*combos[0])[side]->currentIndex();
    for (std::size_t k = 0; k < quantity.pickerCount(); ++k) {
        if (k > 0 && firstRow >= quantity.wholeUnitsFrom) {
            break;  // a whole unit such as "g" or "кПа": its denominator is hidden and unread
        }
        const std::optional<convert::Step> step =
            pickedStep(quantity.pickers[k], (*combos[k])[side]->currentIndex());
        if (!step) {
            return std::nullopt;
        }
        steps.push_back(*step);
    }
    return steps;
}

void Ruriruz::endedEarly(TextBox* target) {
    desktop_.beep();
    // The other box must not keep a number that no longer matches this one.
    write(target, QString());
}

void Ruriruz::write(TextBox* box, const QString& text) {
    UpdateGuard = guardWritten;  // the write must not start a conversion back
    box->setText(text);
    // A long result is read from its first character, as a text box set from code shows it.
    box->home(false);
}
