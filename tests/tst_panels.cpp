// Conversions of the quotient panel (speeds to specific weights) and the moment panel, typed and
// picked on the real window. Expected values are worked out from the unit definitions with exact
// decimal arithmetic and rounded to the 15 significant digits the boxes show.
#include "expectedunits.h"
#include "windowfixture.h"

namespace {

struct Conversion {
    const char* caption;
    QStringList from;  // the units of box 0, picker by picker from the left
    QStringList to;    // the units of box 1
    const char* typed;
    const char* forward;  // typed into box 0, shown in box 1
    const char* back;     // typed into box 1, shown in box 0
};

// Mixed units, worked out by hand to the 15 digits the boxes show.
const Conversion mixed[] = {
    {"Скорости", {"км", "час"}, {"м", "сек"}, "36", "10", "129.6"},
    {"Скорости", {"дюйм", "мин"}, {"мм", "сек"}, "2.5", "1.05833333333333", "5.90551181102362"},
    {"Ускорения", {"м", "сек^2"}, {"км", "час^2"}, "1", "12960", "7.71604938271605E-05"},
    {"Ускорения", {"g", "час^2"}, {"см", "сек^2"}, "1", "981", "0.00101936799184506"},
    {"Углы", {"град"}, {"градус"}, "100", "90", "111.111111111111"},
    {"Углы", {"градус"}, {"радиан"}, "180", "3.14159265359431", "10313.24031234"},
    {"Времена", {"мин"}, {"час"}, "90", "1.5", "5400"},
    {"Времена", {"сек"}, {"мин"}, "90", "1.5", "5400"},
    {"Распределенные силы", {"kN", "м"}, {"N", "см"}, "1", "10", "0.1"},
    {"Давления", {"кг", "см^2"}, {"кПа", "м^2"}, "1", "98.1", "0.0101936799184506"},
    {"Давления", {"N", "мм^2"}, {"кПа", "дюйм^2"}, "1", "1000", "0.001"},
    {"Давления", {"МПа", "м^2"}, {"Па", "мм^2"}, "1", "1000000", "1E-06"},
    {"Давления", {"кПа", "дюйм^2"}, {"kN", "м^2"}, "1", "1", "1"},
    {"Давления", {"т", "дюйм^2"}, {"Па", "м^2"}, "3", "45616591.2331825", "1.97296636085627E-07"},
    {"Удельные веса", {"kN", "м^3"}, {"N", "см^3"}, "1", "0.001", "1000"},
    {"Удельные веса",
     {"кг", "мм^3"},
     {"MN", "дюйм^3"},
     "-0.75",
     "-0.12056782338",
     "-4.66542386045354"},
    {"Моменты", {"кг", "см"}, {"N", "м"}, "1", "0.0981", "10.1936799184506"},
    {"Моменты", {"т", "м"}, {"кг", "см"}, "1", "100000", "1E-05"},
    {"Моменты", {"N", "мм"}, {"kN", "м"}, "1", "1E-06", "1000000"},
    {"Моменты", {"MN", "дюйм"}, {"т", "мм"}, "12.5", "32364.9337410805", "0.00482775590551181"},
    {"Распределенные моменты", {"kN", "м", "см"}, {"kN", "м", "м"}, "1", "100", "0.01"},
    {"Распределенные моменты",
     {"N", "м", "дюйм"},
     {"N", "м", "м"},
     "1",
     "39.3700787401575",
     "0.0254"},
    {"Распределенные моменты", {"kN", "см", "см"}, {"kN", "м", "м"}, "1", "1", "1"},
    {"Распределенные моменты", {"кг", "мм", "мм"}, {"т", "м", "см"}, "2", "2E-05", "200000"},
    {"Скорости", {"мм", "час"}, {"мм", "час"}, "0.1", "0.1", "0.1"},
    {"Распределенные моменты", {"кг", "см", "дюйм"}, {"кг", "см", "дюйм"}, "0.1", "0.1", "0.1"},
};

bool pickerPanel(int tab) {
    return convert::categoryAt(tab)->panel >= convert::Panel::Quotient;
}

}  // namespace

class TestPanels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pickersShowTheExpectedRows_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 1; tab <= convert::categoryCount; ++tab) {
            if (pickerPanel(tab)) {
                QTest::newRow(qPrintable(QString::fromUtf8(convert::categoryAt(tab)->caption)))
                    << tab;
            }
        }
    }

    // Once its tab is open, each picker the category uses shows the rows of the expected table,
    // no more and no fewer, on both sides.
    void pickersShowTheExpectedRows() {
        QFETCH(int, tab);
        WindowFixture f;
        f.selectTab(tab);
        const auto pickers = f.pickers(tab);
        const auto& want = expected::category(QTest::currentDataTag()).pickers;
        for (std::size_t k = 0; k < want.size(); ++k) {
            for (QWidget* picker : pickers[k]) {
                auto* combo = static_cast<QComboBox*>(picker);
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
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("forward");  // empty: worked out from the expected table
        QTest::addColumn<QString>("back");
        // Every row of every picker against the base unit.
        for (const expected::Category& c : expected::categories) {
            const QString caption = QString::fromUtf8(c.caption);
            if (!pickerPanel(WindowFixture::tabOf(caption))) {
                continue;
            }
            const QStringList base = expected::baseUnits(c);
            for (std::size_t k = 0; k < c.pickers.size(); ++k) {
                for (const expected::Row& row : c.pickers[k]) {
                    QStringList from = base;
                    from[static_cast<qsizetype>(k)] = QString::fromUtf8(row.text);
                    if (from != base) {
                        QTest::addRow("%s: %s", c.caption, qPrintable(from.join(u' ')))
                            << caption << from << base << "1" << QString() << QString();
                    }
                }
            }
        }
        for (const Conversion& c : mixed) {
            QTest::addRow("%s: %s %s in %s, by hand", c.caption, c.typed,
                          qPrintable(c.from.join(u' ')), qPrintable(c.to.join(u' ')))
                << QString::fromUtf8(c.caption) << c.from << c.to << QString(c.typed)
                << QString(c.forward) << QString(c.back);
        }
    }

    // State: the units picked on both sides right after the tab was opened. Action: type the
    // number into box 0, then into box 1. Expected: the other box shows its conversion, in a
    // point locale and in a comma locale alike, with no beep and no message.
    void bothDirections() {
        QFETCH(QString, caption);
        QFETCH(QStringList, from);
        QFETCH(QStringList, to);
        QFETCH(QString, typed);
        QFETCH(QString, forward);
        QFETCH(QString, back);
        const expected::Category& category = expected::category(caption);
        const std::array locales{QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia)};
        for (const QLocale& locale : locales) {
            const QString sep = locale.decimalPoint();
            auto local = [&sep](QString text) { return text.replace(u'.', sep); };
            // The box shows the hand-worked text, or the table's number to 15 digits.
            auto holds = [&](TextBox* box, const QString& text, const QStringList& in,
                             const QStringList& out) {
                if (!text.isEmpty()) {
                    QCOMPARE(box->text(), local(text));
                    return;
                }
                const long double want =
                    typed.toDouble() * expected::size(category, in) / expected::size(category, out);
                QVERIFY2(
                    expected::shows(QString(box->text()).replace(sep, QStringLiteral(".")), want),
                    qPrintable(box->text()));
            };
            WindowFixture f(locale);
            const int tab = f.tabOf(caption);
            f.selectTab(tab);
            const auto pickers = f.pickers(tab);
            // Right to left, so that a denominator is set before its numerator may hide it.
            for (auto k = from.size(); k-- > 0;) {
                WindowFixture::pick(pickers[static_cast<std::size_t>(k)][0], from[k]);
                WindowFixture::pick(pickers[static_cast<std::size_t>(k)][1], to[k]);
            }
            const auto text = f.boxes(tab);
            WindowFixture::retype(text[0], local(typed));
            holds(text[1], forward, from, to);
            WindowFixture::retype(text[1], local(typed));
            holds(text[0], back, to, from);
            QCOMPARE(f.desktop.beeps, 0);
            QCOMPARE(f.desktop.messages, QStringList{});
        }
    }

    // After a key, a pick on either side converts box 0 into box 1; box 0 keeps its text.
    void picksConvertFromBoxZero() {
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(QStringLiteral("Скорости"));  // км / час on both sides
        WindowFixture::retype(w.controls().Text4[0], QStringLiteral("1"));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("1"));
        WindowFixture::pick(w.controls().Combo2[1], QStringLiteral("сек"));  // box 1 in км / сек
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("0.000277777777777778"));
        WindowFixture::pick(w.controls().Combo2[0], QStringLiteral("мин"));  // box 0 in км / мин
        QCOMPARE(w.controls().Text4[0]->text(), QStringLiteral("1"));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("0.0166666666666667"));

        f.selectTab(QStringLiteral("Моменты"));
        WindowFixture::retype(w.controls().Text5[0], QStringLiteral("2"));
        QTest::keyClick(w.controls().Text5[1],
                        Qt::Key_End);  // a written box has its caret at the start
        WindowFixture::type(w.controls().Text5[1], QStringLiteral("5"));
        QCOMPARE(w.controls().Text5[0]->text(), QStringLiteral("25"));
        WindowFixture::pick(w.controls().Combo3[0], QStringLiteral("т"));  // 25 т м, box 1 in N м
        QCOMPARE(w.controls().Text5[0]->text(), QStringLiteral("25"));
        QCOMPARE(w.controls().Text5[1]->text(), QStringLiteral("245250"));
    }

    // A picker without a row (a broken state no user can reach) is reported once, and nothing
    // is written as if the conversion had succeeded.
    void rowOutsideItsTableWritesNothing_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("picker");  // which picker of box 1 loses its row, from the left
        QTest::newRow("Распределенные силы: denominator") << "Распределенные силы" << 1;
        QTest::newRow("Моменты: force") << "Моменты" << 0;
        QTest::newRow("Распределенные моменты: per length") << "Распределенные моменты" << 2;
    }

    void rowOutsideItsTableWritesNothing() {
        QFETCH(QString, caption);
        QFETCH(int, picker);
        WindowFixture f;
        const int tab = f.tabOf(caption);
        f.selectTab(tab);
        static_cast<QComboBox*>(f.pickers(tab)[static_cast<std::size_t>(picker)][1])
            ->setCurrentIndex(-1);
        // On the moment panel the set-up has converted, so the emptied picker already reports.
        f.desktop.messages.clear();
        const auto text = f.boxes(tab);
        const QString before = text[1]->text();
        WindowFixture::retype(text[0], QStringLiteral("7"));
        QCOMPARE(f.desktop.messages, QStringList{QStringLiteral("Ошибка вычисления")});
        QCOMPARE(text[1]->text(), before);
    }

    // A number too large for the units picked empties the other box: the beep says so.
    void overflowEmptiesTheOtherBox() {
        WindowFixture f;
        Ruriruz& w = f.w();
        f.selectTab(QStringLiteral("Давления"));
        WindowFixture::pick(w.controls().Combo1[0], QStringLiteral("kN"));  // kN / м^2
        WindowFixture::pick(w.controls().Combo1[1], QStringLiteral("Па"));
        WindowFixture::retype(w.controls().Text4[0], QStringLiteral("1") + QString(300, u'0'));
        QCOMPARE(w.controls().Text4[1]->text(), QStringLiteral("1E+303"));
        // On the way to мм^2 the pick passes см^2 (1E+307 Па); 1E+300 kN / мм^2 is 1E+309 Па.
        WindowFixture::pick(w.controls().Combo2[0], QStringLiteral("мм^2"));
        QCOMPARE(w.controls().Text4[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
