// The tooltip of every picker row against the help page of its category: both come from the
// unit tables, so they must tell the same factor.
#include "expectedunits.h"
#include "help/helpbook.h"
#include "testkit.h"
#include "window/categories.h"
#include "windowfixture.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <cmath>

namespace {

// The base unit each picker of a category counts in, left to right; last, that of its whole
// units ("g", the pascals), where it has them.
const QHash<QString, QStringList> pickerBases{
    {"Линейные размеры", {"м"}},
    {"Площади", {"м^2"}},
    {"Объемы", {"м^3"}},
    {"Скорости", {"м", "сек"}},
    {"Ускорения", {"м", "сек^2", "м/сек^2"}},
    {"Моменты", {"kN", "м"}},
    {"Распределенные моменты", {"kN", "м", "м"}},
    {"Углы", {"градус"}},
    {"Времена", {"час"}},
    {"Силы", {"kN"}},
    {"Распределенные силы", {"kN", "м"}},
    {"Давления", {"kN", "м^2", "kN/м^2"}},
    {"Удельные веса", {"kN", "м^3"}},
};

// A row of a help page's unit table: the unit, and what one of it is in the base unit.
struct PageRow {
    QString unit;
    double factor;
};

// The rows of the picker's table on the page. A denominator row ("разделить" in a later
// picker) names the unit under the bar, which is the divisor itself.
QList<PageRow> pageRows(const QString& html, int picker) {
    const QStringList tables = html.split(QStringLiteral("<table>"));
    static const QRegularExpression row(QStringLiteral(
        "<tr><td>([^<]+)</td><td>(умножить на|разделить на|базовая единица) ?([0-9,]*)"
        "(?:<sup>(\\d+)</sup>)?</td>"));
    QList<PageRow> rows;
    if (picker + 1 >= tables.size()) {
        return rows;
    }
    for (const QRegularExpressionMatch& m : row.globalMatch(tables[picker + 1])) {
        const QString op = m.captured(2);
        double factor = 1;
        if (!op.startsWith(u'б')) {
            const double constant = m.captured(3).replace(u',', u'.').toDouble();
            const int power = m.captured(4).isEmpty() ? 1 : m.captured(4).toInt();
            factor = std::pow(constant, power);
            if (op.startsWith(u'р') && picker == 0) {
                factor = 1 / factor;
            }
        }
        rows.append({QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText(), factor});
    }
    return rows;
}

QStringList tipsOf(QWidget* picker) {
    QStringList tips;
    if (auto* list = qobject_cast<QListWidget*>(picker)) {
        for (int r = 0; r < list->count(); ++r) {
            tips << list->item(r)->toolTip();
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(picker)) {
        for (int r = 0; r < combo->count(); ++r) {
            tips << combo->itemData(r, Qt::ToolTipRole).toString();
        }
    }
    return tips;
}

}  // namespace

class TestUnitTips : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        book_ = HelpBook::open(QStringLiteral(CHM_FILE));
        QVERIFY(book_);
    }

    void againstHelp_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QLocale>("locale");
        for (int n = 1; n <= window::categoryCount; ++n) {
            const QString name = QString::fromUtf8(window::categoryAt(n)->caption);
            QTest::newRow(qPrintable(name + ", comma")) << n << QLocale(QLocale::Russian);
            QTest::newRow(qPrintable(name + ", point")) << n << QLocale::c();
        }
    }

    // Every row of every picker of the category says "1 <unit> = <factor> <base>" with the
    // factor its category's help page gives, in the locale's decimal separator.
    void againstHelp() {
        QFETCH(int, n);
        QFETCH(QLocale, locale);
        WindowFixture f(locale);
        QVERIFY(f.loaded);
        f.selectTab(n);
        const QString caption = QString::fromUtf8(window::categoryAt(n)->caption);
        const expected::Category& category = expected::category(caption);
        const QStringList bases = pickerBases[caption];
        const std::optional<QString> html = book_->html(book_->pageNamed(caption));
        QVERIFY(html);
        const QChar separator = locale.decimalPoint().front();
        static const QRegularExpression tipShape(QStringLiteral("^1 (.+) = (\\S+) (\\S+)$"));

        for (std::size_t p = 0; p < category.pickers.size(); ++p) {
            const QList<PageRow> rows = pageRows(*html, static_cast<int>(p));
            // Box 0's picker here, box 1's there: both sides have their tips.
            const QStringList tips = tipsOf(f.pickers(n)[p][(p + static_cast<std::size_t>(n)) % 2]);
            QCOMPARE(tips.size(), rows.size());
            for (qsizetype r = 0; r < rows.size(); ++r) {
                const QRegularExpressionMatch m = tipShape.match(tips[r]);
                QVERIFY2(m.hasMatch(), qPrintable(tips[r]));
                QCOMPARE(m.captured(1), rows[r].unit);
                const expected::Row* row = expected::find(category.pickers[p], rows[r].unit);
                QVERIFY2(row, qPrintable(QStringLiteral("no expected row ") + rows[r].unit));
                QCOMPARE(m.captured(3),
                         row->whole ? bases.last() : bases[static_cast<qsizetype>(p)]);
                QString number = m.captured(2);
                QVERIFY2(!number.contains(separator == u',' ? u'.' : u','), qPrintable(tips[r]));
                bool ok = false;
                const double factor = number.replace(separator, u'.').toDouble(&ok);
                QVERIFY2(ok, qPrintable(tips[r]));
                QVERIFY2(std::abs(factor - rows[r].factor) <= 1e-14 * std::abs(rows[r].factor),
                         qPrintable(tips[r]));
            }
        }
    }

    void examples_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("picker");  // from the left
        QTest::addColumn<QString>("tip");
        QTest::newRow("old Russian length") << "Линейные размеры" << 0 << "1 Верста = 1066,8 м";
        QTest::newRow("tonne-force") << "Силы" << 0 << "1 т = 9,81 kN";
        QTest::newRow("square inch under the bar")
            << "Давления" << 1 << "1 дюйм^2 = 0,00064516 м^2";
        QTest::newRow("hour under the bar") << "Скорости" << 1 << "1 час = 3600 сек";
        QTest::newRow("minute of time") << "Времена" << 0 << "1 мин = 0,0166666666666667 час";
        QTest::newRow("cubic millimetre") << "Объемы" << 0 << "1 Кубический миллиметр = 1E-09 м^3";
        QTest::newRow("base row") << "Площади" << 0 << "1 Квадратный метр = 1 м^2";
    }

    // Tips worked out by hand, with a decimal comma, on the row of the unit they name.
    void examples() {
        QFETCH(QString, caption);
        QFETCH(int, picker);
        QFETCH(QString, tip);
        WindowFixture f(QLocale(QLocale::Russian));
        const int tab = f.tabOf(caption);
        f.selectTab(tab);
        const QString unit = tip.section(QStringLiteral(" = "), 0, 0).mid(2);
        QStringList tips;
        const auto sides = f.pickers(tab)[static_cast<std::size_t>(picker)];
        for (QWidget* side : sides) {
            tips << tipsOf(side).filter(QRegularExpression(
                QStringLiteral("^1 %1 = ").arg(QRegularExpression::escape(unit))));
        }
        QCOMPARE(tips, QStringList({tip, tip}));
    }

private:
    std::unique_ptr<HelpBook> book_;
};

QTEST_MAIN(TestUnitTips)
#include "tst_unittips.moc"
