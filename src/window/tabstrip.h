#pragma once

#include <QList>
#include <QRect>
#include <QStringList>
#include <QWidget>

class QStyleOptionTab;
class QStylePainter;

// A tab strip that wraps its tabs onto as many rows as the width needs, so every caption is
// visible in full at once. QTabBar can only scroll or elide, which hides categories.
class TabStrip : public QWidget {
    Q_OBJECT

public:
    explicit TabStrip(QWidget* parent = nullptr);

    // Replaces all tabs; the first one becomes selected.
    void setCaptions(const QStringList& captions);
    int count() const;
    // Tabs are numbered from 1; an empty string for a number out of range.
    QString caption(int index) const;

    // Tabs are numbered from 1; 0 means there are no tabs.
    int selectedIndex() const;
    // Selects without emitting clicked(), since the caller already knows; out-of-range is ignored.
    void setSelectedIndex(int index);
    // Selects the tab as a click on it does, emitting clicked() when the selection moves; how a
    // screen reader picks a tab.
    void clickTab(int index) { select(index, true); }

    int rowCount() const;
    // The page area starts right below this many pixels.
    int tabAreaHeight() const;
    QRect tabRect(int index) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The user picked a different tab, by mouse or keyboard.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void relayout();
    void justifyRows(const QList<int>& natural, const QList<qsizetype>& rowStart, int available);
    void ensureLaidOut() const;
    void invalidateLayout();
    int rowHeight() const;
    int shownRow(int row, int selectedTab) const;
    int horizontalPadding() const;
    void select(int index, bool notify);
    void announceSelection(int previous);
    void announceFocusedTab();
    void initTabOption(QStyleOptionTab* option, int index) const;
    void paintFrame(QStylePainter& painter) const;
    void paintTab(QStylePainter& painter, int index) const;
    void paintFocus(QStylePainter& painter) const;

    QStringList captions_;
    QList<QRect> rects_;  // parallel to captions_, each in its row's own place
    QList<int> rowOf_;    // 0-based row of each tab, in caption order
    int rows_ = 0;
    int laidOutWidth_ = -1;
    int selected_ = 0;
};
