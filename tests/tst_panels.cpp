// Conversions of the quotient panel (speeds to specific weights) and the moment panel, typed and
// picked on the real window. Expected values are worked out from the unit definitions with exact
// decimal arithmetic and rounded to the 15 significant digits the boxes show.
#include "expectedunits.h"
#include "windowfixture.h"

namespace {

struct Conversion {
    int tab;
    std::vector<int> from;  // picker rows of box 0, left to right
    std::vector<int> to;    // picker rows of box 1
    const char* typed;
    const char* forward;  // typed into box 0, shown in box 1
    const char* back;     // typed into box 1, shown in box 0
};

// Every row of every picker against the base unit, then mixed units.
const Conversion conversions[] = {
    {4, {0, 2}, {1, 2}, "1", "1000", "0.001"},                 // км сек -> м сек
    {4, {2, 2}, {1, 2}, "1", "0.01", "100"},                   // см сек -> м сек
    {4, {3, 2}, {1, 2}, "1", "0.001", "1000"},                 // мм сек -> м сек
    {4, {4, 2}, {1, 2}, "1", "0.0254", "39.3700787401575"},    // дюйм сек -> м сек
    {4, {1, 0}, {1, 2}, "1", "0.000277777777777778", "3600"},  // м час -> м сек
    {4, {1, 1}, {1, 2}, "1", "0.0166666666666667", "60"},      // м мин -> м сек
    {5, {0, 2}, {1, 2}, "1", "1000", "0.001"},                 // км сек^2 -> м сек^2
    {5, {2, 2}, {1, 2}, "1", "0.01", "100"},                   // см сек^2 -> м сек^2
    {5, {3, 2}, {1, 2}, "1", "0.001", "1000"},                 // мм сек^2 -> м сек^2
    {5, {4, 2}, {1, 2}, "1", "0.0254", "39.3700787401575"},    // дюйм сек^2 -> м сек^2
    {5, {5, 2}, {1, 2}, "1", "9.81", "0.101936799184506"},     // g сек^2 -> м сек^2
    {5, {1, 0}, {1, 2}, "1", "7.71604938271605E-08", "12960000"},    // м час^2 -> м сек^2
    {5, {1, 1}, {1, 2}, "1", "0.000277777777777778", "3600"},        // м мин^2 -> м сек^2
    {8, {1}, {0}, "1", "57.295779513", "0.0174532925199684"},        // радиан -> градус
    {8, {2}, {0}, "1", "0.9", "1.11111111111111"},                   // град -> градус
    {9, {1}, {0}, "1", "0.0166666666666667", "60"},                  // мин -> час
    {9, {2}, {0}, "1", "0.000277777777777778", "3600"},              // сек -> час
    {10, {0}, {1}, "1", "0.001", "1000"},                            // N -> kN
    {10, {2}, {1}, "1", "1000", "0.001"},                            // MN -> kN
    {10, {3}, {1}, "1", "0.00981", "101.936799184506"},              // кг -> kN
    {10, {4}, {1}, "1", "9.81", "0.101936799184506"},                // т -> kN
    {11, {0, 0}, {1, 0}, "1", "0.001", "1000"},                      // N м -> kN м
    {11, {2, 0}, {1, 0}, "1", "1000", "0.001"},                      // MN м -> kN м
    {11, {3, 0}, {1, 0}, "1", "0.00981", "101.936799184506"},        // кг м -> kN м
    {11, {4, 0}, {1, 0}, "1", "9.81", "0.101936799184506"},          // т м -> kN м
    {11, {1, 1}, {1, 0}, "1", "100", "0.01"},                        // kN см -> kN м
    {11, {1, 2}, {1, 0}, "1", "1000", "0.001"},                      // kN мм -> kN м
    {11, {1, 3}, {1, 0}, "1", "39.3700787401575", "0.0254"},         // kN дюйм -> kN м
    {12, {0, 0}, {1, 0}, "1", "0.001", "1000"},                      // N м^2 -> kN м^2
    {12, {2, 0}, {1, 0}, "1", "1000", "0.001"},                      // MN м^2 -> kN м^2
    {12, {3, 0}, {1, 0}, "1", "0.00981", "101.936799184506"},        // кг м^2 -> kN м^2
    {12, {4, 0}, {1, 0}, "1", "9.81", "0.101936799184506"},          // т м^2 -> kN м^2
    {12, {5, 0}, {1, 0}, "1", "0.001", "1000"},                      // Па м^2 -> kN м^2
    {12, {6, 0}, {1, 0}, "1", "1", "1"},                             // кПа м^2 -> kN м^2
    {12, {7, 0}, {1, 0}, "1", "1000", "0.001"},                      // МПа м^2 -> kN м^2
    {12, {1, 1}, {1, 0}, "1", "10000", "0.0001"},                    // kN см^2 -> kN м^2
    {12, {1, 2}, {1, 0}, "1", "1000000", "1E-06"},                   // kN мм^2 -> kN м^2
    {12, {1, 3}, {1, 0}, "1", "1550.0031000062", "0.00064516"},      // kN дюйм^2 -> kN м^2
    {13, {0, 0}, {1, 0}, "1", "0.001", "1000"},                      // N м^3 -> kN м^3
    {13, {2, 0}, {1, 0}, "1", "1000", "0.001"},                      // MN м^3 -> kN м^3
    {13, {3, 0}, {1, 0}, "1", "0.00981", "101.936799184506"},        // кг м^3 -> kN м^3
    {13, {4, 0}, {1, 0}, "1", "9.81", "0.101936799184506"},          // т м^3 -> kN м^3
    {13, {1, 1}, {1, 0}, "1", "1000000", "1E-06"},                   // kN см^3 -> kN м^3
    {13, {1, 2}, {1, 0}, "1", "1000000000", "1E-09"},                // kN мм^3 -> kN м^3
    {13, {1, 3}, {1, 0}, "1", "61023.7440947323", "1.6387064E-05"},  // kN дюйм^3 -> kN м^3
    {6, {0, 0}, {1, 0}, "1", "0.001", "1000"},                       // N м -> kN м
    {6, {2, 0}, {1, 0}, "1", "1000", "0.001"},                       // MN м -> kN м
    {6, {3, 0}, {1, 0}, "1", "0.00981", "101.936799184506"},         // кг м -> kN м
    {6, {4, 0}, {1, 0}, "1", "9.81", "0.101936799184506"},           // т м -> kN м
    {6, {1, 1}, {1, 0}, "1", "0.01", "100"},                         // kN см -> kN м
    {6, {1, 2}, {1, 0}, "1", "0.001", "1000"},                       // kN мм -> kN м
    {6, {1, 3}, {1, 0}, "1", "0.0254", "39.3700787401575"},          // kN дюйм -> kN м
    {7, {0, 0, 0}, {1, 0, 0}, "1", "0.001", "1000"},                 // N м м -> kN м м
    {7, {2, 0, 0}, {1, 0, 0}, "1", "1000", "0.001"},                 // MN м м -> kN м м
    {7, {3, 0, 0}, {1, 0, 0}, "1", "0.00981", "101.936799184506"},   // кг м м -> kN м м
    {7, {4, 0, 0}, {1, 0, 0}, "1", "9.81", "0.101936799184506"},     // т м м -> kN м м
    {7, {1, 1, 0}, {1, 0, 0}, "1", "0.01", "100"},                   // kN см м -> kN м м
    {7, {1, 2, 0}, {1, 0, 0}, "1", "0.001", "1000"},                 // kN мм м -> kN м м
    {7, {1, 3, 0}, {1, 0, 0}, "1", "0.0254", "39.3700787401575"},    // kN дюйм м -> kN м м
    {7, {1, 0, 1}, {1, 0, 0}, "1", "100", "0.01"},                   // kN м см -> kN м м
    {7, {1, 0, 2}, {1, 0, 0}, "1", "1000", "0.001"},                 // kN м мм -> kN м м
    {7, {1, 0, 3}, {1, 0, 0}, "1", "39.3700787401575", "0.0254"},    // kN м дюйм -> kN м м
    {4, {0, 0}, {1, 2}, "36", "10", "129.6"},                        // км час -> м сек
    {4, {4, 1}, {3, 2}, "2.5", "1.05833333333333", "5.90551181102362"},  // дюйм мин -> мм сек
    {5, {1, 2}, {0, 0}, "1", "12960", "7.71604938271605E-05"},   // м сек^2 -> км час^2
    {5, {5, 0}, {2, 2}, "1", "981", "0.00101936799184506"},      // g час^2 -> см сек^2
    {8, {2}, {0}, "100", "90", "111.111111111111"},              // град -> градус
    {8, {0}, {1}, "180", "3.14159265359431", "10313.24031234"},  // градус -> радиан
    {9, {1}, {0}, "90", "1.5", "5400"},                          // мин -> час
    {9, {2}, {1}, "90", "1.5", "5400"},                          // сек -> мин
    {11, {1, 0}, {0, 1}, "1", "10", "0.1"},                      // kN м -> N см
    {12, {3, 1}, {6, 0}, "1", "98.1", "0.0101936799184506"},     // кг см^2 -> кПа м^2
    {12, {0, 2}, {6, 3}, "1", "1000", "0.001"},                  // N мм^2 -> кПа дюйм^2
    {12, {7, 0}, {5, 2}, "1", "1000000", "1E-06"},               // МПа м^2 -> Па мм^2
    {12, {6, 3}, {1, 0}, "1", "1", "1"},                         // кПа дюйм^2 -> kN м^2
    {12, {4, 3}, {5, 0}, "3", "45616591.2331825", "1.97296636085627E-07"},  // т дюйм^2 -> Па м^2
    {13, {1, 0}, {0, 1}, "1", "0.001", "1000"},                             // kN м^3 -> N см^3
    {13, {3, 2}, {2, 3}, "-0.75", "-0.12056782338", "-4.66542386045354"},  // кг мм^3 -> MN дюйм^3
    {6, {3, 1}, {0, 0}, "1", "0.0981", "10.1936799184506"},                // кг см -> N м
    {6, {4, 0}, {3, 1}, "1", "100000", "1E-05"},                           // т м -> кг см
    {6, {0, 2}, {1, 0}, "1", "1E-06", "1000000"},                          // N мм -> kN м
    {6, {2, 3}, {4, 2}, "12.5", "32364.9337410805", "0.00482775590551181"},  // MN дюйм -> т мм
    {7, {1, 0, 1}, {1, 0, 0}, "1", "100", "0.01"},                 // kN м см -> kN м м
    {7, {0, 0, 3}, {0, 0, 0}, "1", "39.3700787401575", "0.0254"},  // N м дюйм -> N м м
    {7, {1, 1, 1}, {1, 0, 0}, "1", "1", "1"},                      // kN см см -> kN м м
    {7, {3, 2, 2}, {4, 0, 1}, "2", "2E-05", "200000"},             // кг мм мм -> т м см
    {4, {3, 0}, {3, 0}, "0.1", "0.1", "0.1"},                      // мм час -> мм час
    {7, {3, 1, 3}, {3, 1, 3}, "0.1", "0.1", "0.1"},  // кг см дюйм -> кг см дюйм

};

// Picks a row with the keyboard, as a user does on a closed drop-down list.
void pick(QComboBox* combo, int row) {
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < row; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

std::vector<Ruriruz::Pair<QComboBox>> pickers(Ruriruz& w, int tab) {
    if (tab == 6 || tab == 7) {
        return {w.controls().Combo3, w.controls().Combo4, w.controls().Combo5};
    }
    return {w.controls().Combo1, w.controls().Combo2};
}

}  // namespace

class TestPanels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickersShowTheExpectedRows_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 4; tab <= 13; ++tab) {
            QTest::addRow("tab %d", tab) << tab;
        }
    }

    // Once its tab is open, each picker the category uses shows the rows of the expected table,
    // no more and no fewer, on both sides.
    void pickersShowTheExpectedRows() {
        QFETCH(int, tab);
        WindowFixture f;
        f.selectTab(tab);
        const auto combos = pickers(f.w(), tab);
        const auto& want = expected::categories[static_cast<std::size_t>(tab - 1)].pickers;
        for (std::size_t k = 0; k < want.size(); ++k) {
            for (QComboBox* combo : combos[k]) {
                QStringList shown;
                for (int row = 0; row < combo->count(); ++row) {
                    shown << combo->itemText(row);
                }
                const QString differs = expected::rowsDiffer(shown, want[k]);
                QVERIFY2(differs.isEmpty(),
                         qPrintable(QStringLiteral("picker %1: %2").arg(k).arg(differs)));
            }
        }
    }

    void bothDirections_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < std::size(conversions); ++i) {
            const Conversion& c = conversions[i];
            QTest::addRow("%zu: tab %d, %s", i, c.tab, c.typed) << static_cast<int>(i);
        }
    }

    // State: the units picked on both sides right after the tab was opened. Action: type the
    // number into box 0, then into box 1. Expected: the other box shows its conversion, in a
    // point locale and in a comma locale alike, with no beep and no message.
    void bothDirections() {
        QFETCH(int, index);
        const Conversion& c = conversions[index];
        const std::array locales{QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia)};
        for (const QLocale& locale : locales) {
            const QString sep = locale.decimalPoint();
            auto local = [&sep](const char* text) { return QString(text).replace(u'.', sep); };
            WindowFixture f(locale);
            Ruriruz& w = f.w();
            f.selectTab(c.tab);
            const auto combos = pickers(w, c.tab);
            // Right to left, so that a denominator is set before its numerator may hide it.
            for (std::size_t k = c.from.size(); k-- > 0;) {
                pick(combos[k][0], c.from[k]);
                pick(combos[k][1], c.to[k]);
            }
            const auto text = c.tab == 6 || c.tab == 7 ? w.controls().Text5 : w.controls().Text4;
            WindowFixture::clear(text[0]);
            WindowFixture::type(text[0], local(c.typed));
            QCOMPARE(text[1]->text(), local(c.forward));
            WindowFixture::clear(text[1]);
            WindowFixture::type(text[1], local(c.typed));
            QCOMPARE(text[0]->text(), local(c.back));
            QCOMPARE(f.desktop.beeps, 0);
            QCOMPARE(f.desktop.messages, QStringList{});
        }
    }

    // After a key, a pick on either side converts box 0 into box 1; box 0 keeps its text.
    void picksConvertFromBoxZero() {
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(4);  // км / час on both sides
        WindowFixture::clear(w.controls().Text4[0]);
        WindowFixture::type(w.controls().Text4[0], QStringLiteral("1"));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("1"));
        pick(w.controls().Combo2[1], 2);  // box 1 in км / сек
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("0.000277777777777778"));
        pick(w.controls().Combo2[0], 1);  // box 0 read as км / мин
        QCOMPARE(w.controls().Text4[0]->text(), QStringLiteral("1"));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("0.0166666666666667"));

        f.selectTab(6);
        WindowFixture::clear(w.controls().Text5[0]);
        WindowFixture::type(w.controls().Text5[0], QStringLiteral("2"));
        QTest::keyClick(w.controls().Text5[1],
                        Qt::Key_End);  // a written box has its caret at the start
        WindowFixture::type(w.controls().Text5[1], QStringLiteral("5"));
        QCOMPARE(w.controls().Text5[0]->text(), QStringLiteral("25"));
        pick(w.controls().Combo3[0], 4);  // box 0 now reads 25 т м, box 1 is in N м
        QCOMPARE(w.controls().Text5[0]->text(), QStringLiteral("25"));
        QCOMPARE(w.controls().Text5[1]->text(), QStringLiteral("245250"));
    }

    // A picker without a row (a broken state no user can reach) is reported once, and nothing
    // is written as if the conversion had succeeded.
    void rowOutsideItsTableWritesNothing_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("picker");  // which picker of box 1 loses its row
        QTest::newRow("Распределенные силы: denominator") << 11 << 1;
        QTest::newRow("Моменты: force") << 6 << 0;
        QTest::newRow("Распределенные моменты: per length") << 7 << 2;
    }

    void rowOutsideItsTableWritesNothing() {
        QFETCH(int, tab);
        QFETCH(int, picker);
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(tab);
        pickers(w, tab)[static_cast<std::size_t>(picker)][1]->setCurrentIndex(-1);
        // On the moment panel the set-up has converted, so the emptied picker already reports.
        f.desktop.messages.clear();
        const auto text = tab == 6 || tab == 7 ? w.controls().Text5 : w.controls().Text4;
        const QString before = text[1]->text();
        WindowFixture::clear(text[0]);
        WindowFixture::type(text[0], QStringLiteral("7"));
        QCOMPARE(f.desktop.messages, QStringList{QStringLiteral("Ошибка вычисления")});
        QCOMPARE(text[1]->text(), before);
    }

    // A number too large for the units picked empties the other box: the beep says so.
    void overflowEmptiesTheOtherBox() {
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(12);
        pick(w.controls().Combo1[0], 1);  // kN / м^2
        pick(w.controls().Combo1[1], 5);  // Па
        WindowFixture::clear(w.controls().Text4[0]);
        WindowFixture::type(w.controls().Text4[0], QStringLiteral("1") + QString(300, u'0'));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("1E+303"));
        // On the way to мм^2 the pick passes см^2 (1E+307 Па); 1E+300 kN / мм^2 is 1E+309 Па.
        pick(w.controls().Combo2[0], 2);
        QCOMPARE(w.controls().Text4[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
