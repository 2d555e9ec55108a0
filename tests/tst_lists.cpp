// Conversions of the length, area and volume panels, typed and picked on the real window.
// Expected values are worked out from the unit definitions with exact decimal arithmetic and
// rounded to the 15 significant digits the boxes show.
#include "expectedunits.h"
#include "windowfixture.h"

namespace {

struct Across {
    const char* caption;
    const char* from;
    const char* to;
    const char* typed;
    const char* expected;
};

const Across acrossRows[] = {
    {"Линейные размеры", "Сажень", "Аршин", "1", "3"},
    {"Линейные размеры", "Вершок", "Дюйм", "1", "1.75"},
    {"Линейные размеры", "Миля морская(Англ.)", "Миля морская(Уставн.)", "1", "1.00053995680346"},
    {"Линейные размеры", "Ярд", "Фут", "2.5", "7.5"},
    {"Линейные размеры", "Фут", "Метр", "100", "30.48"},
    {"Линейные размеры", "Верста", "Аршин", "1", "1500"},
    {"Линейные размеры", "Дюйм", "Миллиметр", "-3", "-76.2"},
    {"Площади", "Квадратный фут", "Квадратный дюйм", "1", "143.999937999876"},
    {"Площади", "Акр", "Гектар", "3", "1.214058"},
    {"Площади", "Квадратная верста", "Квадратный километр", "1", "1.13806"},
    {"Площади", "Квадратный ярд", "Квадратный фут", "1", "9"},
    {"Объемы", "Ведро", "Литр", "1", "12.2994"},
    {"Объемы", "Кубический фут", "Литр", "1", "28.316846592"},
    {"Объемы", "Кубический ярд", "Кубический фут", "2", "54"},
    {"Объемы", "Кубический аршин", "Ведро", "1", "29.2476729700636"},
    {"Объемы", "Литр", "Кубический сантиметр", "-4.5", "-4500"},
    {"Объемы", "Кубическая сажень", "Кубический аршин", "1", "27"},
};

bool listPanel(int tab) {
    return convert::categoryAt(tab)->panel <= convert::Panel::Volumes;
}

}  // namespace

class TestLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Both lists of each list panel show the rows of the expected table, no more and no fewer.
    void listsShowTheExpectedRows() {
        WindowFixture f;
        for (int tab = 1; tab <= convert::categoryCount; ++tab) {
            if (!listPanel(tab)) {
                continue;
            }
            const QString caption = f.w().controls().TabStrip1->caption(tab);
            const auto lists = f.pickers(tab)[0];
            for (QWidget* picker : lists) {
                auto* list = static_cast<QListWidget*>(picker);
                QStringList shown;
                for (int row = 0; row < list->count(); ++row) {
                    shown << list->item(row)->text();
                }
                const QString differs =
                    expected::rowsDiffer(shown, expected::category(caption).pickers[0]);
                QVERIFY2(differs.isEmpty(), qPrintable(caption + QStringLiteral(": ") + differs));
            }
        }
    }

    void everyRowIntoAndOutOfTheBaseUnit_data() {
        QTest::addColumn<QString>("caption");
        for (const expected::Category& c : expected::categories) {
            if (listPanel(WindowFixture::tabOf(QString::fromUtf8(c.caption)))) {
                for (const expected::Row& row : c.pickers[0]) {
                    QTest::newRow(row.text) << QString::fromUtf8(c.caption);
                }
            }
        }
    }

    // State: the unit in box 0 and the base unit in box 1. Action: type 1, then swap the
    // units. Expected: the unit's size in the base unit, then one base unit in the unit.
    void everyRowIntoAndOutOfTheBaseUnit() {
        QFETCH(QString, caption);
        const QString unit = QString::fromUtf8(QTest::currentDataTag());
        const expected::Category& category = expected::category(caption);
        const QString base = expected::baseUnits(category).first();
        const long double size = expected::row(category.pickers[0], unit).factor;
        WindowFixture f;
        f.selectTab(caption);
        const auto boxes = f.boxes(f.tabOf(caption));
        const auto lists = f.pickers(f.tabOf(caption))[0];
        WindowFixture::retype(boxes[0], QStringLiteral("1"));
        WindowFixture::pick(lists[0], unit);
        WindowFixture::pick(lists[1], base);
        QVERIFY2(expected::shows(boxes[1]->text(), size), qPrintable(boxes[1]->text()));

        WindowFixture::pick(lists[0], base);
        WindowFixture::pick(lists[1], unit);
        QVERIFY2(expected::shows(boxes[1]->text(), 1 / size), qPrintable(boxes[1]->text()));
        QCOMPARE(boxes[0]->text(), QStringLiteral("1"));
        QCOMPARE(f.desktop.beeps, 0);
    }

    void acrossUnits_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        for (const Across& a : acrossRows) {
            QTest::addRow("%s of %s into %s", a.typed, a.from, a.to)
                << QString::fromUtf8(a.caption) << QString::fromUtf8(a.from)
                << QString::fromUtf8(a.to) << QString(a.typed) << QString(a.expected);
        }
    }

    // Typed into box 0 converts into box 1; typed into box 1 converts back into box 0; the box
    // typed into keeps its text as typed; the same in a locale that writes a decimal comma.
    void acrossUnits() {
        QFETCH(QString, caption);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const std::array locales{QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia)};
        for (const QLocale& locale : locales) {
            const QString sep = locale.decimalPoint();
            WindowFixture f(locale);
            f.selectTab(caption);
            const auto boxes = f.boxes(f.tabOf(caption));
            const auto lists = f.pickers(f.tabOf(caption))[0];
            WindowFixture::retype(boxes[0], QStringLiteral("0"));
            WindowFixture::pick(lists[0], from);
            WindowFixture::pick(lists[1], to);
            WindowFixture::retype(boxes[0], QString(typed).replace(u'.', sep));
            QCOMPARE(boxes[1]->text(), QString(expected).replace(u'.', sep));
            QCOMPARE(boxes[0]->text(), QString(typed).replace(u'.', sep));

            WindowFixture::pick(lists[0], to);
            WindowFixture::pick(lists[1], from);
            WindowFixture::retype(boxes[1], QString(typed).replace(u'.', sep));
            QCOMPARE(boxes[0]->text(), QString(expected).replace(u'.', sep));
            QCOMPARE(f.desktop.beeps, 0);
        }
    }

    // Leading zeros are the user's: the source box is never rewritten.
    void sourceBoxKeepsItsText() {
        WindowFixture f;
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("007"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("007"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("7"));
    }

    // A result beyond the range of numbers empties the other box, with a beep; the next number
    // that fits is converted again.
    void overflowEmptiesTheOtherBox() {
        WindowFixture f;
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("1") + QString(300, u'0'));
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Миллиметр"));  // 1E+306 mm
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
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("5"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QStringLiteral("5"));
        WindowFixture::retype(f.w().controls().Text1[0], QStringLiteral("-"));
        QCOMPARE(f.w().controls().Text1[0]->text(), QStringLiteral("-"));
        WindowFixture::pick(f.w().controls().List1[1], QStringLiteral("Метр"));
        QCOMPARE(f.w().controls().Text1[1]->text(), QString());
        QCOMPARE(f.desktop.beeps, 1);
    }
};

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
