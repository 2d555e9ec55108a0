// What selecting each of the thirteen tabs does to the panels, boxes and pickers.
#include "testkit.h"
#include "window/categories.h"
#include "windowfixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>

namespace {

QStringList rows(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
    }
    return texts;
}

const QStringList speedNumerators{"км", "м", "см", "мм", "дюйм"};
// Mega is a capital M: a Latin one in "MN", a Cyrillic one in "МПа" (lower case is milli).
const QStringList forces{"N", "kN", "MN", "кг", "т"};

}  // namespace

class TestSetup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The tabs in their order; a number outside them names no category.
    void tabsInOrder() {
        WindowFixture f;
        for (int n = 1; n <= window::categoryCount; ++n) {
            QCOMPARE(f.w().controls().TabStrip1->caption(n), testkit::tabCaptions.at(n - 1));
        }
        QCOMPARE(window::categoryAt(0), nullptr);
        QCOMPARE(window::categoryAt(window::categoryCount + 1), nullptr);
    }

    void everyTab_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("frame");
        QTest::addColumn<QStringList>("numerators");    // panel 4 only
        QTest::addColumn<QStringList>("denominators");  // panel 4, when it fills them
        QTest::addColumn<bool>("denominatorShown");

        const QStringList none;
        QTest::newRow("Линейные размеры") << 1 << 1 << none << none << false;
        QTest::newRow("Площади") << 2 << 2 << none << none << false;
        QTest::newRow("Объемы") << 3 << 3 << none << none << false;
        QTest::newRow("Скорости") << 4 << 4 << speedNumerators << QStringList{"час", "мин", "сек"}
                                  << true;
        QTest::newRow("Ускорения") << 5 << 4 << (speedNumerators + QStringList{"g"})
                                   << QStringList{"час^2", "мин^2", "сек^2"} << true;
        QTest::newRow("Моменты") << 6 << 5 << none << none << false;
        QTest::newRow("Распределенные моменты") << 7 << 5 << none << none << true;
        QTest::newRow("Углы") << 8 << 4 << QStringList{"градус", "радиан", "град"} << none << false;
        QTest::newRow("Времена") << 9 << 4 << QStringList{"час", "мин", "сек"} << none << false;
        QTest::newRow("Силы") << 10 << 4 << forces << none << false;
        QTest::newRow("Распределенные силы")
            << 11 << 4 << forces << QStringList{"м", "см", "мм", "дюйм"} << true;
        QTest::newRow("Давления") << 12 << 4 << (forces + QStringList{"Па", "кПа", "МПа"})
                                  << QStringList{"м^2", "см^2", "мм^2", "дюйм^2"} << true;
        QTest::newRow("Удельные веса")
            << 13 << 4 << forces << QStringList{"м^3", "см^3", "мм^3", "дюйм^3"} << true;
    }

    // State: another category open, its box 0 typed into. Action: click the tab. Expected:
    // the panel alone is shown and set to its starting state.
    void everyTab() {
        QFETCH(int, tab);
        QFETCH(int, frame);
        QFETCH(QStringList, numerators);
        QFETCH(QStringList, denominators);
        QFETCH(bool, denominatorShown);

        WindowFixture f;
        Ruriruz& w = f.w();
        QCOMPARE(w.controls().TabStrip1->tabRect(tab).isEmpty(), false);
        f.selectTab(tab == 4 ? 2 : 4);
        f.selectTab(6);
        WindowFixture::retype(w.controls().Text5[0], QStringLiteral("12"));
        f.selectTab(tab == 4 ? 2 : 4);
        WindowFixture::type(
            std::array{w.controls().Text2[0], w.controls().Text4[0]}[tab == 4 ? 0 : 1],
            QStringLiteral("9"));

        f.selectTab(tab);
        QCOMPARE(w.controls().TabStrip1->selectedIndex(), tab);
        // The moment panel works box 1 out again from the 12 kept in box 0, as a program write.
        QCOMPARE(w.state().UpdateGuard, frame == 5 ? 1 : 3);
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(w.controls().frames()[static_cast<std::size_t>(i - 1)]->isVisible(),
                     i == frame);
        }
        for (std::size_t r = 0; r < 2; ++r) {
            switch (frame) {
                case 1:
                case 2:
                case 3:
                    QCOMPARE(f.boxes(tab)[r]->text(), "0");
                    QCOMPARE(static_cast<QListWidget*>(f.pickers(tab)[0][r])->currentRow(), 0);
                    break;
                case 4:
                    QCOMPARE(w.controls().Text4[r]->text(), "0");
                    QCOMPARE(rows(w.controls().Combo1[r]), numerators);
                    QCOMPARE(w.controls().Combo1[r]->currentIndex(), 0);
                    if (!denominators.isEmpty()) {
                        QCOMPARE(rows(w.controls().Combo2[r]), denominators);
                        QCOMPARE(w.controls().Combo2[r]->currentIndex(), 0);
                    }
                    QCOMPARE(w.controls().Combo2[r]->isVisible(), denominatorShown);
                    QCOMPARE(w.controls().Label1[r]->isVisible(), denominatorShown);
                    break;
                default:
                    QCOMPARE(w.controls().Text5[r]->text(),
                             "12");  // typed in box 0, converted into box 1
                    QCOMPARE(w.controls().Combo3[r]->currentIndex(), 0);
                    QCOMPARE(w.controls().Combo4[r]->currentIndex(), 0);
                    QCOMPARE(w.controls().Combo5[r]->isVisible(), denominatorShown);
                    QCOMPARE(w.controls().Label4[r]->isVisible(), denominatorShown);
                    if (denominatorShown) {
                        QCOMPARE(w.controls().Combo5[r]->currentIndex(), 0);
                    }
                    break;
            }
        }
        QCOMPARE(f.desktop.messages, QStringList{});
        QCOMPARE(f.desktop.beeps, 0);
    }

    // A category without a denominator leaves the hidden picker as the last one filled it.
    void hiddenDenominatorKeepsItsRows() {
        WindowFixture f;
        f.selectTab(4);
        f.selectTab(8);
        QCOMPARE(rows(f.w().controls().Combo2[0]), (QStringList{"час", "мин", "сек"}));
        QVERIFY(!f.w().controls().Combo2[0]->isVisible());
        f.selectTab(4);
        QVERIFY(f.w().controls().Combo2[0]->isVisible());
    }

    // Whole units on their own ("g", the pascals) hide the denominator of their own row only.
    void wholeUnitsHideTheirDenominator_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Ускорения: g") << "Ускорения"
                                      << "g" << false;
        QTest::newRow("Ускорения: дюйм") << "Ускорения"
                                         << "дюйм" << true;
        QTest::newRow("Давления: Па") << "Давления"
                                      << "Па" << false;
        QTest::newRow("Давления: МПа") << "Давления"
                                       << "МПа" << false;
        QTest::newRow("Давления: т") << "Давления"
                                     << "т" << true;
        QTest::newRow("Скорости: дюйм") << "Скорости"
                                        << "дюйм" << true;
    }

    void wholeUnitsHideTheirDenominator() {
        QFETCH(QString, caption);
        QFETCH(QString, unit);
        QFETCH(bool, shown);
        WindowFixture f;
        f.selectTab(caption);
        QComboBox* numerator = f.w().controls().Combo1[1];
        WindowFixture::pick(numerator, unit);
        QCOMPARE(numerator->currentText(), unit);
        QCOMPARE(f.w().controls().Combo2[1]->isVisible(), shown);
        QCOMPARE(f.w().controls().Label1[1]->isVisible(), shown);
        QVERIFY(f.w().controls().Combo2[0]->isVisible());
        QCOMPARE(f.w().state().UpdateGuard, 3);
    }

    // Tab walks from the tab strip to box 0 and its pickers from left to right, then box 1 and
    // its pickers; hidden pickers are passed over.
    void focusOrder_data() {
        QTest::addColumn<QString>("caption");
        for (const char* caption :
             {"Линейные размеры", "Скорости", "Углы", "Моменты", "Распределенные моменты"}) {
            QTest::newRow(caption) << QString::fromUtf8(caption);
        }
    }

    void focusOrder() {
        QFETCH(QString, caption);
        WindowFixture f;
        Ruriruz& w = f.w();
        const int tab = f.tabOf(caption);
        f.selectTab(tab);
        QList<QWidget*> expected;
        for (std::size_t r = 0; r < 2; ++r) {
            expected << f.boxes(tab)[r];
            for (const auto& picker : f.pickers(tab)) {
                if (picker[r]->isVisible()) {
                    expected << picker[r];
                }
            }
        }
        w.activateWindow();
        w.controls().TabStrip1->setFocus();
        QCOMPARE(QApplication::focusWidget(), w.controls().TabStrip1);
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    // Ctrl+Tab and Ctrl+Shift+Tab step through the tabs from a value box, round the ends.
    void ctrlTabStepsThroughCategories() {
        WindowFixture f;
        Ruriruz& w = f.w();
        w.activateWindow();
        w.controls().Text1[0]->setFocus();
        QTest::keyClick(w.controls().Text1[0], Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.controls().TabStrip1->selectedIndex(), 2);
        QVERIFY(w.controls().Frame2->isVisible());
        QCOMPARE(QApplication::focusWidget(), w.controls().TabStrip1);
        QTest::keyClick(w.controls().TabStrip1, Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(w.controls().TabStrip1, Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.controls().TabStrip1->selectedIndex(), 13);
        QVERIFY(w.controls().Frame4->isVisible());
        QCOMPARE(f.desktop.beeps, 0);
    }

    // Right after a set-up no pick converts: the boxes keep showing what the set-up wrote.
    void picksAfterSetUpConvertNothing() {
        WindowFixture f;
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("5"));
        f.selectTab(3);
        f.selectTab(1);
        WindowFixture::pick(f.w().controls().List1[0], QStringLiteral("Дюйм"));
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Вершок"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("0"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("0"));
        QCOMPARE(f.w().state().UpdateGuard, 3);
    }
};

QTEST_MAIN(TestSetup)
#include "tst_setup.moc"
