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
    QString defaultTopic() const { return archive_->defaultTopic(); }
    // The page whose contents entry bears this name, or nothing.
    QString pageNamed(const QString& name) const;
    // The title the contents give a page, or the page's own name.
    QString titleOf(const QString& page) const;

    std::optional<QByteArray> bytes(const QString& path) const { return archive_->read(path); }
    // A page's HTML, decoded from the code page it declares (windows-1251 when it declares none).
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
    static std::vector<HelpTopic> parseContents(const QString& sitemap);
    static QList<HelpKeyword> parseIndex(const QString& sitemap);

private:
    explicit HelpBook(std::unique_ptr<ChmArchive> archive) : archive_(std::move(archive)) {}
    void indexFromContents(const std::vector<HelpTopic>& topics);
    void ensureSearchText() const;
    // The pages the keyword index gives for a keyword spelt as the folded phrase.
    QStringList pagesNamed(const QString& phrase) const;

    std::unique_ptr<ChmArchive> archive_;
    std::vector<HelpTopic> contents_;
    QList<HelpKeyword> keywords_;
    QStringList pages_;                           // every page of the contents, in order
    QHash<QString, QString> titles_;              // page -> title from the contents
    mutable QHash<QString, QString> foldedText_;  // made at the first search
};
