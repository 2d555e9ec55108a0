#include "testkit.h"
#include "window/tabstrip.h"
#include "windowfixture.h"

#include <QProxyStyle>
#include <QSignalSpy>
#include <QStyleOption>
#include <QtTest>

#include <memory>

namespace {

// Counts the key presses that reach the window, i.e. those the strip passed on to its parent.
class KeyRecorder : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

// Notes where the tab frame is told its opening lies, as the styles that cut the frame under
// the selected tab read it (Qt's own draw the tab over the frame instead).
class FrameSpy : public QProxyStyle {
public:
    mutable QRect opening;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (const auto* frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(option)) {
            opening = frame->selectedTabRect;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

}  // namespace

class TestTabStrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        window_ = std::make_unique<QWidget>();
        window_->resize(900, 300);
        strip_ = new TabStrip(window_.get());
        strip_->setStyle(&frameSpy_);
        strip_->setCaptions(testkit::tabCaptions);
        strip_->setGeometry(0, 0, 393, 265);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void layoutFillsRowsWithoutClipping_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("wider");  // a width that must need fewer rows; 0 for none
        QTest::newRow("wide") << 850 << 0;
        QTest::newRow("window width") << 393 << 850;
        QTest::newRow("narrow") << 260 << 393;
    }
    void layoutFillsRowsWithoutClipping() {
        QFETCH(int, width);
        QFETCH(int, wider);
        strip_->setGeometry(0, 0, width, 265);
        // The last tab's row is the last one laid out: the rows are drawn in their own order.
        strip_->setSelectedIndex(strip_->count());
        const QFontMetrics metrics = strip_->fontMetrics();
        const QRect area(0, 0, width, strip_->tabAreaHeight());
        int rows = 1;
        for (int i = 1; i <= strip_->count(); ++i) {
            const QRect r = strip_->tabRect(i);
            QVERIFY2(area.contains(r), qPrintable(testkit::tabCaptions.at(i - 1)));
            QVERIFY(r.width() > metrics.horizontalAdvance(testkit::tabCaptions.at(i - 1)));
            if (i > 1) {
                // Caption order, edge to edge, every row full width: no gaps and no overlaps.
                const QRect prev = strip_->tabRect(i - 1);
                const bool sameRow = r.top() == prev.top() && r.left() == prev.right() + 1;
                const bool nextRow = r.top() == prev.bottom() + 1 && r.left() == 0;
                QVERIFY2(sameRow || nextRow, qPrintable(testkit::tabCaptions.at(i - 1)));
                if (nextRow) {
                    QCOMPARE(prev.right(), width - 1);
                    ++rows;
                }
            }
        }
        QCOMPARE(strip_->tabRect(strip_->count()).right(), width - 1);
        QCOMPARE(rows, strip_->rowCount());
        if (wider > 0) {
            const int height = strip_->tabAreaHeight();
            strip_->setGeometry(0, 0, wider, 265);
            QVERIFY(strip_->rowCount() < rows);
            QVERIFY(strip_->tabAreaHeight() < height);
        }
    }

    void oversizedCaptionGetsItsOwnRow_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("rows");
        QTest::newRow("first") << 1 << 2;
        QTest::newRow("middle") << 2 << 3;
        QTest::newRow("last") << 3 << 2;
    }
    void oversizedCaptionGetsItsOwnRow() {
        QFETCH(int, position);
        QFETCH(int, rows);
        QStringList captions{testkit::tabCaptions.at(7), testkit::tabCaptions.at(9)};
        captions.insert(position - 1, testkit::tabCaptions.at(6));
        strip_->setCaptions(captions);
        // Exactly the text width: with any padding the caption cannot share a row.
        const int width = strip_->fontMetrics().horizontalAdvance(testkit::tabCaptions.at(6));
        strip_->setGeometry(0, 0, width, 100);
        QCOMPARE(strip_->rowCount(), rows);
        const QRect wide = strip_->tabRect(position);
        QCOMPARE(wide, QRect(0, wide.top(), width, wide.height()));
    }

    void fontChangeRelayouts() {
        const int before = strip_->tabAreaHeight();
        QFont font = strip_->font();
        font.setPointSizeF(font.pointSizeF() * 2);
        strip_->setFont(font);
        QVERIFY(strip_->tabAreaHeight() > before);
        QVERIFY(strip_->tabRect(1).width() >
                strip_->fontMetrics().horizontalAdvance(testkit::tabCaptions[0]));
    }

    void mouseSelects_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("emitted");
        QTest::newRow("neighbour") << 1 << 2 << 1;
        QTest::newRow("last row") << 1 << 13 << 1;
        QTest::newRow("back to first") << 11 << 1 << 1;
        QTest::newRow("already selected") << 7 << 7 << 0;
        QTest::newRow("first row, from the last") << 13 << 2 << 1;
    }
    void mouseSelects() {
        QFETCH(int, start);
        QFETCH(int, target);
        QFETCH(int, emitted);
        strip_->setSelectedIndex(start);
        const QList<QList<int>> rows = shownTabRows(*strip_);
        QSignalSpy spy(strip_, &TabStrip::clicked);
        // Where the tab is drawn now, which is not where it was laid out unless its row is last.
        QTest::mouseClick(strip_, Qt::LeftButton, {}, strip_->tabRect(target).center());
        QCOMPARE(strip_->selectedIndex(), target);
        QCOMPARE(spy.count(), emitted);
        QCOMPARE(strip_->accessibleDescription(), testkit::tabCaptions.at(target - 1));
        QCOMPARE(shownTabRows(*strip_), withRowOfTabLast(rows, target));
        QCOMPARE(strip_->tabRect(target).bottom(), strip_->tabAreaHeight() - 1);
        strip_->repaint();  // the frame opens where the tab is drawn
        QCOMPARE(frameSpy_.opening, strip_->tabRect(target));
    }

    void keysMoveSelection_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("emitted");
        QTest::addColumn<bool>("passedOn");
        QTest::newRow("right") << 5 << Qt::Key_Right << 6 << 1 << false;
        QTest::newRow("down") << 4 << Qt::Key_Down << 5 << 1 << false;
        QTest::newRow("left") << 5 << Qt::Key_Left << 4 << 1 << false;
        QTest::newRow("up") << 8 << Qt::Key_Up << 7 << 1 << false;
        QTest::newRow("home") << 9 << Qt::Key_Home << 1 << 1 << false;
        QTest::newRow("end") << 2 << Qt::Key_End << 13 << 1 << false;
        QTest::newRow("left at first") << 1 << Qt::Key_Left << 1 << 0 << false;
        QTest::newRow("up at first") << 1 << Qt::Key_Up << 1 << 0 << false;
        QTest::newRow("right at last") << 13 << Qt::Key_Right << 13 << 0 << false;
        QTest::newRow("down at last") << 13 << Qt::Key_Down << 13 << 0 << false;
        QTest::newRow("letter") << 5 << Qt::Key_A << 5 << 0 << true;
        QTest::newRow("escape") << 5 << Qt::Key_Escape << 5 << 0 << true;
    }
    void keysMoveSelection() {
        QFETCH(int, start);
        QFETCH(Qt::Key, key);
        QFETCH(int, expected);
        QFETCH(int, emitted);
        QFETCH(bool, passedOn);
        strip_->setSelectedIndex(start);
        const QList<QList<int>> rows = shownTabRows(*strip_);
        KeyRecorder recorder;
        window_->installEventFilter(&recorder);
        QSignalSpy spy(strip_, &TabStrip::clicked);
        QTest::keyClick(strip_, key);
        QCOMPARE(strip_->selectedIndex(), expected);
        QCOMPARE(spy.count(), emitted);
        QCOMPARE(recorder.presses > 0, passedOn);
        QCOMPARE(shownTabRows(*strip_), withRowOfTabLast(rows, expected));
    }

    void programmaticChangesAreSilent() {
        QSignalSpy spy(strip_, &TabStrip::clicked);
        strip_->setSelectedIndex(10);
        QCOMPARE(strip_->selectedIndex(), 10);
        QCOMPARE(strip_->accessibleDescription(), testkit::tabCaptions.at(9));
        strip_->setSelectedIndex(14);
        strip_->setSelectedIndex(0);
        QCOMPARE(strip_->selectedIndex(), 10);

        strip_->setCaptions(testkit::tabCaptions.mid(0, 3));
        QCOMPARE(strip_->selectedIndex(), 1);
        QCOMPARE(strip_->accessibleDescription(), testkit::tabCaptions.at(0));
        QVERIFY(strip_->tabRect(4).isNull());
        strip_->setCaptions({});
        QCOMPARE(strip_->selectedIndex(), 0);
        QCOMPARE(strip_->tabAreaHeight(), 0);
        QTest::keyClick(strip_, Qt::Key_End);
        QTest::mouseClick(strip_, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(spy.count(), 0);
    }

private:
    FrameSpy frameSpy_;
    std::unique_ptr<QWidget> window_;
    TabStrip* strip_ = nullptr;
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
