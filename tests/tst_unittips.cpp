// The tooltip of every picker row against the help page of its category: both come from the
// unit tables, so they must tell the same factor.
#include "help/helpbook.h"
#include "testkit.h"
#include "window/categories.h"
#include "windowfixture.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <cmath>

namespace {

// The base unit each picker of a category counts in, left to right.
const QHash<int, QStringList> pickerBases{
    {1, {"м"}},          {2, {"м^2"}},     {3, {"м^3"}},          {4, {"м", "сек"}},
    {5, {"м", "сек^2"}}, {6, {"kN", "м"}}, {7, {"kN", "м", "м"}}, {8, {"градус"}},
    {9, {"час"}},        {10, {"kN"}},     {11, {"kN", "м"}},     {12, {"kN", "м^2"}},
    {13, {"kN", "м^3"}},
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
        Ruriruz& w = f.w();
        const std::array<QList<QWidget*>, 5> panelPickers{{
            {w.controls().List1[0]},
            {w.controls().List2[1]},
            {w.controls().List3[0]},
            {w.controls().Combo1[1], w.controls().Combo2[0]},
            {w.controls().Combo3[0], w.controls().Combo4[1], w.controls().Combo5[0]},
        }};
        const window::Category& category = *window::categoryAt(n);
        const QList<QWidget*> pickers = panelPickers[static_cast<std::size_t>(category.panel) - 1];
        const std::optional<QString> html =
            book_->html(book_->pageNamed(QString::fromUtf8(category.caption)));
        QVERIFY(html);
        const QChar separator = locale.decimalPoint().front();
        static const QRegularExpression tipShape(QStringLiteral("^1 (.+) = (\\S+) (\\S+)$"));

        for (int p = 0; p < pickerBases[n].size(); ++p) {
            const QList<PageRow> rows = pageRows(*html, p);
            const QStringList tips = tipsOf(pickers[p]);
            QCOMPARE(tips.size(), rows.size());
            for (qsizetype r = 0; r < rows.size(); ++r) {
                const QRegularExpressionMatch m = tipShape.match(tips[r]);
                QVERIFY2(m.hasMatch(), qPrintable(tips[r]));
                QCOMPARE(m.captured(1), rows[r].unit);
                QString base = pickerBases[n][p];
                if ((n == 5 && rows[r].unit == u"g") ||
                    (n == 12 && p == 0 && rows[r].unit.endsWith(QStringLiteral("Па")))) {
                    base = QStringLiteral("kN/м^2");
                    if (n == 5) {
                        base = QStringLiteral("м/сек^2");
                    }
                }
                QCOMPARE(m.captured(3), base);
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
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("picker");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("tip");
        QTest::newRow("old Russian length") << 1 << 0 << 6 << "1 Верста = 1066,8 м";
        QTest::newRow("tonne-force") << 10 << 0 << 4 << "1 т = 9,81 kN";
        QTest::newRow("square inch under the bar") << 12 << 1 << 3 << "1 дюйм^2 = 0,00064516 м^2";
        QTest::newRow("hour under the bar") << 4 << 1 << 0 << "1 час = 3600 сек";
        QTest::newRow("minute of time") << 9 << 0 << 1 << "1 мин = 0,0166666666666667 час";
        QTest::newRow("cubic millimetre") << 3 << 0 << 2 << "1 Кубический миллиметр = 1E-09 м^3";
        QTest::newRow("base row") << 2 << 0 << 1 << "1 Квадратный метр = 1 м^2";
    }

    // Tips worked out by hand, with a decimal comma.
    void examples() {
        QFETCH(int, n);
        QFETCH(int, picker);
        QFETCH(int, row);
        QFETCH(QString, tip);
        WindowFixture f(QLocale(QLocale::Russian));
        f.selectTab(n);
        Ruriruz& w = f.w();
        QWidget* widget = n == 1        ? static_cast<QWidget*>(w.controls().List1[1])
                          : n == 2      ? w.controls().List2[0]
                          : n == 3      ? w.controls().List3[1]
                          : picker == 0 ? static_cast<QWidget*>(w.controls().Combo1[0])
                                        : w.controls().Combo2[1];
        QCOMPARE(tipsOf(widget).value(row), tip);
    }

private:
    std::unique_ptr<HelpBook> book_;
};

QTEST_MAIN(TestUnitTips)
#include "tst_unittips.moc"
