#include "help/helpbook.h"

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

// One tag of a sitemap, with its attributes as written.
struct Tag {
    bool closing = false;
    QString name;  // lower case
    QString attributes;
};

QList<Tag> tags(const QString& sitemap) {
    static const QRegularExpression tag(QStringLiteral("<(/?)(ul|object|param)\\b([^>]*)>"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<Tag> out;
    for (const QRegularExpressionMatch& m : tag.globalMatch(sitemap)) {
        out.append({!m.captured(1).isEmpty(), m.captured(2).toLower(), m.captured(3)});
    }
    return out;
}

QString attribute(const QString& attributes, const QString& name) {
    const QRegularExpression pattern(
        QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(attributes);
    if (!m.hasMatch()) {
        return {};
    }
    const QString raw = m.captured(1) + m.captured(2) + m.captured(3);
    return plainText(raw);
}

QString pagePath(const QString& local) {
    QString path = local.section(u'#', 0, 0);
    if (path.isEmpty()) {
        return {};
    }
    return path.startsWith(u'/') ? path : u'/' + path;
}

// The parameters of every OBJECT of a sitemap, in order.
QList<QList<std::pair<QString, QString>>> objects(const QString& sitemap, QList<int>* depths) {
    QList<QList<std::pair<QString, QString>>> out;
    int depth = 0;
    bool inside = false;
    for (const Tag& tag : tags(sitemap)) {
        if (tag.name == u"ul") {
            depth += tag.closing ? -1 : 1;
        } else if (tag.name == u"object") {
            inside = !tag.closing;
            if (inside) {
                out.append(QList<std::pair<QString, QString>>());
                if (depths) {
                    depths->append(depth);
                }
            }
        } else if (inside) {
            out.last().append({attribute(tag.attributes, QStringLiteral("name")).toLower(),
                               attribute(tag.attributes, QStringLiteral("value"))});
        }
    }
    return out;
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
    book->contents_ = parseContents(decode(contents.value_or(QByteArray())));
    collectPages(book->contents_, book->pages_, book->titles_);
    // A help file without pages is as useless as a damaged one.
    if (book->pages_.isEmpty() || !book->html(book->pages_.first())) {
        return nullptr;
    }
    if (!book->archive_->indexPath().isEmpty()) {
        if (const std::optional<QByteArray> index = book->bytes(book->archive_->indexPath())) {
            book->keywords_ = parseIndex(decode(*index));
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

std::optional<QString> HelpBook::html(const QString& page) const {
    const std::optional<QByteArray> raw = bytes(page);
    if (!raw) {
        return std::nullopt;
    }
    return decode(*raw);
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

std::vector<HelpTopic> HelpBook::parseContents(const QString& sitemap) {
    QList<int> depths;
    const auto entries = objects(sitemap, &depths);
    std::vector<HelpTopic> root;
    // The chain of the last topic at each depth; a deeper one goes under the one before.
    std::vector<std::vector<HelpTopic>*> levels{&root};
    for (qsizetype i = 0; i < entries.size(); ++i) {
        HelpTopic topic;
        for (const auto& [name, value] : entries[i]) {
            if (name == u"name" && topic.name.isEmpty()) {
                topic.name = value;
            } else if (name == u"local" && topic.page.isEmpty()) {
                topic.page = pagePath(value);
            }
        }
        if (topic.name.isEmpty()) {
            continue;  // the sitemap's own properties
        }
        const auto depth = static_cast<std::size_t>(std::max(depths[i], 1));
        while (levels.size() > depth) {
            levels.pop_back();
        }
        while (levels.size() < depth && !levels.back()->empty()) {
            levels.push_back(&levels.back()->back().children);
        }
        levels.back()->push_back(std::move(topic));
    }
    return root;
}

QList<HelpKeyword> HelpBook::parseIndex(const QString& sitemap) {
    QList<HelpKeyword> keywords;
    for (const auto& entry : objects(sitemap, nullptr)) {
        HelpKeyword keyword;
        QString title;
        for (const auto& [name, value] : entry) {
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
        if (!keyword.name.isEmpty() && !keyword.targets.isEmpty()) {
            keywords << keyword;
        }
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
    for (const QString& page : pages_) {
        const std::optional<QString> text = html(page);
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
