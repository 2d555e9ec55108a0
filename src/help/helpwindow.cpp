#include "help/helpwindow.h"

#include "help/helpaccessible.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr int pageRole = Qt::UserRole;

void addTopics(const std::vector<HelpTopic>& topics, QTreeWidgetItem* parent, QTreeWidget* tree) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, topic.name);
        item->setData(0, pageRole, topic.page);
        addTopics(topic.children, item, tree);
    }
}

QTreeWidgetItem* findPage(QTreeWidgetItem* item, const QString& page) {
    if (item->data(0, pageRole).toString() == page) {
        return item;
    }
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = findPage(item->child(i), page)) {
            return found;
        }
    }
    return nullptr;
}

// Marks the row a list or tree shows as current. Where the view lacks the keyboard, the mark
// is set with the view's notices held back, then painted: a view tells of a new current row as
// a focus move even without the focus, and a screen reader would follow it there.
void markCurrent(QAbstractItemView* view, const QModelIndex& index) {
    if (view->hasFocus()) {
        view->setCurrentIndex(index);
        return;
    }
    {
        const QSignalBlocker quiet(view->selectionModel());
        view->setCurrentIndex(index);
    }
    view->scrollTo(index);
    view->viewport()->update();
}

// A line for the words to look for. Tab into an empty line selects its nothing, and that
// selection reaches a screen reader before the focus does: it then takes the line for the one
// it was on and says nothing. Empty, the line is entered without selecting.
class WordsEntry : public QLineEdit {
protected:
    void focusInEvent(QFocusEvent* event) override {
        if (text().isEmpty()) {
            QFocusEvent plain(event->type(), Qt::OtherFocusReason);
            QLineEdit::focusInEvent(&plain);
            return;
        }
        QLineEdit::focusInEvent(event);
    }
};

// What the line asks shows in it while empty, and its name is what a screen reader says.
QLineEdit* wordsEntry(const QString& placeholder, const QString& name) {
    auto* edit = new WordsEntry;
    edit->setPlaceholderText(placeholder);
    edit->setAccessibleName(name);
    return edit;
}

// A list cut at the limits of the help book says so under it.
QLabel* cutNote(const QString& text, bool cut, QWidget* page) {
    auto* note = new QLabel(text, page);
    note->setWordWrap(true);
    note->setVisible(cut);
    return note;
}

}  // namespace

std::unique_ptr<HelpWindow> HelpWindow::open(const QString& path) {
    std::unique_ptr<HelpBook> book = HelpBook::open(path);
    if (!book) {
        return nullptr;
    }
    return std::unique_ptr<HelpWindow>(new HelpWindow(std::move(book)));
}

HelpWindow::HelpWindow(std::unique_ptr<HelpBook> book) : book_(std::move(book)) {
    installHelpAccessibility();
    // It must not keep the program running once the converter window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Справка Mervel"));
    // The buttons are made first: the focus visits them first.
    QLayout* buttons = buildButtons();

    tabWidget = new QTabWidget;
    tabWidget->addTab(buildContentsPage(), QStringLiteral("&Содержание"));
    tabWidget->addTab(buildIndexPage(), QStringLiteral("&Указатель"));
    tabWidget->addTab(buildSearchPage(), QStringLiteral("&Поиск"));

    browser = new HelpBrowser(*book_, this);
    browser->setAccessibleName(QStringLiteral("Страница справки"));
    splitter_ = new QSplitter(this);
    splitter_->addWidget(tabWidget);
    splitter_->addWidget(browser);
    splitter_->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter_, 1);

    buildContents();
    buildIndex();
    connectControls();
}

// The first size is what the help needs in the fonts of this desktop: the contents' longest
// title beside a page of about 90 characters a line and 36 lines. On a small screen, or under
// large fonts, that is cut to the screen's free area, less room for the frame the desktop
// draws around it, and the window is placed wholly on the screen.
void HelpWindow::fitOn(const QScreen& screen) {
    const QFontMetrics text(browser->font());
    int titles = 0;
    for (QTreeWidgetItemIterator it(contentsTree); *it; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) {
            ++depth;
        }
        titles = std::max(titles, contentsTree->fontMetrics().horizontalAdvance((*it)->text(0)) +
                                      depth * contentsTree->indentation());
    }
    // The titles, the scroll bar, and the frames of the tree and the tabs.
    const int pane = std::max(tabWidget->sizeHint().width(),
                              titles + 4 * style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    const int page = text.averageCharWidth() * 90;
    const QMargins margins = layout()->contentsMargins();
    const QSize needed(margins.left() + pane + splitter_->handleWidth() + page + margins.right(),
                       margins.top() + backButton->sizeHint().height() + layout()->spacing() +
                           text.lineSpacing() * 36 + margins.bottom());

    // The desktop's frame, where the platform knows it before the window is shown; otherwise
    // room for a title bar of two lines and a thin border.
    winId();
    QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 1;
        frame = QMargins(border, 2 * fontMetrics().height() + border, border, border);
    }
    const QRect area = screen.availableGeometry();
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = needed.boundedTo(room).expandedTo(minimumSizeHint());
    resize(size);
    // A narrower window narrows the page first, which wraps its lines, down to 50 characters.
    const int paneShown =
        std::min(pane, std::max(size.width() - text.averageCharWidth() * 50, size.width() / 3));
    splitter_->setSizes({paneShown, size.width() - paneShown});
    // move() places the frame.
    move(area.x() + std::max(0, (room.width() - size.width()) / 2),
         area.y() + std::max(0, (room.height() - size.height()) / 2));
}

QLayout* HelpWindow::buildButtons() {
    backButton = new QPushButton(QStringLiteral("Назад"), this);
    forwardButton = new QPushButton(QStringLiteral("Вперед"), this);
    homeButton = new QPushButton(QStringLiteral("Начало"), this);
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addWidget(homeButton);
    buttons->addStretch();
    return buttons;
}

QWidget* HelpWindow::buildContentsPage() {
    auto* page = new QWidget;
    contentsTree = new QTreeWidget;
    contentsTree->setHeaderHidden(true);
    // Long titles scroll sideways instead of losing their end.
    contentsTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    contentsTree->header()->setStretchLastSection(false);
    contentsTree->setAccessibleName(QStringLiteral("Содержание"));
    contentsNote = cutNote(QStringLiteral("Показана только часть содержания: в файле справки "
                                          "оно слишком велико."),
                           book_->contentsCut(), page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins({});
    layout->addWidget(contentsTree);
    layout->addWidget(contentsNote);
    return page;
}

QWidget* HelpWindow::buildIndexPage() {
    auto* page = new QWidget;
    indexText = wordsEntry(QStringLiteral("Введите слово"), QStringLiteral("Слово указателя"));
    indexTree = new QTreeWidget;
    indexTree->setHeaderHidden(true);
    indexTree->setAccessibleName(QStringLiteral("Указатель"));
    indexNote = cutNote(QStringLiteral("Показана только часть указателя: в файле справки "
                                       "он слишком велик."),
                        book_->indexCut(), page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(indexText);
    layout->addWidget(indexTree);
    layout->addWidget(indexNote);
    return page;
}

QWidget* HelpWindow::buildSearchPage() {
    auto* page = new QWidget;
    searchText = wordsEntry(QStringLiteral("Слова для поиска"), QStringLiteral("Слова для поиска"));
    searchButton = new QPushButton(QStringLiteral("&Найти"));
    foundList = new QListWidget;
    foundList->setAccessibleName(QStringLiteral("Найденные страницы"));
    searchState = new QLabel;
    searchState->setObjectName(QLatin1String(notificationName));
    // Shown with the first outcome: an empty notification would be announced as a blank.
    searchState->hide();
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchText);
    searchRow->addWidget(searchButton);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(searchRow);
    layout->addWidget(searchState);
    layout->addWidget(foundList);
    return page;
}

void HelpWindow::connectControls() {
    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(homeButton, &QPushButton::clicked, this, &HelpWindow::showStart);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageShown);
    connect(indexText, &QLineEdit::textEdited, this, &HelpWindow::indexTyped);
    connect(indexText, &QLineEdit::returnPressed, this,
            [this] { openIndexEntry(indexTree->currentItem()); });
    connect(indexTree, &QTreeWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    connect(searchText, &QLineEdit::returnPressed, this, &HelpWindow::search);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::search);
    connect(foundList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(pageRole).toString()); });
}

void HelpWindow::buildContents() {
    addTopics(book_->contents(), nullptr, contentsTree);
    contentsTree->expandAll();
    connect(contentsTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, pageRole).toString();
        if (!page.isEmpty()) {
            showPage(page);
        }
    });
    connect(contentsTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, pageRole).toString();
        if (!page.isEmpty() && page != browser->page()) {
            showPage(page);
        }
    });
}

void HelpWindow::buildIndex() {
    for (const HelpKeyword& keyword : book_->keywords()) {
        auto* item = new QTreeWidgetItem(indexTree);
        item->setText(0, keyword.name);
        if (keyword.targets.size() == 1) {
            item->setData(0, pageRole, keyword.targets.first().second);
            continue;
        }
        for (const auto& [title, page] : keyword.targets) {
            auto* target = new QTreeWidgetItem(item);
            target->setText(0, book_->titleOf(page));
            target->setData(0, pageRole, page);
        }
    }
}

void HelpWindow::showPage(const QString& page) {
    // An empty name would find the archive's root folder, which is no page.
    const QString target = !page.isEmpty() && book_->bytes(page) ? page : book_->defaultTopic();
    if (browser->source().isEmpty() || browser->page() != target) {
        browser->setSource(HelpBrowser::urlOf(target));
    }
}

void HelpWindow::showTopic(const QString& name) {
    showPage(book_->pageNamed(name));
}

// The browser tells of a new page before its source() names it: the page is the one given.
void HelpWindow::pageShown(const QUrl& url) {
    const QString page = url.path();
    const QString title =
        browser->documentTitle().isEmpty() ? book_->titleOf(page) : browser->documentTitle();
    setWindowTitle(title + QStringLiteral(" — Справка Mervel"));
    QTreeWidgetItem* current = nullptr;
    for (int i = 0; i < contentsTree->topLevelItemCount() && !current; ++i) {
        current = findPage(contentsTree->topLevelItem(i), page);
    }
    if (current && current != contentsTree->currentItem()) {
        markCurrent(contentsTree, contentsTree->indexFromItem(current));
    }
}

void HelpWindow::indexTyped(const QString& text) {
    const QString wanted = HelpBook::fold(text.trimmed());
    for (int i = 0; i < indexTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = indexTree->topLevelItem(i);
        if (HelpBook::fold(item->text(0)).startsWith(wanted)) {
            markCurrent(indexTree, indexTree->indexFromItem(item));
            indexTree->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpWindow::openIndexEntry(QTreeWidgetItem* item) {
    if (!item) {
        return;
    }
    if (item->data(0, pageRole).toString().isEmpty() && item->childCount() > 0) {
        item->setExpanded(true);
        item = item->child(0);
    }
    showPage(item->data(0, pageRole).toString());
}

void HelpWindow::search() {
    foundList->clear();
    const QStringList pages = book_->search(searchText->text());
    for (const QString& page : pages) {
        auto* item = new QListWidgetItem(book_->titleOf(page), foundList);
        item->setData(pageRole, page);
    }
    // Shown afresh each time, so that a screen reader speaks it even when it reads as before.
    searchState->hide();
    searchState->setText(pages.isEmpty()
                             ? QStringLiteral("Ничего не найдено.")
                             : QStringLiteral("Найдено страниц: %1.").arg(pages.size()));
    searchState->show();
    if (!pages.isEmpty()) {
        markCurrent(foundList, foundList->model()->index(0, 0));
        showPage(pages.first());
    }
}
