#include "window/design.h"

#include "platform/textbox.h"
#include "window/categories.h"
#include "window/ruriruz.h"
#include "window/tabstrip.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <algorithm>

std::vector<Span> flowRow(const std::vector<QRect>& designed, const std::vector<int>& needed) {
    std::vector<Span> spans;
    int shift = 0;  // how far earlier controls have pushed this one to the right
    for (std::size_t i = 0; i < designed.size(); ++i) {
        const QRect& d = designed[i];
        const int width = std::max(d.width(), needed[i]);
        spans.push_back({d.left() + shift, width});
        shift += width - d.width();
    }
    return spans;
}

namespace {

using convert::Panel;

// Geometry of the design, in twips, relative to each control's container.
constexpr QRect tabStripDesign = twips(120, 0, 5895, 3975);
constexpr QRect frameDesign = twips(240, 960, 5655, 2895);
constexpr QSize clientDesign(twips(6135), twips(4050));
constexpr int frameMarginRight = twips(240);
constexpr std::array<QRect, 2> listBoxDesign{twips(240, 240, 2415, 315),
                                             twips(3000, 240, 2415, 315)};
constexpr std::array<QRect, 2> listDesign{twips(240, 720, 2415, 2010),
                                          twips(3000, 720, 2415, 2010)};
constexpr std::array<int, 2> rowTop{twips(240), twips(720)};
// The rows of the quotient and moment panels: value box, pickers and the labels between them.
constexpr std::array<QRect, 4> quotientRow{twips(120, 0, 2055, 315), twips(2280, 0, 855, 315),
                                           twips(3210, 0, 60, 240), twips(3360, 0, 975, 315)};
constexpr std::array<QRect, 6> momentRow{twips(120, 0, 2055, 315), twips(2280, 0, 855, 315),
                                         twips(3210, 0, 60, 240),  twips(3360, 0, 975, 315),
                                         twips(4410, 0, 75, 240),  twips(4560, 0, 855, 315)};

// The width a drop-down list needs to show the longest of the rows it can ever hold.
int pickerWidth(const QComboBox* combo, const QStringList& rows) {
    int text = 0;
    for (const QString& row : rows) {
        text = std::max(text, combo->fontMetrics().horizontalAdvance(row));
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QSize contents(text, combo->fontMetrics().height());
    return combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, combo).width();
}

// The width a value box needs to show whole the longest number the program writes into it:
// 15 significant digits with a sign, a separator and an exponent, such as
// -1.79769313486231E+308, or a fixed-point one such as -0.000123456789012345. Every digit is
// counted at the widest digit's advance, and either separator may be the locale's.
int valueBoxWidth(const QLineEdit* box) {
    const QFontMetrics metrics = box->fontMetrics();
    int digit = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c) {
        digit = std::max(digit, metrics.horizontalAdvance(QChar(c)));
    }
    const int marks = metrics.horizontalAdvance(u'-') +
                      std::max(metrics.horizontalAdvance(u'.'), metrics.horizontalAdvance(u',')) +
                      metrics.horizontalAdvance(u'E') +
                      std::max(metrics.horizontalAdvance(u'+'), metrics.horizontalAdvance(u'-'));
    const int text = marks + 19 * digit;  // the fixed-point form: 4 zeros and 15 digits
    // What a line edit puts around its text: its margins and frame, as its size hint counts.
    const QMargins margins = box->textMargins();
    constexpr int lineEditMargin = 2;  // each side of the text, inside the frame
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QSize contents(text + 2 * lineEditMargin + margins.left() + margins.right() + 1,
                         box->sizeHint().height());
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, box).width();
}

// A list shows whole rows only, as many as its designed height holds (one at the least), so no
// unit is cut in half at the bottom.
int listHeight(const QListWidget* list) {
    const int frame = 2 * list->frameWidth();
    const int row = std::max(1, list->sizeHintForRow(0));
    const int rows = std::max(1, (listDesign[0].height() - frame) / row);
    return rows * row + frame;
}

int listWidth(const QListWidget* list) {
    return list->sizeHintForColumn(0) + 2 * list->frameWidth() +
           list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 4;
}

// Every row that the given picker of a panel may be filled with, in any category.
QStringList allRows(convert::Panel panel, std::size_t picker) {
    QStringList rows;
    for (int n = 1; n <= window::categoryCount; ++n) {
        const window::Category& category = *window::categoryAt(n);
        if (category.panel == panel) {
            rows << window::unitTexts(category.quantity().pickers[picker]);
        }
    }
    return rows;
}

// Places both rows of a quotient or moment panel alike, each control in a column of its own;
// the labels sit centred on the row. Returns the right edge of the rows.
int placeRows(const std::vector<QRect>& design, const std::vector<std::array<QWidget*, 2>>& row,
              const std::vector<int>& needed, int rowHeight) {
    const std::vector<Span> spans = flowRow(design, needed);
    for (std::size_t r = 0; r < 2; ++r) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            QWidget* w = row[c][r];
            const bool label = qobject_cast<QLabel*>(w) != nullptr;
            const int height = label ? design[c].height() : rowHeight;
            w->setGeometry(spans[c].left, rowTop[r] + (rowHeight - height) / 2, spans[c].width,
                           height);
        }
    }
    return spans.back().left + spans.back().width;
}

int labelWidth(const Ruriruz::Pair<QLabel>& label) {
    return label[0]->sizeHint().width();
}

}  // namespace

void Ruriruz::layOut() {
    const int valueBox = valueBoxWidth(Text1[0]);
    const int lists = layOutListPanels(valueBox);
    const int pickers = layOutPickerPanels(valueBox);
    layOutFrames(std::max(lists, pickers));
}

// Panels 1 to 3: two columns, each a value box over its unit list. Returns the panels' width.
int Ruriruz::layOutListPanels(int valueBox) {
    int column = std::max(listDesign[0].width(), valueBox);
    for (const auto& panel : listPanels()) {
        column = std::max(column, listWidth((*panel.second)[0]));
    }
    const std::vector<Span> columns = flowRow({listDesign[0], listDesign[1]}, {column, column});
    const int boxHeight = std::max(listBoxDesign[0].height(), Text1[0]->sizeHint().height());
    for (const auto& [text, list] : listPanels()) {
        for (std::size_t i = 0; i < 2; ++i) {
            (*text)[i]->setGeometry(columns[i].left, listBoxDesign[i].top(), columns[i].width,
                                    boxHeight);
            (*list)[i]->setGeometry(columns[i].left, listDesign[i].top(), columns[i].width,
                                    listHeight((*list)[i]));
        }
    }
    return columns[1].left + columns[1].width + frameMarginRight;
}

// Panels 4 and 5: two rows, each a value box followed by its pickers and the labels between
// them. Returns the width of the wider panel.
int Ruriruz::layOutPickerPanels(int valueBox) {
    const int rowHeight =
        std::max({twips(315), Text4[0]->sizeHint().height(), Combo1[0]->sizeHint().height()});
    const int quotient =
        placeRows({quotientRow.begin(), quotientRow.end()},
                  {{Text4[0], Text4[1]},
                   {Combo1[0], Combo1[1]},
                   {Label1[0], Label1[1]},
                   {Combo2[0], Combo2[1]}},
                  {valueBox, pickerWidth(Combo1[0], allRows(Panel::Quotient, 0)),
                   labelWidth(Label1), pickerWidth(Combo2[0], allRows(Panel::Quotient, 1))},
                  rowHeight);
    const int moment =
        placeRows({momentRow.begin(), momentRow.end()},
                  {{Text5[0], Text5[1]},
                   {Combo3[0], Combo3[1]},
                   {Label3[0], Label3[1]},
                   {Combo4[0], Combo4[1]},
                   {Label4[0], Label4[1]},
                   {Combo5[0], Combo5[1]}},
                  {valueBox, pickerWidth(Combo3[0], allRows(Panel::Moment, 0)), labelWidth(Label3),
                   pickerWidth(Combo4[0], allRows(Panel::Moment, 1)), labelWidth(Label4),
                   pickerWidth(Combo5[0], allRows(Panel::Moment, 2))},
                  rowHeight);
    return std::max(quotient, moment) + frameMarginRight;
}

// The tab strip wraps the panels; its rows of tabs may need more room than designed, and the
// window grows with it.
void Ruriruz::layOutFrames(int frameWidth) {
    const int frameHeight = frameDesign.height();
    const int stripWidth = frameWidth + 2 * (frameDesign.left() - tabStripDesign.left());
    TabStrip1->setGeometry(tabStripDesign.left(), tabStripDesign.top(), stripWidth,
                           tabStripDesign.height());
    const int frameTop = std::max(frameDesign.top(), TabStrip1->tabAreaHeight() + twips(120));
    const int stripHeight =
        frameTop + frameHeight + tabStripDesign.height() - frameDesign.top() - frameDesign.height();
    TabStrip1->resize(stripWidth, stripHeight);
    for (QGroupBox* frame : frames()) {
        frame->setGeometry(frameDesign.left(), frameTop, frameWidth, frameHeight);
    }

    const QSize client(std::max(clientDesign.width(), tabStripDesign.left() * 2 + stripWidth),
                       std::max(clientDesign.height(),
                                stripHeight + clientDesign.height() - tabStripDesign.height()));
    centralWidget()->setFixedSize(client);
}
