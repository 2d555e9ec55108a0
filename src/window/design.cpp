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

using window::categoryAt;
using window::tabCaptions;
using window::unitTexts;

namespace {

const QString rowName[2] = {QStringLiteral("первого значения"), QStringLiteral("второго значения")};
const QString boxName[2] = {QStringLiteral("Первое значение"), QStringLiteral("Второе значение")};

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

    QFont labelFont = font();
    labelFont.setPointSizeF(9.75);

    auto makeBox = [](QWidget* frame, int i) {
        auto* box = new TextBox(frame);
        box->setText(QStringLiteral("0"));
        box->setAccessibleName(boxName[i]);
        return box;
    };
    auto makePicker = [](QWidget* frame, const QString& name, const QStringList& rows) {
        auto* combo = new QComboBox(frame);
        combo->setAccessibleName(name);
        refill(combo, rows);
        return combo;
    };
    auto makeLabel = [&labelFont](QWidget* frame, const QString& caption) {
        auto* label = new QLabel(caption, frame);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };

    const std::array<std::pair<Pair<TextBox>*, Pair<QListWidget>*>, 3> listPanels{
        std::pair{&Text1, &List1}, std::pair{&Text2, &List2}, std::pair{&Text3, &List3}};
    const std::array<QGroupBox*, 5> panel = frames();
    for (std::size_t p = 0; p < listPanels.size(); ++p) {
        for (int i = 0; i < 2; ++i) {
            (*listPanels[p].first)[i] = makeBox(panel[p], i);
            auto* list = new UnitList(panel[p]);
            list->setUniformItemSizes(true);  // one line of text per unit: cheaper to lay out
            // Panels 1 to 3 serve categories 1 to 3, one list of units each.
            list->addItems(unitTexts(categoryAt(static_cast<int>(p) + 1)->quantity().pickers[0]));
            list->setAccessibleName(QStringLiteral("Единица ") + rowName[i]);
            (*listPanels[p].second)[i] = list;
        }
    }

    // The moment panel's pickers keep their rows for good: those of distributed moments.
    const convert::Quantity& moments = categoryAt(7)->quantity();
    for (int r = 0; r < 2; ++r) {
        Text4[r] = makeBox(Frame4, r);
        Combo1[r] = makePicker(Frame4, QStringLiteral("Единица ") + rowName[r], {});
        Label1[r] = makeLabel(Frame4, QStringLiteral("/"));
        Combo2[r] = makePicker(Frame4, QStringLiteral("Знаменатель единицы ") + rowName[r], {});

        Text5[r] = makeBox(Frame5, r);
        Combo3[r] = makePicker(Frame5, QStringLiteral("Сила в единице ") + rowName[r],
                               unitTexts(moments.pickers[0]));
        Label3[r] = makeLabel(Frame5, QStringLiteral("*"));
        Combo4[r] = makePicker(Frame5, QStringLiteral("Длина в единице ") + rowName[r],
                               unitTexts(moments.pickers[1]));
        Label4[r] = makeLabel(Frame5, QStringLiteral("/"));
        Label4[r]->hide();
        Combo5[r] = makePicker(Frame5, QStringLiteral("Знаменатель единицы ") + rowName[r],
                               unitTexts(moments.pickers[2]));
        Combo5[r]->hide();
    }

    // Focus goes from the tab strip through each panel: box 0 and its pickers from left to
    // right, then box 1 and its pickers.
    QWidget* previous = TabStrip1;
    auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (const auto& [text, list] : listPanels) {
        for (int i = 0; i < 2; ++i) {
            chain((*text)[i]);
            chain((*list)[i]);
        }
    }
    for (int r = 0; r < 2; ++r) {
        for (QWidget* w : std::initializer_list<QWidget*>{Text4[r], Combo1[r], Combo2[r]}) {
            chain(w);
        }
    }
    for (int r = 0; r < 2; ++r) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{Text5[r], Combo3[r], Combo4[r], Combo5[r]}) {
            chain(w);
        }
    }
}
