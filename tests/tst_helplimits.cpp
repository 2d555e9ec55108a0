// What a help file gives the help window to lay out cannot freeze or kill the program, and the
// window fits the screen it opens on.
#include "help/pagelimits.h"
#include "helpfixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

int entries(QTreeWidget* tree) {
    int count = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        ++count;
    }
    return count;
}

// What Qt builds of a page, counted as the limits count it.
struct Built {
    int tableNesting = 0;
    qint64 cells = 0;
    int listNesting = 0;
    int pictures = 0;
};

Built built(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    Built b;
    std::vector<std::pair<QTextFrame*, int>> frames{{document.rootFrame(), 0}};
    while (!frames.empty()) {
        auto [frame, depth] = frames.back();
        frames.pop_back();
        if (const auto* table = qobject_cast<QTextTable*>(frame)) {
            ++depth;
            b.cells += qint64(table->rows()) * table->columns();
        }
        b.tableNesting = std::max(b.tableNesting, depth);
        for (QTextFrame* child : frame->childFrames()) {
            frames.push_back({child, depth});
        }
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const QTextList* list = block.textList()) {
            b.listNesting = std::max(b.listNesting, list->format().indent());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            b.pictures += it.fragment().charFormat().isImageFormat() ? 1 : 0;
        }
    }
    return b;
}

}  // namespace

class TestHelpLimits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The kinds of content that froze or killed the program: each comes up within a second,
    // the page with a note in its place, the contents or the index cut with a note under it.
    void crafted_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("shown");  // the page's note, or which list is cut
        // clang-format off
        QTest::newRow("contents nested 30,000 deep, with an index") << "deep-contents" << "contents";
        QTest::newRow("contents nested 100,000 deep") << "deeper-contents" << "contents";
        QTest::newRow("100,000 contents entries in one level") << "long-contents" << "contents";
        QTest::newRow("100,000 index keywords") << "long-index" << "index";
        QTest::newRow("a page of 25 nested tables") << "nested-tables" << "note";
        QTest::newRow("a page of 99,999 pictures") << "pictures" << "note";
        QTest::newRow("a page of 99,999 spanned cells") << "spanned-cells" << "note";
        QTest::newRow("a page of 6 MB of text") << "text" << "note";
        QTest::newRow("lists nested 10,000 deep") << "nested-lists" << "note";
        QTest::newRow("Верста in the index, leading to 101 nested tables") << "verst" << "note";
        // clang-format on
    }

    void crafted() {
        QFETCH(QString, kind);
        QFETCH(QString, shown);
        HelpFixture f;
        QFile source(QStringLiteral(CRAFTED_HELP "/%1/Mervel.chm").arg(kind));
        QVERIFY(source.open(QIODevice::ReadOnly) && f.replaceFile(source.readAll()));
        QElapsedTimer clock;
        clock.start();
        f.w().controls().TabStrip1->setFocus();
        QTest::keyClick(f.w().controls().TabStrip1, Qt::Key_F1);
        HelpWindow* help = f.commands.helpWindow();
        QVERIFY2(help, qPrintable(f.desktop.messages.join(u'\n')));
        const HelpWindowControls& c = help->controls();
        if (kind == u"verst") {
            c.tabWidget->setCurrentIndex(1);
            typeInto(c.indexText, QStringLiteral("Верста"));
            clock.restart();
            QTest::keyClick(c.indexText, Qt::Key_Return);
        }
        help->grab();  // painted, so laid out
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

        QCOMPARE(c.browser->toPlainText().startsWith(QStringLiteral("Эту страницу нельзя")),
                 shown == u"note");
        QCOMPARE(!c.contentsNote->isHidden(), shown == u"contents");
        QVERIFY(entries(c.contentsTree) <= HelpBook::contentsEntries);
        QCOMPARE(!c.indexNote->isHidden(), shown == u"index");
        QVERIFY(entries(c.indexTree) <= HelpBook::indexRows);
        QCOMPARE(f.converted(), QStringLiteral("5"));
    }

    // The real pages come out of the check as Qt reads them from the file.
    void realPagesAsWritten() {
        const std::unique_ptr<HelpBook> book = HelpBook::open(QStringLiteral(CHM_FILE));
        QVERIFY(book);
        QStringList pages{book->defaultTopic()};
        for (const HelpKeyword& keyword : book->keywords()) {
            for (const auto& target : keyword.targets) {
                pages << target.second;
            }
        }
        pages.removeDuplicates();
        QVERIFY(pages.size() > 10);
        for (const QString& page : pages) {
            QTextDocument original;
            original.setHtml(HelpBook::decode(book->bytes(page).value_or("")));
            QTextDocument checked;
            checked.setHtml(book->html(page).value_or(QString()));
            QVERIFY2(checked.toHtml() == original.toHtml(), qPrintable(page));
        }
    }

    // Pages at a limit are shown, pages past it are not; what Qt builds of a page shown stays
    // within the limits however the page is written, which counting its tags would not tell.
    void pages_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("shown");
        const QString cell = QStringLiteral("<table><tr><td>");
        QTest::newRow("a table of units") << "<h1>Углы</h1><table><tr><th>Единица</th></tr>"
                                             "<tr><td>градус</td></tr></table>"
                                          << true;
        QTest::newRow("tables 4 deep") << cell.repeated(4) << true;
        QTest::newRow("tables 5 deep") << cell.repeated(5) << false;
        // To Qt, a cell with no row around it opens a table of its own.
        QTest::newRow("cells each closing their row")
            << QStringLiteral("<td></tr>").repeated(30) << true;
        QTest::newRow("a closing tag for what a paragraph closed")
            << "<p><b><p>" + cell + "</b>" + cell.repeated(3) << true;
        QTest::newRow("a row 30 wide over 30 rows")
            << "<table><tr>" + QStringLiteral("<td>x").repeated(30) +
                   QStringLiteral("<tr><td>y").repeated(30)
            << true;
        QTest::newRow("a row 40 wide over 40 rows")
            << "<table><tr>" + QStringLiteral("<td>x").repeated(40) +
                   QStringLiteral("<tr><td>y").repeated(40)
            << false;
        QTest::newRow("cells spanning 99 rows and columns")
            << "<table>" + QStringLiteral("<tr><td rowspan=99 colspan=99>x").repeated(2) << false;
        QTest::newRow("lists 10 deep") << QStringLiteral("<ul><li>Пункт").repeated(10) << true;
        QTest::newRow("lists 11 deep") << QStringLiteral("<ol><li>Пункт").repeated(11) << false;
        QTest::newRow("101 pictures")
            << QStringLiteral("<img src=\"p.png\">").repeated(101) << false;
        QTest::newRow("elements 65 deep") << QStringLiteral("<div>").repeated(65) << false;
        QTest::newRow("1001 elements") << QStringLiteral("<br>").repeated(1001) << false;
        QTest::newRow("a character more") << QString(pagelimits::bytes + 1, u'x') << false;
    }

    void pages() {
        QFETCH(QString, html);
        QFETCH(bool, shown);
        const std::optional<QString> prepared = pagelimits::prepare(html);
        QCOMPARE(prepared.has_value(), shown);
        if (prepared) {
            const Built b = built(*prepared);
            QVERIFY2(b.tableNesting <= pagelimits::tableNesting, qPrintable(*prepared));
            QVERIFY2(b.cells <= pagelimits::cells, qPrintable(QString::number(b.cells)));
            QVERIFY(b.listNesting <= pagelimits::listNesting);
            QVERIFY(b.pictures <= pagelimits::pictures);
        }
    }

    // F1 opens the help wholly on the converter's screen, whatever its size and scale.
    void fitsTheScreen() {
        HelpFixture f;
        QVERIFY(f.copied);
        f.w().controls().TabStrip1->setFocus();
        QTest::keyClick(f.w().controls().TabStrip1, Qt::Key_F1);
        HelpWindow* help = f.commands.helpWindow();
        QVERIFY(help && QTest::qWaitForWindowExposed(help));
        QCOMPARE(f.w().screen()->availableGeometry().united(help->frameGeometry()),
                 f.w().screen()->availableGeometry());
    }
};

QTEST_MAIN(TestHelpLimits)
#include "tst_helplimits.moc"
