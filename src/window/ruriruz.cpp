#include "window/ruriruz.h"

#include "platform/appicon.h"
#include "platform/desktop.h"
#include "platform/textbox.h"
#include "window/accessibility.h"
#include "window/categories.h"
#include "window/menukeys.h"
#include "window/tabstrip.h"
#include "window/unittips.h"

#include <QComboBox>
#include <QLayout>
#include <QListWidget>

#include <QMenuBar>
#include <QShortcut>

Ruriruz::Ruriruz(Desktop& desktop, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      desktop_(desktop) {
    installAccessibility();
    setWindowTitle(QStringLiteral("Mervel-Преобразование единиц измерения"));
    setWindowIcon(applicationIcon());
    buildMenu();
    new MenuKeys(*this);
    buildDesign();
    layOut();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectHandlers();
    connectDescriptions();
}

bool Ruriruz::Form_Load() {
    if (desktop_.previousInstance()) {
        desktop_.message(QStringLiteral("Программа уже запущена!"));
        return false;
    }
    numbers_ = NumberText(desktop_.numberLocale());
    DecimalMode = numbers_.isNumber(QStringLiteral("0.5")) ? decimalPoint : decimalComma;
    tipFixedPickers();
    UpdateGuard = guardSetUp;
    List1[0]->setCurrentRow(0);
    List1[1]->setCurrentRow(0);
    for (const convert::Panel panel : convert::allPanels) {
        describeValues(panel);
    }
    return true;
}

// Pickers whose rows never change; the quotient panel's get their tips when they are refilled.
void Ruriruz::tipFixedPickers() {
    const std::array<const Pair<QListWidget>*, 3> lists{&List1, &List2, &List3};
    for (std::size_t p = 0; p < lists.size(); ++p) {
        for (QListWidget* list : *lists[p]) {
            setUnitTips(list, *convert::quantity(window::listMeasures[p]).tables[0], numbers_);
        }
    }
    const convert::Quantity& moments = convert::quantity(convert::Measure::DistributedMoment);
    for (std::size_t r = 0; r < 2; ++r) {
        setUnitTips(Combo3[r], *moments.tables[0], numbers_);
        setUnitTips(Combo4[r], *moments.tables[1], numbers_);
        setUnitTips(Combo5[r], *moments.tables[2], numbers_);
    }
}

void Ruriruz::buildMenu() {
    Fail = menuBar()->addMenu(QStringLiteral("&Файл"));
    Exit = Fail->addAction(QStringLiteral("Выход"));
    Help = menuBar()->addMenu(QStringLiteral("&Справка"));
    Help_me = Help->addAction(QStringLiteral("Вызов справки"));
    Help_me->setShortcut(QKeySequence(Qt::Key_F1));
    About = Help->addAction(QStringLiteral("&О программе"));
}

void Ruriruz::connectHandlers() {
    connect(TabStrip1, &TabStrip::clicked, this, &Ruriruz::TabStrip1_Click);
    // Ctrl+Tab and Ctrl+Shift+Tab step through the categories from anywhere in the window.
    // X11 delivers Shift+Tab as Backtab, which the standard "previous child" key misses.
    auto* next = new QShortcut(QKeySequence::NextChild, this);
    connect(next, &QShortcut::activated, this, [this] { stepCategory(1); });
    auto* previous = new QShortcut(this);
    previous->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    connect(previous, &QShortcut::activated, this, [this] { stepCategory(-1); });

    using KeyPress = void (Ruriruz::*)(qint16, char16_t&);
    using Change = void (Ruriruz::*)(qint16);
    const std::array<std::tuple<const Pair<TextBox>*, KeyPress, Change>, 5> boxes{{
        {&Text1, &Ruriruz::Text1_KeyPress, &Ruriruz::Text1_Change},
        {&Text2, &Ruriruz::Text2_KeyPress, &Ruriruz::Text2_Change},
        {&Text3, &Ruriruz::Text3_KeyPress, &Ruriruz::Text3_Change},
        {&Text4, &Ruriruz::Text4_KeyPress, &Ruriruz::Text4_Change},
        {&Text5, &Ruriruz::Text5_KeyPress, &Ruriruz::Text5_Change},
    }};
    for (const auto& [pair, keyPress, change] : boxes) {
        for (qint16 i = 0; i < 2; ++i) {
            TextBox* box = (*pair)[i];
            box->setKeyHandler([this, i, keyPress](char16_t code) {
                (this->*keyPress)(i, code);
                return code;
            });
            box->setInsertHandler([this](const QString& kept, const QString& incoming) {
                return admitInsertion(kept, incoming);
            });
            // An edit without a character key counts as typing: the other box must not keep
            // showing the conversion of a number that is gone.
            connect(box, &TextBox::editedWithoutKey, this, [this] { UpdateGuard = guardTyping; });
            connect(box, &TextBox::insertRefused, this, [this] { desktop_.beep(); });
            connect(box, &QLineEdit::textChanged, this, [this, i, change] { (this->*change)(i); });
        }
    }

    connectClicks(List1, &QListWidget::currentRowChanged, &Ruriruz::List1_Click);
    connectClicks(List2, &QListWidget::currentRowChanged, &Ruriruz::List2_Click);
    connectClicks(List3, &QListWidget::currentRowChanged, &Ruriruz::List3_Click);
    connectClicks(Combo1, &QComboBox::currentIndexChanged, &Ruriruz::Combo1_Click);
    connectClicks(Combo2, &QComboBox::currentIndexChanged, &Ruriruz::Combo2_Click);
    connectClicks(Combo3, &QComboBox::currentIndexChanged, &Ruriruz::Combo3_Click);
    connectClicks(Combo4, &QComboBox::currentIndexChanged, &Ruriruz::Combo4_Click);
    connectClicks(Combo5, &QComboBox::currentIndexChanged, &Ruriruz::Combo5_Click);
}

void Ruriruz::stepCategory(int delta) {
    const int count = TabStrip1->count();
    TabStrip1->setSelectedIndex((TabStrip1->selectedIndex() - 1 + delta + count) % count + 1);
    // As after a click on a tab: the strip has the focus, and Tab leads into the new panel.
    TabStrip1->setFocus(Qt::ShortcutFocusReason);
    TabStrip1_Click();
}
