// The built help file, read back with two CHM readers other than the compiler: chmls lists it,
// extract_chmLib unpacks it. Its pages must show every unit row of every category exactly as the
// program converts with it.
#include "cp1251.h"
#include "testkit.h"
#include "window/categories.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString categoryFile(int n) {
    return QStringLiteral("category%1.html").arg(n, 2, 10, QLatin1Char('0'));
}

// Runs a reader; true when it succeeded.
bool run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return false;
    }
    if (output) {
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    }
    return true;
}

}  // namespace

class TestShellHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QFile::exists(QStringLiteral(CHM_FILE)), CHM_FILE);
        QVERIFY(unpacked_.isValid());
        QVERIFY2(run(QStringLiteral("chmls"), {"-n", "list", CHM_FILE}, &listing_),
                 "chmls cannot list the help file");
        QVERIFY2(run(QStringLiteral("extract_chmLib"), {CHM_FILE, unpacked_.path()}),
                 "extract_chmLib cannot unpack the help file");
        pages_ = QDir(unpacked_.path()).entryList({"*.html"}, QDir::Files);
    }

    void listed_data() {
        QTest::addColumn<QString>("file");
        for (const char* file : {"index.html", "usage.html", "categories.html", "help.css",
                                 "Mervel.hhc", "Mervel.hhk"}) {
            QTest::newRow(file) << file;
        }
        for (int n = 1; n <= window::categoryCount; ++n) {
            QTest::newRow(qPrintable(categoryFile(n))) << categoryFile(n);
        }
    }

    // Both readers find every page.
    void listed() {
        QFETCH(QString, file);
        QVERIFY2(listing_.split(QLatin1Char('\n')).contains(QLatin1Char('/') + file),
                 qPrintable(listing_));
        QVERIFY(QFile::exists(unpacked_.filePath(file)));
    }

    // The contents lead to every category page under its caption.
    void contents() {
        const QString hhc = read(QStringLiteral("Mervel.hhc"));
        for (int n = 1; n <= window::categoryCount; ++n) {
            const QString entry =
                QStringLiteral(
                    "<param name=\"Name\" value=\"%1\"><param name=\"Local\" value=\"%2\">")
                    .arg(QString::fromUtf8(window::categoryAt(n)->caption).toHtmlEscaped(),
                         categoryFile(n));
            QVERIFY2(hhc.contains(entry), qPrintable(entry));
        }
    }

    void keywordIndex_data() {
        QTest::addColumn<QString>("entry");
        const auto target = [](int n) {
            return QStringLiteral(
                       "<param name=\"Name\" value=\"%1\"><param name=\"Local\" value=\"%2\">")
                .arg(QString::fromUtf8(window::categoryAt(n)->caption), categoryFile(n));
        };
        const auto keyword = [](const char* name) {
            return QStringLiteral(
                       "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">")
                .arg(QString::fromUtf8(name));
        };
        QTest::newRow("old Russian length") << keyword("Верста") + target(1);
        QTest::newRow("volume") << keyword("Ведро") + target(3);
        QTest::newRow("category caption") << keyword("Удельные веса") + target(13);
        QTest::newRow("unit of two categories") << keyword("час") + target(4) + target(9);
    }

    // The keyword index travels as a sitemap in the pages' code page, where Russian keywords
    // survive; the compiler's binary index, which turns them into "?", is not made.
    void keywordIndex() {
        QFETCH(QString, entry);
        QVERIFY2(read(QStringLiteral("Mervel.hhk")).contains(entry), qPrintable(entry));
        QVERIFY(!listing_.contains(QStringLiteral("$WWKeywordLinks")));
    }

    void links_data() {
        QTest::addColumn<QString>("page");
        for (const QString& page : std::as_const(pages_)) {
            QTest::newRow(qPrintable(page)) << page;
        }
    }

    // No page links to a file the help file lacks.
    void links() {
        QFETCH(QString, page);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (const QRegularExpressionMatch& m : link.globalMatch(read(page))) {
            QVERIFY2(QFile::exists(unpacked_.filePath(m.captured(1))), qPrintable(m.captured(1)));
        }
    }

    void everyRow_data() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= window::categoryCount; ++n) {
            QTest::newRow(qPrintable(QString::fromUtf8(window::categoryAt(n)->caption))) << n;
        }
    }

    // Every row of every picker, in picker order, with the operation and the very factor the
    // program converts with: the written number reads back to the same double.
    void everyRow() {
        QFETCH(int, n);
        const window::Category& category = *window::categoryAt(n);
        const convert::Quantity& quantity = category.quantity();
        const QString html = read(categoryFile(n));
        QVERIFY(html.contains(QStringLiteral("<title>") +
                              QString::fromUtf8(category.caption).toHtmlEscaped() +
                              QStringLiteral("</title>")));
        QVERIFY(html.contains(QString::fromUtf8(quantity.baseUnit).toHtmlEscaped()));

        static const QRegularExpression cell(QStringLiteral(
            "(умножить на|разделить на|базовая единица) ?([0-9,]*)(?:<sup>(\\d+)</sup>)?</td>"));
        qsizetype at = 0;
        for (std::size_t p = 0; p < quantity.pickerCount(); ++p) {
            for (const convert::Unit& unit : quantity.pickers[p]) {
                const QString row = QStringLiteral("<tr><td>") +
                                    QString::fromUtf8(unit.text).toHtmlEscaped() +
                                    QStringLiteral("</td><td>");
                at = html.indexOf(row, at);
                QVERIFY2(at >= 0, qPrintable(row));
                at += row.size();
                const QRegularExpressionMatch m =
                    cell.match(html, at, QRegularExpression::NormalMatch,
                               QRegularExpression::AnchorAtOffsetMatchOption);
                QVERIFY2(m.hasMatch(), qPrintable(html.mid(at, 40)));
                const QString op = m.captured(1);
                const convert::Op expected = op.startsWith(u'у')   ? convert::Op::Multiply
                                             : op.startsWith(u'р') ? convert::Op::Divide
                                                                   : convert::Op::Copy;
                QCOMPARE(unit.toBase.op, expected);
                if (expected == convert::Op::Copy) {
                    continue;
                }
                bool ok = false;
                const double factor = m.captured(2).replace(u',', u'.').toDouble(&ok);
                QVERIFY(ok);
                QCOMPARE(factor, unit.toBase.constant);
                QCOMPARE(m.captured(3).isEmpty() ? 1 : m.captured(3).toInt(), unit.toBase.power);
            }
        }
    }

    void factors_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("row");
        QTest::newRow("whole number") << 1 << "<td>Километр</td><td>умножить на 1000</td>";
        QTest::newRow("no exponent")
            << 2 << "<td>Квадратный миллиметр</td><td>умножить на 0,000001</td>";
        QTest::newRow("power")
            << 3 << "<td>Кубический миллиметр</td><td>разделить на 1000<sup>3</sup></td>";
        QTest::newRow("base") << 3 << "<td>Кубический метр</td><td>базовая единица</td>";
        QTest::newRow("long fraction") << 8 << "<td>радиан</td><td>умножить на 57,295779513</td>";
        QTest::newRow("denominator") << 4 << "<td>час</td><td>разделить на 3600</td>";
    }

    // Factors as a Russian reader writes them: decimal comma, no exponent, powers raised.
    void factors() {
        QFETCH(int, n);
        QFETCH(QString, row);
        QVERIFY2(read(categoryFile(n)).contains(row), qPrintable(row));
    }

    void encoding_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("expected");  // empty: refused
        QTest::newRow("ascii") << QByteArray("a<b>&\"") << QByteArray("a<b>&\"");
        QTest::newRow("Cyrillic") << "Ёжик ёлка"_ba
                                  << "\xA8\xE6\xE8\xEA \xB8\xEB\xEA\xE0"_ba;
        QTest::newRow("punctuation") << "© «» — №"_ba
                                     << "\xA9 \xAB\xBB \x97 \xB9"_ba;
        QTest::newRow("beyond the code page") << "2×3 😀"_ba
                                              << "2&#215;3 &#128512;"_ba;
        QTest::newRow("cut short") << "\xD0"_ba << QByteArray();
        QTest::newRow("overlong") << "\xC0\xAF"_ba << QByteArray();
        QTest::newRow("surrogate") << "\xED\xA0\x80"_ba << QByteArray();
        QTest::newRow("stray continuation") << "\x80"_ba << QByteArray();
    }

    void encoding() {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, expected);
        const auto out = helpgen::toWindows1251(utf8.toStdString());
        QCOMPARE(out.has_value(), !expected.isEmpty());
        if (out) {
            QCOMPARE(QByteArray::fromStdString(*out), expected);
        }
    }

private:
    // A page of the unpacked help file, decoded from the code page it declares.
    QString read(const QString& file) {
        QFile f(unpacked_.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QByteArray bytes = f.readAll();
        if (!bytes.contains("charset=windows-1251")) {
            return QStringLiteral("(not declared windows-1251)");
        }
        QStringDecoder decoder("windows-1251");
        return decoder(bytes);
    }

    QTemporaryDir unpacked_;
    QString listing_;
    QStringList pages_;
};

QTEST_MAIN(TestShellHelp)
#include "tst_shellhelp.moc"
