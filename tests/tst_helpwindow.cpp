// The help window on the real help file: what it shows, how it finds words, and how the help
// command opens it, keeps one of it and takes it down with the program.
#include "helpfixture.h"
#include "shell/frmabout.h"
#include "testkit.h"
#include "window/categories.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

namespace {

QString caption(int n) {
    return QString::fromUtf8(window::categoryAt(n)->caption);
}

// What the page on show calls itself.
QString shownTitle(const HelpWindow& help) {
    return help.controls().browser->documentTitle();
}

// Alt and a letter key as each layout delivers it: under the Russian one Qt sees the Cyrillic
// letter, under the Latin one the Latin letter, with the key's X11 code either way.
struct AccessKey {
    Qt::Key latinKey;
    int cyrillic;
    quint32 scanCode;
    char latin;
    void press(QWidget* widget, bool latinLayout) const {
        if (latinLayout) {
            QKeyEvent event(QEvent::KeyPress, latinKey, Qt::AltModifier, scanCode, 0, 0,
                            QString(QChar(latin)));
            QApplication::sendEvent(widget, &event);
        } else {
            WindowFixture::key(widget, QChar(cyrillic).toLower(), Qt::AltModifier);
        }
    }
};

// The page the contents tree marks, which must be the page on show, whatever opened it.
QString markedPage(const HelpWindow& help) {
    const QTreeWidgetItem* item = help.controls().contentsTree->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QStringLiteral("(none)");
}
#define COMPARE_MARKED(help) QCOMPARE(markedPage(help), (help).controls().browser->page())

}  // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        help_ = HelpWindow::open(QStringLiteral(CHM_FILE));
        QVERIFY(help_);
        help_->show();
        QVERIFY(QTest::qWaitForWindowExposed(help_.get()));
    }

    void init() {
        help_->showStart();
        help_->controls().browser->clearHistory();
    }

    // The contents come from the file: the hand-written pages, then the overview of the
    // categories with every category under it by its tab's caption.
    void contents() {
        QTreeWidget* tree = help_->controls().contentsTree;
        QCOMPARE(tree->topLevelItemCount(), 3);
        QTreeWidgetItem* categories = tree->topLevelItem(2);
        QCOMPARE(categories->text(0), QStringLiteral("Категории и единицы"));
        QCOMPARE(categories->childCount(), window::categoryCount);
        for (int n = 1; n <= window::categoryCount; ++n) {
            QCOMPARE(categories->child(n - 1)->text(0), caption(n));
        }
        // Activating an entry shows its page, and the window says which.
        Q_EMIT tree->itemActivated(categories->child(11), 0);
        QCOMPARE(shownTitle(*help_), caption(12));
        COMPARE_MARKED(*help_);
        QVERIFY(help_->windowTitle().startsWith(caption(12)));
        QVERIFY(help_->controls().browser->toPlainText().contains(QStringLiteral("кПа")));
    }

    void search_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("category");  // empty: nothing is found
        QTest::newRow("lower case") << "аршин"
                                    << "Линейные размеры";
        QTest::newRow("capital") << "Аршин"
                                 << "Линейные размеры";
        QTest::newRow("upper case") << "ВЕДРО"
                                    << "Объемы";
        QTest::newRow("yo as ye") << "ОБЪЁМЫ"
                                  << "Объемы";
        QTest::newRow("two words") << "сажень  вершок"
                                   << "Линейные размеры";
        QTest::newRow("latin unit") << "g"
                                    << "Ускорения";
        QTest::newRow("words of a title") << "удельные веса"
                                          << "Удельные веса";
        QTest::newRow("part of a title") << "распределенные силы"
                                         << "Распределенные силы";
        QTest::newRow("no such word") << "штангенциркуль" << QString();
        QTest::newRow("one word missing") << "аршин штангенциркуль" << QString();
    }

    // Words typed into the search, with Enter: the category page they belong to comes first
    // and is shown.
    void search() {
        QFETCH(QString, query);
        QFETCH(QString, category);
        help_->controls().tabWidget->setCurrentIndex(2);
        help_->controls().searchText->clear();
        help_->controls().searchState->clear();  // what the search says proves it ran
        typeInto(help_->controls().searchText, query);
        QTest::keyClick(help_->controls().searchText, Qt::Key_Return);
        if (category.isEmpty()) {
            QCOMPARE(help_->controls().foundList->count(), 0);
            QCOMPARE(help_->controls().searchState->text(), QStringLiteral("Ничего не найдено."));
            QCOMPARE(shownTitle(*help_),
                     QStringLiteral("Mervel — преобразование единиц измерения"));
            return;
        }
        QVERIFY(help_->controls().foundList->count() > 0);
        QCOMPARE(help_->controls().foundList->item(0)->text(), category);
        QCOMPARE(shownTitle(*help_), category);
        COMPARE_MARKED(*help_);
        // The keyboard stays in the words box, not in the tree that marks the page.
        QVERIFY(help_->controls().searchText->hasFocus());
    }

    void index_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("category");
        QTest::newRow("whole name") << "Верста"
                                    << "Верста"
                                    << "Линейные размеры";
        QTest::newRow("start, lower case") << "вер"
                                           << "Верста"
                                           << "Линейные размеры";
        QTest::newRow("volume") << "ведро"
                                << "Ведро"
                                << "Объемы";
        QTest::newRow("angle") << "рад"
                               << "радиан"
                               << "Углы";
        QTest::newRow("whole pressure unit") << "кПа"
                                             << "кПа"
                                             << "Давления";
        QTest::newRow("caption") << "удельные"
                                 << "Удельные веса"
                                 << "Удельные веса";
        // "kN" belongs to six categories: Enter opens the first of them.
        QTest::newRow("unit of several categories") << "kN"
                                                    << "kN"
                                                    << "Моменты";
    }

    // A word typed into the index selects the entry it begins, and Enter opens its page.
    void index() {
        QFETCH(QString, typed);
        QFETCH(QString, keyword);
        QFETCH(QString, category);
        help_->controls().tabWidget->setCurrentIndex(1);
        help_->controls().indexText->clear();
        typeInto(help_->controls().indexText, typed);
        QVERIFY(help_->controls().indexTree->currentItem());
        QCOMPARE(help_->controls().indexTree->currentItem()->text(0), keyword);
        QTest::keyClick(help_->controls().indexText, Qt::Key_Return);
        QCOMPARE(shownTitle(*help_), category);
        COMPARE_MARKED(*help_);
    }

    // Every unit of every picker is in the index and leads to its category's page.
    void indexHasEveryUnit() {
        QHash<QString, QStringList> pagesOf;
        for (const HelpKeyword& keyword : help_->book().keywords()) {
            for (const auto& target : keyword.targets) {
                pagesOf[keyword.name] << help_->book().titleOf(target.second);
            }
        }
        for (int n = 1; n <= window::categoryCount; ++n) {
            const convert::Quantity& quantity = window::categoryAt(n)->quantity();
            for (std::size_t p = 0; p < quantity.pickerCount(); ++p) {
                for (const convert::Unit& unit : quantity.pickers[p]) {
                    const QString name = QString::fromUtf8(unit.text);
                    QVERIFY2(pagesOf.value(name).contains(caption(n)), qPrintable(name));
                }
            }
        }
    }

    // A link inside the file opens its page with the style sheet of the file; back and
    // forward walk the pages seen.
    void linksAndHistory() {
        const QString start = shownTitle(*help_);
        QVERIFY(!help_->controls().backButton->isEnabled());
        Q_EMIT help_->controls().browser->anchorClicked(QUrl(QStringLiteral("categories.html")));
        QCOMPARE(shownTitle(*help_), QStringLiteral("Категории и единицы"));
        COMPARE_MARKED(*help_);
        Q_EMIT help_->controls().browser->anchorClicked(QUrl(QStringLiteral("category03.html")));
        QCOMPARE(shownTitle(*help_), caption(3));
        COMPARE_MARKED(*help_);
        // A link outside the file goes nowhere, and nothing is handed to the desktop.
        Q_EMIT help_->controls().browser->anchorClicked(
            QUrl(QStringLiteral("https://example.org/")));
        QCOMPARE(shownTitle(*help_), caption(3));
        // Nor does one to a page the file lacks: the page on show stays.
        Q_EMIT help_->controls().browser->anchorClicked(QUrl(QStringLiteral("missing.html")));
        QCOMPARE(shownTitle(*help_), caption(3));
        QVERIFY(help_->controls().backButton->isEnabled());
        QTest::mouseClick(help_->controls().backButton, Qt::LeftButton);
        QCOMPARE(shownTitle(*help_), QStringLiteral("Категории и единицы"));
        QTest::mouseClick(help_->controls().backButton, Qt::LeftButton);
        QCOMPARE(shownTitle(*help_), start);
        COMPARE_MARKED(*help_);
        QVERIFY(help_->controls().forwardButton->isEnabled());
        QTest::mouseClick(help_->controls().forwardButton, Qt::LeftButton);
        QCOMPARE(shownTitle(*help_), QStringLiteral("Категории и единицы"));
        COMPARE_MARKED(*help_);

        const QVariant css = help_->controls().browser->loadResource(
            QTextDocument::StyleSheetResource, QUrl(QStringLiteral("help.css")));
        QVERIFY(css.toString().contains(u'{'));
        // Bytes that are no picture give the empty picture: bytes would send Qt to the disk.
        QCOMPARE(help_->controls()
                     .browser
                     ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("help.css")))
                     .typeId(),
                 QMetaType::QImage);
    }

    // F1 opens the page of the category on screen, the menu item the starting page; a second
    // command brings back the same window.
    void command() {
        HelpFixture f;
        QVERIFY(f.copied);
        f.selectTab(12);
        f.w().controls().TabStrip1->setFocus();
        QTest::keyClick(f.w().controls().TabStrip1, Qt::Key_F1);
        HelpWindow* help = f.commands.helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(shownTitle(*help), caption(12));
        QVERIFY(help->windowTitle().startsWith(caption(12)));
        QVERIFY(!help->parentWidget());

        f.selectTab(1);
        f.w().controls().Text1[0]->setFocus();
        QTest::keyClick(f.w().controls().Text1[0], Qt::Key_F1);
        QCOMPARE(f.commands.helpWindow(), help);
        QCOMPARE(shownTitle(*help), caption(1));
        f.w().controls().Help_me->trigger();
        QCOMPARE(shownTitle(*help), QStringLiteral("Mervel — преобразование единиц измерения"));
        QCOMPARE(testkit::shown<HelpWindow>().size(), 2);  // this one and the suite's own
        QCOMPARE(f.desktop.messages, QStringList());
    }

    // The help window's access letters answer the key pressed, under either layout: under
    // the Latin one Alt+G is Alt+П. Tabs come forward; the button Найти searches.
    void accessLettersByKey_data() {
        QTest::addColumn<bool>("latin");
        QTest::addColumn<int>("page");  // the tab, or 3 for Найти on the tab Поиск
        for (const bool latin : {false, true}) {
            const char* layout = latin ? "Latin" : "Russian";
            QTest::addRow("%s: Поиск", layout) << latin << 2;
            QTest::addRow("%s: Указатель", layout) << latin << 1;
            QTest::addRow("%s: Содержание", layout) << latin << 0;
            QTest::addRow("%s: Найти", layout) << latin << 3;
        }
    }
    void accessLettersByKey() {
        QFETCH(bool, latin);
        QFETCH(int, page);
        HelpFixture f;
        QVERIFY(f.copied);
        f.w().controls().Help_me->trigger();
        HelpWindow* help = f.commands.helpWindow();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowActive(help));
        help->controls().tabWidget->setCurrentIndex(page == 0 || page == 3 ? 2 : 0);
        help->controls().browser->setFocus();
        const std::array<AccessKey, 4> keys{{{Qt::Key_C, 0x421, 54, 'c'},
                                             {Qt::Key_E, 0x423, 26, 'e'},
                                             {Qt::Key_G, 0x41F, 42, 'g'},
                                             {Qt::Key_Y, 0x41D, 29, 'y'}}};
        keys[static_cast<std::size_t>(page)].press(help->controls().browser, latin);
        QCOMPARE(help->controls().tabWidget->currentIndex(), std::min(page, 2));
        if (page == 3) {
            QTRY_VERIFY(help->controls().searchState->isVisible());  // it searched
        }
        QVERIFY(!f.w().controls().Fail->isVisible() && !f.w().controls().Help->isVisible());
    }

    // The keys of the converter's menus, pressed in the help window or in the About box, open
    // nothing there: the menus belong to the converter window.
    void convertersMenuStaysShut() {
        HelpFixture f;
        QVERIFY(f.copied);
        f.w().controls().Help_me->trigger();
        f.commands.About_Click();
        const QList<frmAbout*> boxes = testkit::shown<frmAbout>();
        QCOMPARE(boxes.size(), 1);
        for (QWidget* other : {static_cast<QWidget*>(f.commands.helpWindow()),
                               static_cast<QWidget*>(boxes.first())}) {
            for (const bool latin : {false, true}) {
                for (const AccessKey& key :
                     {AccessKey{Qt::Key_A, 0x424, 38, 'a'}, AccessKey{Qt::Key_C, 0x421, 54, 'c'}}) {
                    other->activateWindow();
                    QVERIFY(QTest::qWaitForWindowActive(other));
                    QWidget* focus = QApplication::focusWidget();
                    QVERIFY(focus && focus->window() == other);
                    key.press(focus, latin);
                    QTest::qWait(50);
                    QVERIFY2(
                        !f.w().controls().Fail->isVisible() && !f.w().controls().Help->isVisible(),
                        qPrintable(other->windowTitle() + u' ' + QChar(key.latin)));
                }
            }
        }
        QCOMPARE(testkit::shown<frmAbout>().size(), 1);
        // Nor do the help window's own letters answer in the converter: Alt+G is its Поиск.
        QTabWidget* tabs = f.commands.helpWindow()->controls().tabWidget;
        tabs->setCurrentIndex(0);
        AccessKey{Qt::Key_G, 0x41F, 42, 'g'}.press(f.w().controls().Text1[0], true);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    // Exit takes the help window with it.
    void exitClosesHelp() {
        HelpFixture f;
        QVERIFY(f.copied);
        f.w().controls().Help_me->trigger();
        QPointer<HelpWindow> help = f.commands.helpWindow();
        QVERIFY(help);
        f.w().controls().Exit->trigger();
        QCOMPARE(f.desktop.endings, 1);
        QVERIFY(!help);
        QCOMPARE(testkit::shown<HelpWindow>(), QList<HelpWindow*>({help_.get()}));
    }

    // Closing the converter's window ends the program though the help window is open: the
    // program's event loop returns.
    void closingConverterEndsProgram() {
        HelpFixture f;
        QVERIFY(f.copied);
        f.w().show();
        f.w().controls().Help_me->trigger();
        QVERIFY(f.commands.helpWindow() && f.commands.helpWindow()->isVisible());
        QTimer::singleShot(0, &f.w(), [&f] { f.w().close(); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(2); });  // still running
        const int ended = QApplication::exec();
        help_->show();  // the program's end closed the suite's own too
        QCOMPARE(ended, 0);
    }

    // A page the file lacks, or a name no contents entry bears, shows the starting page.
    void unknownTopicShowsStart_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("no such entry") << QStringLiteral("Штангенциркули");
        QTest::newRow("empty name") << QString();
    }

    void unknownTopicShowsStart() {
        QFETCH(QString, name);
        Q_EMIT help_->controls().browser->anchorClicked(QUrl(QStringLiteral("categories.html")));
        help_->showTopic(name);
        QCOMPARE(help_->controls().browser->page(), help_->book().defaultTopic());
        QCOMPARE(shownTitle(*help_), QStringLiteral("Mervel — преобразование единиц измерения"));
    }

    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        QFile real(QStringLiteral(CHM_FILE));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray whole = real.readAll();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a help file") << QByteArray("<html>Справка</html>\n");
        QTest::newRow("header only") << whole.left(0x60);
        QTest::newRow("cut in the directory") << whole.left(0x1000);
        QTest::newRow("cut in half") << whole.left(whole.size() / 2);
        QTest::newRow("last block missing") << whole.left(whole.size() - 4096);
        QByteArray scrambled = whole;
        for (qsizetype i = 0x60; i < scrambled.size(); i += 7) {
            scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
        }
        QTest::newRow("scrambled") << scrambled;
    }

    // A help file that cannot be read is named in a message saying it is damaged; no help
    // window is left behind, and the command can be given again.
    void damaged() {
        QFETCH(QByteArray, bytes);
        HelpFixture f;
        QVERIFY(f.replaceFile(bytes));
        const QString text = QStringLiteral("Файл ") + f.path +
                             QStringLiteral(" поврежден: его нельзя прочитать как справку");
        for (int time = 0; time < 2; ++time) {
            f.w().controls().TabStrip1->setFocus();
            QTest::keyClick(f.w().controls().TabStrip1, Qt::Key_F1);
        }
        QCOMPARE(f.desktop.messages, QStringList({text, text}));
        QVERIFY(!f.commands.helpWindow());
        QCOMPARE(testkit::shown<HelpWindow>(), QList<HelpWindow*>({help_.get()}));
    }

    // Files whose headers, directory, reset table or window sizes lie, some of which once
    // crashed the program inside chmlib: each is told damaged or shown in part, at once, and
    // the converter goes on converting.
    void damagedStructures_data() {
        QTest::addColumn<QString>("file");
        const QDir corpus(QStringLiteral(HELP_CORPUS));
        for (const QString& name : corpus.entryList({QStringLiteral("*.chm")})) {
            if (name != QLatin1String("real-help-file.chm"))
                QTest::newRow(qPrintable(name)) << corpus.filePath(name);
        }
    }

    void damagedStructures() {
        QFETCH(QString, file);
        HelpFixture f;
        QFile source(file);
        QVERIFY(source.open(QIODevice::ReadOnly) && f.replaceFile(source.readAll()));
        const qint64 peakBefore = peakMemoryKiB();
        QVERIFY(peakBefore > 0);
        QElapsedTimer clock;
        clock.start();
        f.w().controls().Help_me->trigger();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        // A lying block length once had chmlib ask for 512 MiB per block in this process.
        const qint64 grown = peakMemoryKiB() - peakBefore;
        QVERIFY2(grown < 128 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(grown)));
        const HelpWindow* help = f.commands.helpWindow();
        if (help) {
            QVERIFY(help->isVisible() && !help->book().contents().empty());
        } else {
            QCOMPARE(f.desktop.messages.size(), 1);
            QVERIFY(f.desktop.messages.first().contains(QStringLiteral("поврежден")));
        }
        QCOMPARE(f.converted(), QStringLiteral("5"));
    }

    // A directory entry's length is not taken on trust: a page that claims more than the file
    // holds, or more than any help page may, is not there; the rest of the file is.
    void lyingLengths_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("missing");
        QTest::newRow("system file longer than the file")
            << QStringLiteral("system-file-longer-than-the-file.chm") << QStringLiteral("/#SYSTEM");
        QTest::newRow("page longer than 64 MiB")
            << QStringLiteral("page-longer-than-64-mib.chm") << QStringLiteral("/index.html");
        QTest::newRow("page longer than any file")
            << QStringLiteral("page-longer-than-any-file.chm") << QStringLiteral("/index.html");
        // The reader's own memory is limited too: chmlib cannot take the 512 MiB it asks for.
        QTest::newRow("a block of 512 MiB") << "reset-table-block-length-512-mib.chm" << QString();
    }

    // What the reading child wrote before it was stopped: the whole objects are kept, one cut
    // off is left out rather than taken short.
    void cutOffObjectLeftOut() {
        const auto record = [](const QByteArray& name, const QByteArray& data) {
            const std::array<quint32, 2> lengths{quint32(name.size()), quint32(data.size())};
            return QByteArray(reinterpret_cast<const char*>(&lengths[0]), 4) + name +
                   QByteArray(reinterpret_cast<const char*>(&lengths[1]), 4) + data;
        };
        const QByteArray written = record("/a.html", "whole") + record("/b.html", "cut off");
        const QHash<QString, QByteArray> objects = ChmArchive::objectsIn(written.chopped(3));
        QCOMPARE(objects.keys(), QStringList{QStringLiteral("/a.html")});
        QCOMPARE(objects.value(QStringLiteral("/a.html")), QByteArray("whole"));
    }

    void lyingLengths() {
        QFETCH(QString, file);
        QFETCH(QString, missing);
        const std::unique_ptr<ChmArchive> archive =
            ChmArchive::open(QStringLiteral(HELP_CORPUS "/") + file);
        if (missing.isEmpty()) {
            QVERIFY(!archive);  // nothing of it could be read
            return;
        }
        QVERIFY(archive);
        QVERIFY(!archive->read(missing));
        QVERIFY(archive->read(QStringLiteral("/usage.html")).value_or("").contains("<html"));
    }

private:
    // The most address space the process has ever held, from the kernel's own count.
    static qint64 peakMemoryKiB() {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmPeak:"))
                return line.mid(7).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }

    std::unique_ptr<HelpWindow> help_;
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
