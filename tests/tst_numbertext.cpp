// Numbers as the value boxes read and write them, in a point locale and a comma locale.
#include "platform/numbertext.h"

#include <QTest>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(std::optional<double>)

class TestNumberText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("expected");
        const QLocale point = QLocale::c();
        const QLocale comma(QLocale::Russian, QLocale::Russia);
        const std::optional<double> none;
        QTest::newRow("digits") << point << "5" << std::optional(5.0);
        QTest::newRow("leading zeros") << point << "007" << std::optional(7.0);
        QTest::newRow("minus") << point << "-2" << std::optional(-2.0);
        QTest::newRow("plus") << point << "+2" << std::optional(2.0);
        QTest::newRow("trailing point") << point << "3." << std::optional(3.0);
        QTest::newRow("leading point") << point << ".5" << std::optional(0.5);
        QTest::newRow("comma in comma locale") << comma << "3,5" << std::optional(3.5);
        QTest::newRow("written exponent") << comma << "2,5E-09" << std::optional(2.5e-9);
        QTest::newRow("underflow reads as zero") << point << "1E-400" << std::optional(0.0);
        QTest::newRow("empty") << point << "" << none;
        QTest::newRow("lone sign") << point << "-" << none;
        QTest::newRow("lone separator") << comma << "," << none;
        QTest::newRow("sign and separator") << point << "-." << none;
        QTest::newRow("comma in point locale") << point << "3,5" << none;
        QTest::newRow("point in comma locale") << comma << "3.5" << none;
        QTest::newRow("two separators") << point << "1.2.3" << none;
        QTest::newRow("grouped digits") << comma << "1 000" << none;
        QTest::newRow("inf") << point << "inf" << none;
        QTest::newRow("nan") << point << "nan" << none;
        QTest::newRow("overflow") << point << "1E400" << none;
        QTest::newRow("arabic-indic digit") << point << QString(QChar(0x0663)) << none;
    }

    void parse() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(std::optional<double>, expected);
        const NumberText numbers(locale);
        QCOMPARE(numbers.parse(text), expected);
        QCOMPARE(numbers.isNumber(text), expected.has_value());
    }

    void format_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        const QLocale point = QLocale::c();
        const QLocale comma(QLocale::Russian, QLocale::Russia);
        QTest::newRow("15 digits, rounded") << point << 1000.0 / 3600 << "0.277777777777778";
        QTest::newRow("comma") << comma << 1000.0 / 3600 << "0,277777777777778";
        QTest::newRow("no grouping") << comma << 1234567.5 << "1234567,5";
        QTest::newRow("small exponent") << point << 1e-9 << "1E-09";
        QTest::newRow("large exponent") << comma << 2.5e15 << "2,5E+15";
        QTest::newRow("largest fixed") << point << 1e14 << "100000000000000";
        QTest::newRow("smallest fixed") << point << 0.0001 << "0.0001";
        QTest::newRow("negative") << comma << -76.2 << "-76,2";
        QTest::newRow("negative zero") << point << -0.0 << "0";
        QTest::newRow("near the top of the range") << point << 1.5e308 << "1.5E+308";
        QTest::newRow("largest double")
            << comma << -std::numeric_limits<double>::max() << "-1,79769313486231E+308";
        // Locales whose own forms the boxes could not take back still get digits and E.
        QTest::newRow("swedish exponent") << QLocale(QLocale::Swedish) << 1e-9 << "1E-09";
        QTest::newRow("arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << 0.5 << "0,5";
    }

    void format() {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, expected);
        const NumberText numbers(locale);
        QCOMPARE(numbers.format(value), expected);
        // What the boxes write, they can read back.
        QVERIFY(numbers.isNumber(expected));
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
