#include "help/helpbook.h"

#include "help/pagelimits.h"

#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>

namespace {

// A document that takes nothing from outside: a page's style sheets and images asked for while
// its text is read are all empty, so no file is ever opened for them.
class SealedDocument : public QTextDocument {
public:
    QVariant loadResource(int type, const QUrl&) override { return HelpBook::emptyResource(type); }
};

QString plainText(const QString& html) {
    SealedDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

QString attributeValue(const QRegularExpression& pattern, const QString& attributes) {
    const QRegularExpressionMatch m = pattern.match(attributes);
    if (!m.hasMatch()) {
        return {};
    }
    const QString raw = m.captured(1) + m.captured(2) + m.captured(3);
    // Entities need Qt's reading; plain words only their spaces folded, which is far cheaper.
    return raw.contains(u'&') || raw.contains(u'<') ? plainText(raw) : raw.simplified();
}

QRegularExpression attributePattern(const char* name) {
    return QRegularExpression(QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))")
                                  .arg(QLatin1String(name)),
                              QRegularExpression::CaseInsensitiveOption);
}

QString pagePath(const QString& local) {
    QString path = local.section(u'#', 0, 0);
    if (path.isEmpty()) {
        return {};
    }
    return path.startsWith(u'/') ? path : u'/' + path;
}

// An OBJECT of a sitemap: its parameters in order, and the depth of lists it lies in.
struct SitemapObject {
    QList<std::pair<QString, QString>> parameters;
    int depth = 0;
};

// The OBJECTs of a sitemap, read tag by tag until `most` of them or sitemapParameters
// parameters; *cut tells whether there was more.
QList<SitemapObject> objects(const QString& sitemap, qsizetype most, bool* cut) {
    // A try at a tag stops at the next '<': one that never closes costs no search to the end.
    static const QRegularExpression tag(QStringLiteral("<(/?)(ul|object|param)\\b([^<>]*)>"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression name = attributePattern("name");
    static const QRegularExpression value = attributePattern("value");
    QList<SitemapObject> out;
    int depth = 0;
    int parameters = 0;
    bool inside = false;
    QRegularExpressionMatchIterator tags = tag.globalMatch(sitemap);
    while (tags.hasNext()) {
        const QRegularExpressionMatch m = tags.next();
        const bool closing = !m.capturedView(1).isEmpty();
        const QString element = m.captured(2).toLower();
        if (element == u"ul") {
            depth += closing ? -1 : 1;
        } else if (element == u"object") {
            inside = !closing;
            if (inside) {
                if (out.size() == most) {
                    *cut = true;
                    break;
                }
                out.append({{}, depth});
            }
        } else if (inside) {
            if (++parameters > HelpBook::sitemapParameters) {
                *cut = true;
                break;
            }
            const QString attributes = m.captured(3);
            out.last().parameters.append(
                {attributeValue(name, attributes).toLower(), attributeValue(value, attributes)});
        }
    }
    return out;
}

// The sitemap's text, cut at what it may hold.
QString sitemapText(const QByteArray& bytes, bool* cut) {
    *cut = bytes.size() > HelpBook::sitemapBytes;
    return HelpBook::decode(bytes.left(HelpBook::sitemapBytes));
}

void collectPages(const std::vector<HelpTopic>& topics, QStringList& pages,
                  QHash<QString, QString>& titles) {
    for (const HelpTopic& topic : topics) {
        if (!topic.page.isEmpty() && !titles.contains(topic.page)) {
            pages << topic.page;
            titles.insert(topic.page, topic.name);
        }
        collectPages(topic.children, pages, titles);
    }
}

// How often the words occur in the text, all together; 0 unless every one of them does.
qsizetype hitsOfAll(const QString& text, const QStringList& words) {
    qsizetype hits = 0;
    for (const QString& word : words) {
        const qsizetype count = text.count(word);
        if (count == 0) {
            return 0;
        }
        hits += count;
    }
    return hits;
}

}  // namespace

std::unique_ptr<HelpBook> HelpBook::open(const QString& path) {
    std::unique_ptr<ChmArchive> archive = ChmArchive::open(path);
    if (!archive) {
        return nullptr;
    }
    std::unique_ptr<HelpBook> book(new HelpBook(std::move(archive)));
    const std::optional<QByteArray> contents = book->bytes(book->archive_->contentsPath());
    bool cut = false;
    book->contents_ =
        parseContents(sitemapText(contents.value_or(QByteArray()), &cut), &book->contentsCut_);
    book->contentsCut_ = book->contentsCut_ || cut;
    collectPages(book->contents_, book->pages_, book->titles_);
    // A help file without pages is as useless as a damaged one.
    if (book->pages_.isEmpty() || !book->html(book->pages_.first())) {
        return nullptr;
    }
    if (!book->archive_->indexPath().isEmpty()) {
        if (const std::optional<QByteArray> index = book->bytes(book->archive_->indexPath())) {
            book->keywords_ = parseIndex(sitemapText(*index, &cut), &book->indexCut_);
            book->indexCut_ = book->indexCut_ || cut;
        }
    }
    if (book->keywords_.isEmpty()) {
        book->indexFromContents(book->contents_);
    }
    std::sort(book->keywords_.begin(), book->keywords_.end(),
              [](const HelpKeyword& a, const HelpKeyword& b) {
                  return QString::localeAwareCompare(fold(a.name), fold(b.name)) < 0;
              });
    return book;
}

QString HelpBook::pageNamed(const QString& name) const {
    for (const QString& page : pages_) {
        if (titles_.value(page) == name) {
            return page;
        }
    }
    return {};
}

QString HelpBook::titleOf(const QString& page) const {
    return titles_.value(page, page.section(u'/', -1));
}

const QString& HelpBook::refusedPage() {
    static const QString page = QStringLiteral(
        "<html><body><p>Эту страницу нельзя показать: она слишком велика "
        "или сложна. Файл справки поврежден или заменен.</p></body></html>");
    return page;
}

// The check lives here, in the program, not in the child that reads the file: the child must
// hand back every object within its time, and what a page costs Qt is known only once it is
// decoded. Each page is checked when it is about to be shown or searched, in one pass.
std::optional<QString> HelpBook::preparedHtml(const QString& page, bool* refused) const {
    *refused = false;
    const std::optional<QByteArray> raw = bytes(page);
    if (!raw) {
        return std::nullopt;
    }
    std::optional<QString> prepared;
    if (raw->size() <= pagelimits::bytes) {
        prepared = pagelimits::prepare(decode(*raw));
    }
    *refused = !prepared;
    return prepared;
}

std::optional<QString> HelpBook::html(const QString& page) const {
    bool refused = false;
    const std::optional<QString> prepared = preparedHtml(page, &refused);
    return refused ? refusedPage() : prepared;
}

QStringList HelpBook::pagesNamed(const QString& phrase) const {
    QStringList named;
    for (const HelpKeyword& keyword : keywords_) {
        if (fold(keyword.name) == phrase) {
            for (const auto& target : keyword.targets) {
                named << target.second;
            }
        }
    }
    return named;
}

QStringList HelpBook::search(const QString& query) const {
    const QStringList words =
        fold(query).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return {};
    }
    ensureSearchText();
    // A unit or category named in full leads to its own pages first, then come pages whose
    // title holds the words, then the pages where the words are densest: a unit's category
    // page before an overview that mentions it in passing.
    const QStringList named = pagesNamed(words.join(u' '));
    QList<std::pair<double, QString>> found;
    for (const QString& page : pages_) {
        const QString& text = foldedText_[page];
        const qsizetype hits = hitsOfAll(text, words);
        if (hits == 0) {
            continue;
        }
        const QString title = fold(titleOf(page));
        const bool inTitle = std::all_of(words.begin(), words.end(), [&title](const QString& word) {
            return title.contains(word);
        });
        const double density = static_cast<double>(hits) / static_cast<double>(text.size());
        found.append({(named.contains(page) ? 2.0 : inTitle ? 1.0 : 0.0) + density, page});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList pages;
    for (const auto& hit : found) {
        pages << hit.second;
    }
    return pages;
}

QString HelpBook::fold(const QString& text) {
    QString folded = text.toLower();
    folded.replace(u'ё', u'е');
    return folded;
}

// Pages say their code page in a meta tag near the top; without one they are windows-1251,
// the code page of a Russian help file.
QString HelpBook::decode(const QByteArray& html) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?([\\w-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = charset.match(QString::fromLatin1(html.left(2048)));
    QStringDecoder decoder(m.hasMatch() ? m.captured(1).toLatin1().constData() : "windows-1251");
    if (!decoder.isValid()) {
        decoder = QStringDecoder("windows-1251");
    }
    return decoder(html);
}

std::vector<HelpTopic> HelpBook::parseContents(const QString& sitemap, bool* cut) {
    bool cutHere = false;
    // One more: the sitemap's own properties come first.
    const auto entries = objects(sitemap, contentsEntries + 1, &cutHere);
    int topics = 0;
    std::vector<HelpTopic> root;
    // The chain of the last topic at each depth; a deeper one goes under the one before.
    std::vector<std::vector<HelpTopic>*> levels{&root};
    for (const SitemapObject& entry : entries) {
        HelpTopic topic;
        for (const auto& [name, value] : entry.parameters) {
            if (name == u"name" && topic.name.isEmpty()) {
                topic.name = value;
            } else if (name == u"local" && topic.page.isEmpty()) {
                topic.page = pagePath(value);
            }
        }
        if (topic.name.isEmpty()) {
            continue;  // the sitemap's own properties
        }
        if (entry.depth > contentsDepth || ++topics > contentsEntries) {
            cutHere = true;
            continue;
        }
        const auto depth = static_cast<std::size_t>(std::max(entry.depth, 1));
        while (levels.size() > depth) {
            levels.pop_back();
        }
        while (levels.size() < depth && !levels.back()->empty()) {
            levels.push_back(&levels.back()->back().children);
        }
        levels.back()->push_back(std::move(topic));
    }
    if (cut) {
        *cut = cutHere;
    }
    return root;
}

QList<HelpKeyword> HelpBook::parseIndex(const QString& sitemap, bool* cut) {
    bool cutHere = false;
    QList<HelpKeyword> keywords;
    qsizetype rows = 0;
    for (const SitemapObject& entry : objects(sitemap, indexRows, &cutHere)) {
        HelpKeyword keyword;
        QString title;
        for (const auto& [name, value] : entry.parameters) {
            if (name == u"name") {
                if (keyword.name.isEmpty()) {
                    keyword.name = value;
                } else {
                    title = value;
                }
            } else if (name == u"local" && !pagePath(value).isEmpty()) {
                keyword.targets.append({title.isEmpty() ? keyword.name : title, pagePath(value)});
                title.clear();
            }
        }
        if (keyword.name.isEmpty() || keyword.targets.isEmpty()) {
            continue;
        }
        rows += 1 + (keyword.targets.size() > 1 ? keyword.targets.size() : 0);
        if (rows > indexRows) {
            cutHere = true;
            break;
        }
        keywords << keyword;
    }
    if (cut) {
        *cut = cutHere;
    }
    return keywords;
}

void HelpBook::indexFromContents(const std::vector<HelpTopic>& topics) {
    for (const HelpTopic& topic : topics) {
        if (!topic.page.isEmpty()) {
            keywords_.append({topic.name, {{topic.name, topic.page}}});
        }
        indexFromContents(topic.children);
    }
}

void HelpBook::ensureSearchText() const {
    if (!foldedText_.isEmpty()) {
        return;
    }
    // Pages past the budget are not searched: no real help file comes near it.
    qsizetype budget = searchBytes;
    for (const QString& page : pages_) {
        bool refused = false;
        const std::optional<QString> text =
            budget > 0 ? preparedHtml(page, &refused) : std::optional<QString>();
        budget -= text ? text->size() : 0;
        foldedText_.insert(page, fold(text ? plainText(*text) : QString()));
    }
}

QVariant HelpBook::emptyResource(int type) {
    // Qt reads a file of the disk in place of a null resource; an empty one stops it there.
    if (type == QTextDocument::ImageResource) {
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return nothing;
    }
    return QStringLiteral("");
}
