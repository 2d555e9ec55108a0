#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

struct chmFile;

// A compiled HTML Help file opened for reading. Paths inside it are absolute ("/index.html").
class ChmArchive {
public:
    // Nothing when the file cannot be opened or does not hold a readable table of contents.
    static std::unique_ptr<ChmArchive> open(const QString& path);
    // Whether chmlib, loaded at the first call, is there to read help files with.
    static bool readerAvailable();
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // The whole object, or nothing when the archive lacks it or cannot give all of it.
    std::optional<QByteArray> read(const QString& path) const;
    bool contains(const QString& path) const;
    // The archive's own file names of its contents and keyword index, from its system file.
    QString contentsPath() const { return contents_; }
    QString indexPath() const { return index_; }
    QString defaultTopic() const { return defaultTopic_; }

private:
    explicit ChmArchive(chmFile* file) : file_(file) {}
    void readSystemFile();

    chmFile* file_;
    QString contents_;
    QString index_;
    QString defaultTopic_;
};
