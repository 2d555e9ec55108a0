// Conversions of the length, area and volume panels, typed and picked on the real window.
// Expected values are worked out from the unit definitions with exact decimal arithmetic and
// rounded to the 15 significant digits the boxes show.
#include "expectedunits.h"
#include "windowfixture.h"

namespace {

struct UnitRow {
    int tab;
    int baseRow;
    int row;
    const char* unit;
    const char* inBase;   // 1 of the unit, in the base unit
    const char* perBase;  // 1 base unit, in the unit
};

const UnitRow unitRows[] = {
    {1, 1, 0, "Километр", "1000", "0.001"},
    {1, 1, 1, "Метр", "1", "1"},
    {1, 1, 2, "Сантиметр", "0.01", "100"},
    {1, 1, 3, "Миллиметр", "0.001", "1000"},
    {1, 1, 4, "Дюйм", "0.0254", "39.3700787401575"},
    {1, 1, 5, "Аршин", "0.7112", "1.40607424071991"},
    {1, 1, 6, "Верста", "1066.8", "0.000937382827146607"},
    {1, 1, 7, "Вершок", "0.04445", "22.4971878515186"},
    {1, 1, 8, "Миля морская(Уставн.)", "1852", "0.000539956803455724"},
    {1, 1, 9, "Миля морская(Англ.)", "1853", "0.000539665407447383"},
    {1, 1, 10, "Сажень", "2.1336", "0.468691413573303"},
    {1, 1, 11, "Фут", "0.3048", "3.28083989501312"},
    {1, 1, 12, "Ярд", "0.9144", "1.09361329833771"},
    {2, 1, 0, "Квадратный километр", "1000000", "1E-06"},
    {2, 1, 1, "Квадратный метр", "1", "1"},
    {2, 1, 2, "Квадратный сантиметр", "0.0001", "10000"},
    {2, 1, 3, "Квадратный миллиметр", "1E-06", "1000000"},
    {2, 1, 4, "Квадратный дюйм", "0.00064516", "1550.0031000062"},
    {2, 1, 5, "Акр", "4046.86", "0.000247105163015276"},
    {2, 1, 6, "Ар", "100", "0.01"},
    {2, 1, 7, "Гектар", "10000", "0.0001"},
    {2, 1, 8, "Квадратная верста", "1138060", "8.78688294114546E-07"},
    {2, 1, 9, "Квадратная миля", "2589990", "3.86101876841223E-07"},
    {2, 1, 10, "Квадратный сажень", "4.55224", "0.219672073528636"},
    {2, 1, 11, "Квадратный фут", "0.092903", "10.7639150511824"},
    {2, 1, 12, "Квадратный ярд", "0.836127", "1.19599056124249"},
    {3, 0, 0, "Кубический метр", "1", "1"},
    {3, 0, 1, "Кубический сантиметр", "1E-06", "1000000"},
    {3, 0, 2, "Кубический миллиметр", "1E-09", "1000000000"},
    {3, 0, 3, "Кубический дюйм", "1.6387064E-05", "61023.7440947323"},
    {3, 0, 4, "Литр", "0.001", "1000"},
    {3, 0, 5, "Ведро", "0.0122994", "81.3047790949152"},
    {3, 0, 6, "Кубическая сажень", "9.712678381056", "0.102958212016002"},
    {3, 0, 7, "Кубический аршин", "0.359728828928", "2.77987172443205"},
    {3, 0, 8, "Кубический фут", "0.028316846592", "35.3146667214886"},
    {3, 0, 9, "Кубический ярд", "0.764554857984", "1.30795061931439"},
};

struct Across {
    int tab;
    int from;
    int to;
    const char* typed;
    const char* expected;
};

const Across acrossRows[] = {
    {1, 10, 5, "1", "3"},    // Сажень -> Аршин
    {1, 7, 4, "1", "1.75"},  // Вершок -> Дюйм
    {1, 9, 8, "1", "1.00053995680346"},  // Миля морская(Англ.) -> Миля морская(Уставн.)
    {1, 12, 11, "2.5", "7.5"},            // Ярд -> Фут
    {1, 11, 1, "100", "30.48"},           // Фут -> Метр
    {1, 6, 5, "1", "1500"},               // Верста -> Аршин
    {1, 4, 3, "-3", "-76.2"},             // Дюйм -> Миллиметр
    {2, 11, 4, "1", "143.999937999876"},  // Квадратный фут -> Квадратный дюйм
    {2, 5, 7, "3", "1.214058"},           // Акр -> Гектар
    {2, 8, 0, "1", "1.13806"},  // Квадратная верста -> Квадратный километр
    {2, 12, 11, "1", "9"},           // Квадратный ярд -> Квадратный фут
    {3, 5, 4, "1", "12.2994"},       // Ведро -> Литр
    {3, 8, 4, "1", "28.316846592"},  // Кубический фут -> Литр
    {3, 9, 8, "2", "54"},            // Кубический ярд -> Кубический фут
    {3, 7, 5, "1", "29.2476729700636"},  // Кубический аршин -> Ведро
    {3, 4, 1, "-4.5", "-4500"},          // Литр -> Кубический сантиметр
    {3, 6, 7, "1", "27"},  // Кубическая сажень -> Кубический аршин
};

}  // namespace

class TestLists : public QObject {
    Q_OBJECT

private:
    static QListWidget* list(Ruriruz& w, int tab, int i) {
        return std::array{
            w.controls().List1, w.controls().List2,
            w.controls().List3}[static_cast<std::size_t>(tab - 1)][static_cast<std::size_t>(i)];
    }
    static TextBox* box(Ruriruz& w, int tab, int i) {
        return std::array{
            w.controls().Text1, w.controls().Text2,
            w.controls().Text3}[static_cast<std::size_t>(tab - 1)][static_cast<std::size_t>(i)];
    }
    // Opens the tab (tab 1 is open from the start) and, once a key has been pressed, picks units.
    static void openTab(WindowFixture& f, int tab) {
        if (tab != 1) {
            f.selectTab(tab);
        }
    }

private Q_SLOTS:
    // Both lists of each list panel show the rows of the expected table, no more and no fewer.
    void listsShowTheExpectedRows() {
        WindowFixture f;
        for (int tab = 1; tab <= 3; ++tab) {
            for (int i = 0; i < 2; ++i) {
                QStringList shown;
                for (int row = 0; row < list(f.w(), tab, i)->count(); ++row) {
                    shown << list(f.w(), tab, i)->item(row)->text();
                }
                const QString differs = expected::rowsDiffer(
                    shown, expected::categories[static_cast<std::size_t>(tab - 1)].pickers[0]);
                QVERIFY2(
                    differs.isEmpty(),
                    qPrintable(QStringLiteral("tab %1, list %2: %3").arg(tab).arg(i).arg(differs)));
            }
        }
    }

    void everyRowIntoAndOutOfTheBaseUnit_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("baseRow");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("inBase");
        QTest::addColumn<QString>("perBase");
        for (const UnitRow& r : unitRows) {
            QTest::newRow(r.unit) << r.tab << r.baseRow << r.row << QString(r.inBase)
                                  << QString(r.perBase);
        }
    }

    // State: the unit in box 0 and the base unit in box 1. Action: type 1, then swap the
    // units. Expected: the unit's size in the base unit, then one base unit in the unit.
    void everyRowIntoAndOutOfTheBaseUnit() {
        QFETCH(int, tab);
        QFETCH(int, baseRow);
        QFETCH(int, row);
        QFETCH(QString, inBase);
        QFETCH(QString, perBase);
        WindowFixture f;
        openTab(f, tab);
        QCOMPARE(list(f.w(), tab, 0)->item(row)->text(), QString(QTest::currentDataTag()));

        WindowFixture::clear(box(f.w(), tab, 0));
        WindowFixture::type(box(f.w(), tab, 0), QStringLiteral("1"));
        WindowFixture::pickRow(list(f.w(), tab, 0), row);
        WindowFixture::pickRow(list(f.w(), tab, 1), baseRow);
        QCOMPARE(box(f.w(), tab, 1)->text(), inBase);

        WindowFixture::pickRow(list(f.w(), tab, 0), baseRow);
        WindowFixture::pickRow(list(f.w(), tab, 1), row);
        QCOMPARE(box(f.w(), tab, 1)->text(), perBase);
        QCOMPARE(box(f.w(), tab, 0)->text(), QStringLiteral("1"));
        QCOMPARE(f.desktop.beeps, 0);
    }

    void acrossUnits_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        for (const Across& a : acrossRows) {
            QTest::addRow("tab %d: %s of row %d into row %d", a.tab, a.typed, a.from, a.to)
                << a.tab << a.from << a.to << QString(a.typed) << QString(a.expected);
        }
    }

    // Typed into box 0 converts into box 1; typed into box 1 converts back into box 0; the box
    // typed into keeps its text as typed; the same in a locale that writes a decimal comma.
    void acrossUnits() {
        QFETCH(int, tab);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const std::array locales{QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia)};
        for (const QLocale& locale : locales) {
            const QString sep = locale.decimalPoint();
            WindowFixture f(locale);
            openTab(f, tab);
            WindowFixture::clear(box(f.w(), tab, 0));
            WindowFixture::type(box(f.w(), tab, 0), QStringLiteral("0"));
            WindowFixture::pickRow(list(f.w(), tab, 0), from);
            WindowFixture::pickRow(list(f.w(), tab, 1), to);
            WindowFixture::clear(box(f.w(), tab, 0));
            WindowFixture::type(box(f.w(), tab, 0), QString(typed).replace(u'.', sep));
            QCOMPARE(box(f.w(), tab, 1)->text(), QString(expected).replace(u'.', sep));
            QCOMPARE(box(f.w(), tab, 0)->text(), QString(typed).replace(u'.', sep));

            WindowFixture::pickRow(list(f.w(), tab, 0), to);
            WindowFixture::pickRow(list(f.w(), tab, 1), from);
            WindowFixture::clear(box(f.w(), tab, 1));
            WindowFixture::type(box(f.w(), tab, 1), QString(typed).replace(u'.', sep));
            QCOMPARE(box(f.w(), tab, 0)->text(), QString(expected).replace(u'.', sep));
            QCOMPARE(f.desktop.beeps, 0);
        }
    }

    // Leading zeros are the user's: the source box is never rewritten.
    void sourceBoxKeepsItsText() {
        WindowFixture f;
        WindowFixture::clear(f.w().controls().Text1[0]);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("007"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("007"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("7"));
    }

    // A result beyond the range of numbers empties the other box, with a beep; the next number
    // that fits is converted again.
    void overflowEmptiesTheOtherBox() {
        WindowFixture f;
        WindowFixture::clear(f.w().controls().Text1[0]);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("1") + QString(300, u'0'));
        WindowFixture::pickRow(f.w().controls().List1[1], 3);  // 1E+300 km is 1E+306 mm
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("1E+306"));
        QCOMPARE(f.desktop.beeps, 0);
        WindowFixture::type(f.w().controls().Text1[0], QString(3, u'0'));  // 1E+303 km is 1E+309 mm
        QCOMPARE(f.w().controls().Text1[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
        QCOMPARE(f.w().state().UpdateGuard, 1);  // the emptied box converts nothing back
        QTest::keyClick(f.w().controls().Text1[0], Qt::Key_Backspace);
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("1E+308"));
    }

    // A unit pick while box 0 holds no number cannot convert: a beep, and box 1 is emptied
    // rather than left with a number in units it was not worked out for.
    void pickWithoutNumberEmptiesTheOtherBox() {
        WindowFixture f;
        WindowFixture::clear(f.w().controls().Text1[0]);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("5"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("5"));
        WindowFixture::clear(f.w().controls().Text1[0]);
        WindowFixture::type(f.w().controls().Text1[0], QStringLiteral("-"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("-"));
        WindowFixture::pickRow(f.w().controls().List1[1], 1);
        QCOMPARE(f.w().controls().Text1[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
    }
};

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
