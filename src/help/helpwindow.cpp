#include "help/helpwindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int pageRole = Qt::UserRole;
const QString scheme = QStringLiteral("chm");

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

// A line for the words to look for: what it asks shows in it while empty, and its name is
// what a screen reader says.
QLineEdit* wordsEntry(const QString& placeholder, const QString& name) {
    auto* edit = new QLineEdit;
    edit->setPlaceholderText(placeholder);
    edit->setAccessibleName(name);
    return edit;
}

}  // namespace

HelpBrowser::HelpBrowser(const HelpBook& book, QWidget* parent)
    : QTextBrowser(parent), book_(book) {
    // Links are followed here: only pages of the help file, nothing is handed to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
}

QUrl HelpBrowser::urlOf(const QString& page) {
    QUrl url;
    url.setScheme(scheme);
    url.setPath(page.startsWith(u'/') ? page : u'/' + page);
    return url;
}

void HelpBrowser::follow(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() != scheme) {
        return;
    }
    if (target.path() == source().path() && target.hasFragment()) {
        scrollToAnchor(target.fragment());
        return;
    }
    if (book_.bytes(target.path())) {
        setSource(target);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = source().isEmpty() ? name : source().resolved(name);
    if (url.scheme() != scheme) {
        return HelpBook::emptyResource(type);
    }
    if (type == QTextDocument::HtmlResource) {
        return book_.html(url.path()).value_or(QStringLiteral(""));
    }
    const std::optional<QByteArray> bytes = book_.bytes(url.path());
    if (!bytes) {
        return HelpBook::emptyResource(type);
    }
    if (type == QTextDocument::StyleSheetResource) {
        return HelpBook::decode(*bytes);
    }
    if (type == QTextDocument::ImageResource) {
        // Bytes that are no picture would send Qt to the disk for a file of that name.
        const QImage image = QImage::fromData(*bytes);
        return image.isNull() ? HelpBook::emptyResource(type) : QVariant(image);
    }
    return *bytes;
}

std::unique_ptr<HelpWindow> HelpWindow::open(const QString& path) {
    std::unique_ptr<HelpBook> book = HelpBook::open(path);
    if (!book) {
        return nullptr;
    }
    return std::unique_ptr<HelpWindow>(new HelpWindow(std::move(book)));
}

HelpWindow::HelpWindow(std::unique_ptr<HelpBook> book) : book_(std::move(book)) {
    // It must not keep the program running once the converter window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Справка Mervel"));
    // The buttons are made first: the focus visits them first.
    QLayout* buttons = buildButtons();

    Tabs = new QTabWidget;
    Contents = new QTreeWidget;
    Contents->setHeaderHidden(true);
    // Long titles scroll sideways instead of losing their end.
    Contents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Contents->header()->setStretchLastSection(false);
    Contents->setAccessibleName(QStringLiteral("Содержание"));
    Tabs->addTab(Contents, QStringLiteral("&Содержание"));
    Tabs->addTab(buildIndexPage(), QStringLiteral("&Указатель"));
    Tabs->addTab(buildSearchPage(), QStringLiteral("&Поиск"));

    Browser = new HelpBrowser(*book_, this);
    Browser->setAccessibleName(QStringLiteral("Страница справки"));
    auto* splitter = new QSplitter(this);
    splitter->addWidget(Tabs);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(990, 620);
    splitter->setSizes({350, 640});

    buildContents();
    buildIndex();
    connectControls();
}

QLayout* HelpWindow::buildButtons() {
    Back = new QPushButton(QStringLiteral("Назад"), this);
    Forward = new QPushButton(QStringLiteral("Вперед"), this);
    Home = new QPushButton(QStringLiteral("Начало"), this);
    Back->setEnabled(false);
    Forward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Back);
    buttons->addWidget(Forward);
    buttons->addWidget(Home);
    buttons->addStretch();
    return buttons;
}

QWidget* HelpWindow::buildIndexPage() {
    auto* page = new QWidget;
    IndexText = wordsEntry(QStringLiteral("Введите слово"), QStringLiteral("Слово указателя"));
    Index = new QTreeWidget;
    Index->setHeaderHidden(true);
    Index->setAccessibleName(QStringLiteral("Указатель"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(IndexText);
    layout->addWidget(Index);
    return page;
}

QWidget* HelpWindow::buildSearchPage() {
    auto* page = new QWidget;
    SearchText = wordsEntry(QStringLiteral("Слова для поиска"), QStringLiteral("Слова для поиска"));
    SearchButton = new QPushButton(QStringLiteral("&Найти"));
    Found = new QListWidget;
    Found->setAccessibleName(QStringLiteral("Найденные страницы"));
    SearchState = new QLabel;
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(SearchText);
    searchRow->addWidget(SearchButton);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(searchRow);
    layout->addWidget(SearchState);
    layout->addWidget(Found);
    return page;
}

void HelpWindow::connectControls() {
    connect(Back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(Forward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Home, &QPushButton::clicked, this, &HelpWindow::showStart);
    connect(Browser, &QTextBrowser::backwardAvailable, Back, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, Forward, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageShown);
    connect(IndexText, &QLineEdit::textEdited, this, &HelpWindow::indexTyped);
    connect(IndexText, &QLineEdit::returnPressed, this,
            [this] { openIndexEntry(Index->currentItem()); });
    connect(Index, &QTreeWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    connect(SearchText, &QLineEdit::returnPressed, this, &HelpWindow::search);
    connect(SearchButton, &QPushButton::clicked, this, &HelpWindow::search);
    connect(Found, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(pageRole).toString()); });
}

void HelpWindow::buildContents() {
    addTopics(book_->contents(), nullptr, Contents);
    Contents->expandAll();
    connect(Contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, pageRole).toString();
        if (!page.isEmpty()) {
            showPage(page);
        }
    });
    connect(Contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, pageRole).toString();
        if (!page.isEmpty() && page != Browser->page()) {
            showPage(page);
        }
    });
}

void HelpWindow::buildIndex() {
    for (const HelpKeyword& keyword : book_->keywords()) {
        auto* item = new QTreeWidgetItem(Index);
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
    if (Browser->source().isEmpty() || Browser->page() != target) {
        Browser->setSource(HelpBrowser::urlOf(target));
    }
}

void HelpWindow::showTopic(const QString& name) {
    showPage(book_->pageNamed(name));
}

void HelpWindow::pageShown() {
    const QString title = Browser->documentTitle().isEmpty() ? book_->titleOf(Browser->page())
                                                             : Browser->documentTitle();
    setWindowTitle(title + QStringLiteral(" — Справка Mervel"));
    QTreeWidgetItem* current = nullptr;
    for (int i = 0; i < Contents->topLevelItemCount() && !current; ++i) {
        current = findPage(Contents->topLevelItem(i), Browser->page());
    }
    if (current) {
        Contents->setCurrentItem(current);
    }
}

void HelpWindow::indexTyped(const QString& text) {
    const QString wanted = HelpBook::fold(text.trimmed());
    for (int i = 0; i < Index->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Index->topLevelItem(i);
        if (HelpBook::fold(item->text(0)).startsWith(wanted)) {
            Index->setCurrentItem(item);
            Index->scrollToItem(item, QAbstractItemView::PositionAtTop);
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
    Found->clear();
    const QStringList pages = book_->search(SearchText->text());
    for (const QString& page : pages) {
        auto* item = new QListWidgetItem(book_->titleOf(page), Found);
        item->setData(pageRole, page);
    }
    SearchState->setText(pages.isEmpty()
                             ? QStringLiteral("Ничего не найдено.")
                             : QStringLiteral("Найдено страниц: %1.").arg(pages.size()));
    if (!pages.isEmpty()) {
        Found->setCurrentRow(0);
        showPage(pages.first());
    }
}
