#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

// A compiled HTML Help file opened for reading. Paths inside it are absolute ("/index.html").
//
// chmlib trusts what the file says of itself, and a damaged file can crash it, make it loop or
// make it allocate without end. So it never runs in the program's own process: a child process,
// limited in time and memory, reads every object of the file at open() and hands the objects
// back through a pipe. Whatever it managed before it failed is kept; the rest is not there.
class ChmArchive {
public:
    // Nothing when the file cannot be opened or does not hold a readable table of contents.
    static std::unique_ptr<ChmArchive> open(const QString& path);
    // Whether chmlib, loaded at the first call, is there to read help files with.
    static bool readerAvailable();

    // The whole object, or nothing when the archive lacks it or could not give all of it.
    std::optional<QByteArray> read(const QString& path) const;
    bool contains(const QString& path) const;
    // The archive's own file names of its contents and keyword index, from its system file.
    QString contentsPath() const { return contents_; }
    QString indexPath() const { return index_; }
    QString defaultTopic() const { return defaultTopic_; }

    // The whole objects in what the reading child wrote; one its end cut off is left out.
    static QHash<QString, QByteArray> objectsIn(const QByteArray& stream);

    // What the child may take: past these it is stopped and the file counts as read so far.
    static constexpr int timeLimitMs = 700;
    static constexpr qint64 memoryLimit = 256 * 1024 * 1024;
    // The most all objects together may hold; anything larger is no help file.
    static constexpr qint64 largestArchive = 64 * 1024 * 1024;

private:
    ChmArchive() = default;
    void readSystemFile();

    QHash<QString, QByteArray> objects_;  // every file object the reader handed back
    QString contents_;
    QString index_;
    QString defaultTopic_;
};
