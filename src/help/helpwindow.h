#pragma once

#include "help/helpbook.h"
#include "help/helpbrowser.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScreen;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The help window's controls, named after what they show.
struct HelpWindowControls {
    QTabWidget* tabWidget = nullptr;
    QTreeWidget* contentsTree = nullptr;
    QLabel* contentsNote = nullptr;  // shown when the contents were cut
    QLineEdit* indexText = nullptr;
    QTreeWidget* indexTree = nullptr;
    QLabel* indexNote = nullptr;
    QLineEdit* searchText = nullptr;
    QPushButton* searchButton = nullptr;
    QListWidget* foundList = nullptr;
    QLabel* searchState = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* forwardButton = nullptr;
    QPushButton* homeButton = nullptr;
    HelpBrowser* browser = nullptr;
};

// The help window: contents, keyword index and search beside the page. It has no owner, and
// at most one is open; the menu commands keep it and close it when the program ends.
class HelpWindow : public QWidget, private HelpWindowControls {
    Q_OBJECT

public:
    // Nothing when the file cannot be read as a compiled help file.
    static std::unique_ptr<HelpWindow> open(const QString& path);

    // Shows a page of the file; an unknown one shows the starting page.
    void showPage(const QString& page);
    void showStart() { showPage(book_->defaultTopic()); }
    // The page whose contents entry bears this name, or the starting page.
    void showTopic(const QString& name);
    const HelpBook& book() const { return *book_; }
    // Sizes the window to what the help needs, within the screen, and places it on it.
    void fitOn(const QScreen& screen);

    // The controls, for the tests to read and drive; only the window itself reassigns them.
    const HelpWindowControls& controls() const { return *this; }

    // The index entry nearest to what was typed: the first whose start matches.
    void indexTyped(const QString& text);
    // Opens the page of an index entry (a keyword with one page, or one of its pages).
    void openIndexEntry(QTreeWidgetItem* item);
    void search();

private:
    explicit HelpWindow(std::unique_ptr<HelpBook> book);
    QLayout* buildButtons();
    QWidget* buildContentsPage();
    QWidget* buildIndexPage();
    QWidget* buildSearchPage();
    void connectControls();
    void buildContents();
    void buildIndex();
    void pageShown(const QUrl& url);

    std::unique_ptr<HelpBook> book_;
    QSplitter* splitter_ = nullptr;
};
