#pragma once

#include "help/chmarchive.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

// An entry of the contents: a title and the page it opens, with the entries shown under it.
struct HelpTopic {
    QString name;
    QString page;  // path inside the help file, "/index.html"; empty for a heading
    std::vector<HelpTopic> children;
};

// A keyword of the index and the pages it leads to, each with its title.
struct HelpKeyword {
    QString name;
    QList<std::pair<QString, QString>> targets;  // (title, page)
};

// What the help window shows, read from a compiled help file: the contents, the keyword index,
// every page, and a full-text search over the pages.
class HelpBook {
public:
    // Nothing when the file cannot be read as a compiled help file.
    static std::unique_ptr<HelpBook> open(const QString& path);

    const std::vector<HelpTopic>& contents() const { return contents_; }
    const QList<HelpKeyword>& keywords() const { return keywords_; }
    // Whether the file's contents or index went beyond the limits below and were cut there.
    bool contentsCut() const { return contentsCut_; }
    bool indexCut() const { return indexCut_; }

    // What the contents and the index may hold: Qt's views lay out every entry, and recurse
    // through the depth. Ten times and more the real file's 16 entries 2 deep, 125 index rows,
    // 362 parameters in 16.7 KB.
    static constexpr int contentsEntries = 200;
    static constexpr int contentsDepth = 20;
    static constexpr int indexRows = 1500;  // keywords, and the pages of those with several
    static constexpr int sitemapParameters = 4000;
    static constexpr qsizetype sitemapBytes = 256 * 1024;
    // The search reads the pages' text through Qt, the first time: 28 KB in the real file.
    static constexpr qsizetype searchBytes = 512 * 1024;
    // What the window shows in place of a page beyond the limits of pagelimits.h.
    static const QString& refusedPage();
    QString defaultTopic() const { return archive_->defaultTopic(); }
    // The page whose contents entry bears this name, or nothing.
    QString pageNamed(const QString& name) const;
    // The title the contents give a page, or the page's own name.
    QString titleOf(const QString& page) const;

    std::optional<QByteArray> bytes(const QString& path) const { return archive_->read(path); }
    // A page's HTML, decoded from the code page it declares (windows-1251 when it declares none)
    // and written out as the window may lay it out (pagelimits.h), or refusedPage() when it
    // holds more than that; nothing when the file lacks it.
    std::optional<QString> html(const QString& page) const;

    // The pages holding every word of the query, whatever the case, with "ё" read as "е"; the
    // pages of a unit or category named in full first, then those with the words in the title.
    QStringList search(const QString& query) const;

    // What a document gets for a resource the help file lacks: never null, so that Qt does not
    // go looking for it on the disk.
    static QVariant emptyResource(int type);
    // Text as the search compares it.
    static QString fold(const QString& text);
    static QString decode(const QByteArray& html);
    // The sitemaps cut at the limits above; *cut tells whether they were.
    static std::vector<HelpTopic> parseContents(const QString& sitemap, bool* cut = nullptr);
    static QList<HelpKeyword> parseIndex(const QString& sitemap, bool* cut = nullptr);

private:
    explicit HelpBook(std::unique_ptr<ChmArchive> archive) : archive_(std::move(archive)) {}
    void indexFromContents(const std::vector<HelpTopic>& topics);
    void ensureSearchText() const;
    // The page as the window may lay it out, or nothing when it is missing or beyond the limits.
    std::optional<QString> preparedHtml(const QString& page, bool* refused) const;
    // The pages the keyword index gives for a keyword spelt as the folded phrase.
    QStringList pagesNamed(const QString& phrase) const;

    std::unique_ptr<ChmArchive> archive_;
    std::vector<HelpTopic> contents_;
    QList<HelpKeyword> keywords_;
    bool contentsCut_ = false;
    bool indexCut_ = false;
    QStringList pages_;                           // every page of the contents, in order
    QHash<QString, QString> titles_;              // page -> title from the contents
    mutable QHash<QString, QString> foldedText_;  // made at the first search
};
