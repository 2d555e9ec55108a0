#include "platform/pickers.h"
#include "platform/textbox.h"
#include "platform/unitlist.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

using window::tabCaptions;
using window::unitTexts;

namespace {

const QString rowName[2] = {QStringLiteral("первого значения"), QStringLiteral("второго значения")};
const QString boxName[2] = {QStringLiteral("Первое значение"), QStringLiteral("Второе значение")};

TextBox* makeBox(QWidget* frame, int i) {
    auto* box = new TextBox(frame);
    box->setText(QStringLiteral("0"));
    box->setAccessibleName(boxName[i]);
    return box;
}

QComboBox* makePicker(QWidget* frame, const QString& name, const QStringList& rows) {
    auto* combo = new QComboBox(frame);
    combo->setAccessibleName(name);
    refill(combo, rows);
    return combo;
}

QLabel* makeLabel(QWidget* frame, const QString& caption, const QFont& font) {
    auto* label = new QLabel(caption, frame);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

void Ruriruz::buildDesign() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    TabStrip1 = new TabStrip(client);
    TabStrip1->setCaptions(tabCaptions());

    for (QGroupBox** frame : {&Frame1, &Frame2, &Frame3, &Frame4, &Frame5}) {
        *frame = new QGroupBox(client);
        (*frame)->setVisible(*frame == Frame1);
    }
    // A screen reader names each panel after the category it shows; each has a name before
    // its first showing too.
    for (int n = window::categoryCount; n >= 1; --n) {
        frames()
            .at(static_cast<std::size_t>(window::categoryAt(n)->panel) - 1)
            ->setAccessibleName(TabStrip1->caption(n));
    }
    buildListPanels();
    buildPickerPanels();
    chainFocus();
}

void Ruriruz::buildListPanels() {
    const std::array<QGroupBox*, 5> panel = frames();
    std::size_t p = 0;
    for (const auto& [text, lists] : listPanels()) {
        const QStringList units = unitTexts(convert::quantity(window::listMeasures[p]).pickers[0]);
        for (int i = 0; i < 2; ++i) {
            (*text)[i] = makeBox(panel[p], i);
            auto* list = new UnitList(panel[p]);
            list->setUniformItemSizes(true);  // one line of text per unit: cheaper to lay out
            list->addItems(units);
            list->setAccessibleName(QStringLiteral("Единица ") + rowName[i]);
            (*lists)[i] = list;
        }
        ++p;
    }
}

void Ruriruz::buildPickerPanels() {
    // The moment panel's pickers keep their rows for good: those of distributed moments.
    const convert::Quantity& moments = convert::quantity(convert::Measure::DistributedMoment);
    QFont labelFont = font();
    labelFont.setPointSizeF(9.75);
    for (int r = 0; r < 2; ++r) {
        Text4[r] = makeBox(Frame4, r);
        Combo1[r] = makePicker(Frame4, QStringLiteral("Единица ") + rowName[r], {});
        Label1[r] = makeLabel(Frame4, QStringLiteral("/"), labelFont);
        Combo2[r] = makePicker(Frame4, QStringLiteral("Знаменатель единицы ") + rowName[r], {});

        Text5[r] = makeBox(Frame5, r);
        Combo3[r] = makePicker(Frame5, QStringLiteral("Сила в единице ") + rowName[r],
                               unitTexts(moments.pickers[0]));
        Label3[r] = makeLabel(Frame5, QStringLiteral("*"), labelFont);
        Combo4[r] = makePicker(Frame5, QStringLiteral("Длина в единице ") + rowName[r],
                               unitTexts(moments.pickers[1]));
        Label4[r] = makeLabel(Frame5, QStringLiteral("/"), labelFont);
        Label4[r]->hide();
        Combo5[r] = makePicker(Frame5, QStringLiteral("Знаменатель единицы ") + rowName[r],
                               unitTexts(moments.pickers[2]));
        Combo5[r]->hide();
    }
}

// Focus goes from the tab strip through each panel: box 0 and its pickers from left to right,
// then box 1 and its pickers.
void Ruriruz::chainFocus() {
    QWidget* previous = TabStrip1;
    auto chain = [&previous](std::initializer_list<QWidget*> next) {
        for (QWidget* w : next) {
            setTabOrder(previous, w);
            previous = w;
        }
    };
    for (const auto& [text, list] : listPanels()) {
        for (int i = 0; i < 2; ++i) {
            chain({(*text)[i], (*list)[i]});
        }
    }
    for (int r = 0; r < 2; ++r) {
        chain({Text4[r], Combo1[r], Combo2[r]});
    }
    for (int r = 0; r < 2; ++r) {
        chain({Text5[r], Combo3[r], Combo4[r], Combo5[r]});
    }
}
