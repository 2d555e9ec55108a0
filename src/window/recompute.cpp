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
    convertBetween(Text1, Index,
                   [this](std::size_t side) { return listSide(List1, convert::lengths, side); });
}

void Ruriruz::ConvertArea(qint16& Index) {
    convertBetween(Text2, Index,
                   [this](std::size_t side) { return listSide(List2, convert::areas, side); });
}

void Ruriruz::ConvertVolume(qint16& Index) {
    convertBetween(Text3, Index,
                   [this](std::size_t side) { return listSide(List3, convert::volumes, side); });
}

void Ruriruz::ConvertQuotient(qint16& Index) {
    const Category* category = categoryAt(TabStrip1->selectedIndex());
    if (!category || category->frame != 4) {
        // The panel is only reachable through its own categories; anything else means the
        // window's state is broken, and going on could only show wrong numbers.
        desktop_.message(QStringLiteral("Ошибка перехода"));
        desktop_.endProgram();
        return;
    }
    convertBetween(Text4, Index,
                   [this, category](std::size_t side) { return quotientSide(*category, side); });
}

void Ruriruz::ConvertMoment(qint16& Index) {
    // Only "Распределенные моменты" divides by a length.
    const bool perLength = TabStrip1->selectedIndex() != 6;
    convertBetween(Text5, Index,
                   [this, perLength](std::size_t side) { return momentSide(perLength, side); });
}

void Ruriruz::convertBetween(const Pair<TextBox>& text, qint16& Index,
                             const std::function<Side(std::size_t side)>& sideSteps) {
    using convert::Outcome;
    const auto source = static_cast<std::size_t>(Index);
    const std::optional<double> number = numbers_.parse(text[source]->text());
    if (!number) {
        endedEarly();
        return;
    }
    SourceValue = *number;
    const Side from = sideSteps(source);
    if (!from) {
        desktop_.message(QStringLiteral("Ошибка вычисления"));
        return;
    }
    if (convert::intoBase(*from, SourceValue, BaseValue) != Outcome::Done) {
        endedEarly();
        return;
    }

    Index = Index == 0 ? 1 : 0;
    const auto target = static_cast<std::size_t>(Index);
    const Side to = sideSteps(target);
    if (!to) {
        desktop_.message(QStringLiteral("Ошибка вычисления"));
        return;
    }
    if (convert::outOfBase(*to, BaseValue, SourceValue) != Outcome::Done) {
        endedEarly();
        return;
    }
    UpdateGuard = 1;  // the write below must not start a conversion back
    text[target]->setText(numbers_.format(SourceValue));
}

Ruriruz::Side Ruriruz::listSide(const Pair<QListWidget>& list, convert::UnitTable table,
                                std::size_t side) const {
    // A list always converts: a row outside the table counts as its last row.
    return std::vector{convert::rowOrLast(table, list[side]->currentRow()).toBase};
}

Ruriruz::Side Ruriruz::quotientSide(const Category& category, std::size_t side) const {
    const int numeratorRow = Combo1[side]->currentIndex();
    const std::optional<convert::Step> numerator = pickedStep(category.numerator, numeratorRow);
    if (!numerator) {
        return std::nullopt;
    }
    std::vector steps{*numerator};
    if (!category.hasDenominator() || numeratorRow >= category.wholeUnitsFrom) {
        return steps;  // a unit of its own kind, or a whole unit such as "g" or "кПа"
    }
    const std::optional<convert::Step> denominator =
        pickedStep(category.denominator, Combo2[side]->currentIndex());
    if (!denominator) {
        return std::nullopt;
    }
    steps.push_back(*denominator);
    return steps;
}

Ruriruz::Side Ruriruz::momentSide(bool perLength, std::size_t side) const {
    const std::optional<convert::Step> force =
        pickedStep(convert::forces.first(convert::plainForceRows), Combo3[side]->currentIndex());
    const std::optional<convert::Step> length =
        pickedStep(convert::momentLengths, Combo4[side]->currentIndex());
    if (!force || !length) {
        return std::nullopt;
    }
    std::vector steps{*force, *length};
    if (perLength) {
        const std::optional<convert::Step> per =
            pickedStep(convert::perLength, Combo5[side]->currentIndex());
        if (!per) {
            return std::nullopt;
        }
        steps.push_back(*per);
    }
    return steps;
}

void Ruriruz::endedEarly() {
    desktop_.beep();
}
