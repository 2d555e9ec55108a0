#include "window/tabstrip.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

namespace {

// Room above and below the caption, in pixels, so a row reads as a tab and not a text line.
constexpr int verticalPadding = 8;

// Greedy fill in caption order: the first tab of each row. A caption too wide for any row still
// gets one of its own.
QList<qsizetype> breakRows(const QList<int>& natural, int limit) {
    QList<qsizetype> starts{0};
    int used = 0;
    for (qsizetype i = 0; i < natural.size(); ++i) {
        if (i > starts.last() && used + natural.at(i) > limit) {
            starts.append(i);
            used = 0;
        }
        used += natural.at(i);
    }
    return starts;
}

// The rows of a greedy fill, evened out: the narrowest limit that needs no more rows than the
// full width, so the last row is not left with a lone tab.
QList<qsizetype> evenRows(const QList<int>& natural, int available) {
    const QList<qsizetype> full = breakRows(natural, available);
    int low = *std::max_element(natural.cbegin(), natural.cend());
    int high = available;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (breakRows(natural, mid).size() <= full.size()) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return high < available ? breakRows(natural, high) : full;
}

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Категория величины"));
}

void TabStrip::setCaptions(const QStringList& captions) {
    captions_ = captions;
    selected_ = captions.isEmpty() ? 0 : 1;
    setAccessibleDescription(captions.isEmpty() ? QString() : captions.first());
    invalidateLayout();
}

int TabStrip::count() const {
    return int(captions_.size());
}

QString TabStrip::caption(int index) const {
    return index >= 1 && index <= count() ? captions_.at(index - 1) : QString();
}

int TabStrip::selectedIndex() const {
    return selected_;
}

void TabStrip::setSelectedIndex(int index) {
    select(index, false);
}

int TabStrip::rowCount() const {
    ensureLaidOut();
    return rows_;
}

int TabStrip::tabAreaHeight() const {
    ensureLaidOut();
    return rows_ * rowHeight();
}

QRect TabStrip::tabRect(int index) const {
    if (index < 1 || index > count()) {
        return {};
    }
    ensureLaidOut();
    const int row = rowOf_.at(index - 1);
    return rects_.at(index - 1).translated(0, (shownRow(row, selected_) - row) * rowHeight());
}

// The row holding the selected tab is drawn last, next to the page it opens; the rows it
// leaves keep their order above it. A row keeps its tabs: rows only change places.
int TabStrip::shownRow(int row, int selectedTab) const {
    const int selectedRow = selectedTab > 0 ? rowOf_.at(selectedTab - 1) : rows_ - 1;
    if (row == selectedRow) {
        return rows_ - 1;
    }
    return row > selectedRow ? row - 1 : row;
}

QSize TabStrip::sizeHint() const {
    return {393, 265};
}

int TabStrip::rowHeight() const {
    return fontMetrics().height() + verticalPadding;
}

// The style centres the label inside the tab minus this much, so a tab this much wider than
// its text can never cut the caption, whatever the style.
int TabStrip::horizontalPadding() const {
    return qMax(12, style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this));
}

// Laying out measures every caption, so it waits until someone asks where the tabs are. A hidden
// widget also hears of its new size only when shown, and the window asks before that.
void TabStrip::invalidateLayout() {
    laidOutWidth_ = -1;
    update();
}

void TabStrip::ensureLaidOut() const {
    if (laidOutWidth_ != width()) {
        const_cast<TabStrip*>(this)->relayout();
    }
}

void TabStrip::relayout() {
    laidOutWidth_ = width();
    rects_.clear();
    rowOf_.clear();
    rows_ = 0;
    if (captions_.isEmpty()) {
        update();
        return;
    }
    const int available = qMax(1, width());
    const int padding = horizontalPadding();
    const QFontMetrics metrics = fontMetrics();
    QList<int> natural;
    natural.reserve(captions_.size());
    for (const QString& caption : captions_) {
        natural.append(metrics.horizontalAdvance(caption) + padding);
    }
    justifyRows(natural, evenRows(natural, available), available);
    update();
}

// Justifies each row to the full width, sharing the slack in proportion to natural widths.
// Rounding the running edge rather than each width keeps the row exactly full and never gives
// a tab less than its natural width.
void TabStrip::justifyRows(const QList<int>& natural, const QList<qsizetype>& rowStart,
                           int available) {
    const qsizetype n = natural.size();
    const int height = rowHeight();
    rows_ = int(rowStart.size());
    rects_.resize(n);
    rowOf_.resize(n);
    for (int row = 0; row < rows_; ++row) {
        const qsizetype begin = rowStart.at(row);
        const qsizetype end = row + 1 < rows_ ? rowStart.at(row + 1) : n;
        qint64 total = 0;
        for (qsizetype i = begin; i < end; ++i) {
            total += natural.at(i);
        }
        qint64 running = 0;
        int left = 0;
        for (qsizetype i = begin; i < end; ++i) {
            running += natural.at(i);
            const int right = int(available * running / total);
            rects_[i] = QRect(left, row * height, right - left, height);
            rowOf_[i] = row;
            left = right;
        }
    }
}

void TabStrip::select(int index, bool notify) {
    if (index < 1 || index > count() || index == selected_) {
        return;
    }
    const int previous = selected_;
    selected_ = index;
    setAccessibleDescription(captions_.at(index - 1));
    update();
    if (QAccessible::isActive()) {
        announceSelection(previous);
    }
    if (notify) {
        Q_EMIT clicked();
    }
}

// Screen readers hear of both tabs whose selected state changed and, while the strip has the
// keyboard, that the focus moved with the selection.
void TabStrip::announceSelection(int previous) {
    QAccessible::State selected;
    selected.selected = true;
    for (const auto& [tab, type] : {std::pair{previous, QAccessible::SelectionRemove},
                                    {selected_, QAccessible::SelectionAdd}}) {
        if (tab < 1) {
            continue;
        }
        QAccessibleStateChangeEvent changed(this, selected);
        changed.setChild(tab - 1);
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent selection(this, type);
        selection.setChild(tab - 1);
        QAccessible::updateAccessibility(&selection);
    }
    // Rows changed places: the tabs that moved say so, and a screen reader's pointer follows.
    ensureLaidOut();
    for (int i = 0; i < count(); ++i) {
        if (shownRow(rowOf_.at(i), previous) != shownRow(rowOf_.at(i), selected_)) {
            QAccessibleEvent moved(this, QAccessible::LocationChanged);
            moved.setChild(i);
            QAccessible::updateAccessibility(&moved);
        }
    }
    if (hasFocus()) {
        announceFocusedTab();
    }
}

// Within the strip, the keyboard rests on the selected tab: that is what a screen reader reads.
void TabStrip::announceFocusedTab() {
    if (selected_ > 0) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(selected_ - 1);
        QAccessible::updateAccessibility(&focus);
    }
}

void TabStrip::initTabOption(QStyleOptionTab* option, int index) const {
    option->initFrom(this);
    // Focus and hover belong to the widget, not to a tab; copied as they are, they would mark
    // every tab at once.
    option->state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option->shape = QTabBar::RoundedNorth;
    option->features |= QStyleOptionTab::HasFrame;
    option->rect = tabRect(index);
    // The style treats '&' as a mnemonic marker; captions are plain text.
    option->text = captions_.at(index - 1);
    option->text.replace(QLatin1Char('&'), QStringLiteral("&&"));

    const int row = rowOf_.at(index - 1);
    option->row = shownRow(row, selected_);
    const bool first = index == 1 || rowOf_.at(index - 2) != row;
    const bool last = index == count() || rowOf_.at(index) != row;
    if (first && last) {
        option->position = QStyleOptionTab::OnlyOneTab;
    } else if (first) {
        option->position = QStyleOptionTab::Beginning;
    } else if (last) {
        option->position = QStyleOptionTab::End;
    } else {
        option->position = QStyleOptionTab::Middle;
    }

    option->selectedPosition = QStyleOptionTab::NotAdjacent;
    if (!first && selected_ == index - 1) {
        option->selectedPosition = QStyleOptionTab::PreviousIsSelected;
    } else if (!last && selected_ == index + 1) {
        option->selectedPosition = QStyleOptionTab::NextIsSelected;
    }

    // State_HasFocus stays off: the common style answers it with a focus frame around the
    // whole tab, which doubled the one paintEvent() draws around the caption.
    if (index == selected_) {
        option->state |= QStyle::State_Selected;
    }
}

void TabStrip::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    paintFrame(painter);
    // The selected tab goes last so its raised outline is not covered by a neighbour.
    for (int index = 1; index <= count(); ++index) {
        if (index != selected_) {
            paintTab(painter, index);
        }
    }
    if (selected_ > 0) {
        paintTab(painter, selected_);
        if (hasFocus()) {
            paintFocus(painter);
        }
    }
}

void TabStrip::paintFrame(QStylePainter& painter) const {
    const int tabsHeight = tabAreaHeight();
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    // Tuck the frame's top edge under the bottom row, as QTabWidget does, so a selected tab
    // there opens into the page instead of sitting on a line.
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = QRect(0, tabsHeight - overlap, width(), height() - tabsHeight + overlap);
    frame.tabBarSize = QSize(width(), tabsHeight);
    frame.tabBarRect = QRect(0, 0, width(), tabsHeight);
    // The selected tab's row lies on the page, so the tab opens into it.
    if (selected_ > 0) {
        frame.selectedTabRect = tabRect(selected_);
    }
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

// Each tab is clipped to its own cell: styles may paint past the rect to merge the tab with a
// page right below it, which would smear over the rows underneath here.
void TabStrip::paintTab(QStylePainter& painter, int index) const {
    QStyleOptionTab option;
    initTabOption(&option, index);
    painter.save();
    painter.setClipRect(option.rect);
    painter.drawControl(QStyle::CE_TabBarTab, option);
    painter.restore();
}

// The focus frame goes around the selected caption, inside its cell.
void TabStrip::paintFocus(QStylePainter& painter) const {
    const QRect cell = tabRect(selected_);
    const QFontMetrics metrics = fontMetrics();
    QRect text(0, 0, metrics.horizontalAdvance(captions_.at(selected_ - 1)), metrics.height());
    text.moveCenter(cell.center());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(QPalette::Window);
    focus.rect = text.adjusted(-3, -1, 3, 1).intersected(cell.adjusted(2, 2, -2, -2));
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidateLayout();
}

void TabStrip::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        invalidateLayout();
    }
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (QAccessible::isActive()) {
        announceFocusedTab();
    }
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    for (int index = 1; index <= count(); ++index) {
        if (tabRect(index).contains(pos)) {
            select(index, true);
            break;
        }
    }
    event->accept();
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
    if (selected_ == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    int target = 0;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            target = qMax(1, selected_ - 1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            target = qMin(count(), selected_ + 1);
            break;
        case Qt::Key_Home:
            target = 1;
            break;
        case Qt::Key_End:
            target = count();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    select(target, true);
    event->accept();
}
