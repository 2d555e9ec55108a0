#pragma once

#include "convert/categories.h"
#include "convert/units.h"
#include "platform/numbertext.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class Desktop;
class TabStrip;
class TextBox;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;

// The controls of the converter window, named as in its design. A panel's controls come in
// pairs, one for each value box.
struct RuriruzControls {
    template <typename T>
    using Pair = std::array<T*, 2>;

    TabStrip* TabStrip1 = nullptr;
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr,
              *Frame5 = nullptr;
    Pair<TextBox> Text1{}, Text2{}, Text3{}, Text4{}, Text5{};
    Pair<QListWidget> List1{}, List2{}, List3{};
    Pair<QComboBox> Combo1{}, Combo2{}, Combo3{}, Combo4{}, Combo5{};
    Pair<QLabel> Label1{}, Label3{}, Label4{};
    QMenu* Fail = nullptr;
    QAction* Exit = nullptr;
    QMenu* Help = nullptr;
    QAction* Help_me = nullptr;
    QAction* About = nullptr;
    std::array<QGroupBox*, 5> frames() const { return {Frame1, Frame2, Frame3, Frame4, Frame5}; }
};

// What the converter window remembers between events.
struct RuriruzState {
    double SourceValue = 0;  // the number read from the source box, finally the one written
    double BaseValue = 0;    // the same quantity in the category's base unit
    qint16 UpdateGuard = 0;  // guardTyping, guardWritten or guardSetUp
    qint16 Combo1Index = 0;  // the numerator row the quotient panel last looked at
    qint16 DecimalMode = 0;  // decimalPoint or decimalComma

    static constexpr qint16 guardTyping = 0;   // a key was pressed: changes convert
    static constexpr qint16 guardWritten = 1;  // the program has just written a box
    static constexpr qint16 guardSetUp = 3;    // a set-up ran and no key has been pressed since
    static constexpr qint16 decimalPoint = 1;  // the locale's separator is "."
    static constexpr qint16 decimalComma = 2;  // it is not
};

// The converter window. Its handlers read and write the controls and the state by their design
// names; everyone else (the menu commands, the tests) only reads them, through controls() and
// state().
class Ruriruz : public QMainWindow, private RuriruzControls, private RuriruzState {
    Q_OBJECT

public:
    using RuriruzControls::Pair;

    explicit Ruriruz(Desktop& desktop, QWidget* parent = nullptr);

    // Runs once before the window is first shown. False when another copy already runs: the
    // user has been told, and the program must end without showing the window.
    bool Form_Load();

    const RuriruzControls& controls() const { return *this; }
    const RuriruzState& state() const { return *this; }

private:
    // The handlers: only the window's own connections call them.

    // Category set-up, run whenever the user selects a tab.
    void TabStrip1_Click();

    // Key filter of each value box; KeyAscii comes back as the character to insert, or 0.
    void Text1_KeyPress(qint16 Index, char16_t& KeyAscii) { keyPress(Text1, Index, KeyAscii); }
    void Text2_KeyPress(qint16 Index, char16_t& KeyAscii) { keyPress(Text2, Index, KeyAscii); }
    void Text3_KeyPress(qint16 Index, char16_t& KeyAscii) { keyPress(Text3, Index, KeyAscii); }
    void Text4_KeyPress(qint16 Index, char16_t& KeyAscii) { keyPress(Text4, Index, KeyAscii); }
    void Text5_KeyPress(qint16 Index, char16_t& KeyAscii) { keyPress(Text5, Index, KeyAscii); }
    char16_t ValiText(char16_t KeyIn, const QString& ValidateString);
    // Text put into a box at once (a paste, a drop, a screen reader's edit), beside what it
    // keeps of the box: the text that goes in, each character as the key rule makes it, or
    // nothing when the rule refuses any of them. Beeps never; the caller tells the user.
    std::optional<QString> admitInsertion(const QString& kept, const QString& incoming) const;

    // Change rule: a number typed into a box is converted into the other box.
    void Text1_Change(qint16 Index) { change(Text1, Index, &Ruriruz::ConvertLinear); }
    void Text2_Change(qint16 Index) { change(Text2, Index, &Ruriruz::ConvertArea); }
    void Text3_Change(qint16 Index) { change(Text3, Index, &Ruriruz::ConvertVolume); }
    void Text4_Change(qint16 Index) { change(Text4, Index, &Ruriruz::ConvertQuotient); }
    void Text5_Change(qint16 Index) { change(Text5, Index, &Ruriruz::ConvertMoment); }

    // Click rule: a unit pick converts box 0 into box 1.
    void List1_Click(qint16) { click(&Ruriruz::ConvertLinear); }
    void List2_Click(qint16) { click(&Ruriruz::ConvertArea); }
    void List3_Click(qint16) { click(&Ruriruz::ConvertVolume); }
    // Shows the denominator picker only where the numerator row needs one, then converts.
    void Combo1_Click(qint16 Index);
    void Combo2_Click(qint16) { click(&Ruriruz::ConvertQuotient); }
    void Combo3_Click(qint16) { click(&Ruriruz::ConvertMoment); }
    void Combo4_Click(qint16) { click(&Ruriruz::ConvertMoment); }
    void Combo5_Click(qint16) { click(&Ruriruz::ConvertMoment); }

    // Recompute procedures: Index names the source box and comes back naming the target box.
    void ConvertLinear(qint16& Index);
    void ConvertArea(qint16& Index);
    void ConvertVolume(qint16& Index);
    void ConvertQuotient(qint16& Index);
    void ConvertMoment(qint16& Index);

    using Recompute = void (Ruriruz::*)(qint16&);

    void buildDesign();
    void buildListPanels();
    void buildPickerPanels();
    void chainFocus();
    void buildMenu();
    void tipFixedPickers();
    void connectHandlers();
    // A picker pair's selection notification runs the handler with the picker's index.
    template <typename Picker>
    void connectClicks(const Pair<Picker>& pair, void (Picker::*changed)(int),
                       void (Ruriruz::*handler)(qint16)) {
        for (qint16 i = 0; i < 2; ++i) {
            connect(pair[static_cast<std::size_t>(i)], changed, this,
                    [this, i, handler] { (this->*handler)(i); });
        }
    }
    void layOut();
    int layOutListPanels(int valueBox);
    int layOutPickerPanels(int valueBox);
    void layOutFrames(int frameWidth);
    // The value box and unit list pairs of panels 1 to 3.
    std::array<std::pair<Pair<TextBox>*, Pair<QListWidget>*>, 3> listPanels() {
        return {std::pair{&Text1, &List1}, std::pair{&Text2, &List2}, std::pair{&Text3, &List3}};
    }

    void keyPress(const Pair<TextBox>& box, qint16 Index, char16_t& KeyAscii);
    void change(const Pair<TextBox>& box, qint16 Index, Recompute recompute);
    void click(Recompute recompute);
    // The steps that take a number in one side's units to the base unit, or nothing when a
    // picker's row lies outside its table.
    using Side = std::optional<std::vector<convert::Step>>;
    void convertBetween(const Pair<TextBox>& text, qint16& Index,
                        const std::function<Side(std::size_t side)>& sideSteps);
    Side listSide(const Pair<QListWidget>& list, convert::Measure measure, std::size_t side) const;
    Side pickedSide(const convert::Quantity& quantity,
                    const std::array<const Pair<QComboBox>*, 3>& combos, std::size_t side) const;
    // The quantity of the selected tab, when the given panel serves it.
    const convert::Quantity* panelQuantity(convert::Panel panel);
    // A conversion that cannot finish empties the other box; the user hears it.
    void endedEarly(TextBox* target);
    // The program's own write into a box: it converts nothing, and shows the text's start.
    void write(TextBox* box, const QString& text);

    void setUpListPanel(convert::Panel panel, const Pair<TextBox>& text,
                        const Pair<QListWidget>& list);
    void setUpQuotientPanel(const convert::Quantity& quantity);
    void setUpMomentPanel(const convert::Quantity& quantity);
    void showFrame(convert::Panel panel);
    void stepCategory(int delta);
    // The accessible descriptions of a panel's value boxes (1..5): units and the other result.
    void connectDescriptions();
    void describeValues(convert::Panel panel);
    QString unitsOf(convert::Panel panel, std::size_t i) const;

    Desktop& desktop_;
    NumberText numbers_;
};
