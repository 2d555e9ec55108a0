// What selecting a tab does: show the category's panel and put its boxes and pickers in their
// starting state.
#include "platform/desktop.h"
#include "platform/pickers.h"
#include "platform/textbox.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"
#include "window/unittips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

using convert::Panel;
using window::categoryAt;
using window::unitTexts;

void Ruriruz::TabStrip1_Click() {
    // First of all: the writes below raise change and click notifications, which must convert
    // nothing.
    UpdateGuard = guardSetUp;
    const auto n = static_cast<qint16>(TabStrip1->selectedIndex());
    const window::Category* category = categoryAt(n);
    if (!category) {
        desktop_.message(QStringLiteral("Ошибка TabStrip"));
        return;
    }
    switch (category->panel) {
        case Panel::Lengths:
            setUpListPanel(Panel::Lengths, Text1, List1);
            break;
        case Panel::Areas:
            setUpListPanel(Panel::Areas, Text2, List2);
            break;
        case Panel::Volumes:
            setUpListPanel(Panel::Volumes, Text3, List3);
            break;
        case Panel::Quotient:
            setUpQuotientPanel(category->quantity());
            break;
        case Panel::Moment:
            setUpMomentPanel(category->quantity());
            break;
    }
    describeValues(category->panel);
}

void Ruriruz::setUpListPanel(Panel panel, const Pair<TextBox>& text,
                             const Pair<QListWidget>& list) {
    text[0]->setText(QStringLiteral("0"));
    text[1]->setText(QStringLiteral("0"));
    list[0]->setCurrentRow(0);
    list[1]->setCurrentRow(0);
    showFrame(panel);
}

void Ruriruz::setUpQuotientPanel(const convert::Quantity& quantity) {
    const bool hasDenominator = quantity.pickerCount() > 1;
    for (std::size_t r = 0; r < 2; ++r) {
        Text4[r]->setText(QStringLiteral("0"));
        refill(Combo1[r], unitTexts(quantity.pickers[0]));
        setUnitTips(Combo1[r], *quantity.tables[0], numbers_);
        // Where the category has no denominator, the picker keeps its rows, hidden.
        if (hasDenominator) {
            refill(Combo2[r], unitTexts(quantity.pickers[1]));
            setUnitTips(Combo2[r], *quantity.tables[1], numbers_);
        }
        Combo1[r]->setCurrentIndex(0);  // Combo1_Click shows or hides the denominator
        if (hasDenominator) {
            Combo2[r]->setCurrentIndex(0);
        }
    }
    showFrame(Panel::Quotient);
}

void Ruriruz::setUpMomentPanel(const convert::Quantity& quantity) {
    // A distributed moment is a moment per length: only it shows the second "/" and picker.
    const bool perLength = quantity.pickerCount() > 2;
    for (std::size_t r = 0; r < 2; ++r) {
        Combo5[r]->setVisible(perLength);
        Label4[r]->setVisible(perLength);
        Combo3[r]->setCurrentIndex(0);
        Combo4[r]->setCurrentIndex(0);
        if (perLength) {
            Combo5[r]->setCurrentIndex(0);
        }
    }
    showFrame(Panel::Moment);
    // The value boxes keep their numbers from the last visit, but the pickers went back to
    // their first rows: box 1 is worked out again so that the two still say the same. Without
    // a number in box 0 there is nothing to work out, and box 1 must not keep one under units
    // it was never worked out for.
    if (numbers_.isNumber(Text5[0]->text())) {
        qint16 source = 0;
        ConvertMoment(source);
    } else {
        write(Text5[1], QString());
    }
}

void Ruriruz::showFrame(Panel panel) {
    int number = 1;
    for (QGroupBox* frame : frames()) {
        frame->setVisible(number++ == static_cast<int>(panel));
    }
    // The panel has no caption on screen; a screen reader names it after its category.
    frames()
        .at(static_cast<std::size_t>(panel) - 1)
        ->setAccessibleName(TabStrip1->caption(TabStrip1->selectedIndex()));
}

void Ruriruz::Combo1_Click(qint16 Index) {
    const auto i = static_cast<std::size_t>(Index);
    const window::Category* category = categoryAt(TabStrip1->selectedIndex());
    Combo1Index = static_cast<qint16>(Combo1[i]->currentIndex());
    const bool whole = !category || category->quantity().pickerCount() < 2 ||
                       Combo1Index >= category->quantity().wholeUnitsFrom;
    Combo2[i]->setVisible(!whole);
    Label1[i]->setVisible(!whole);
    click(&Ruriruz::ConvertQuotient);
}
