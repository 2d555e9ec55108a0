#include "help/chmarchive.h"

#include <chm_lib.h>
#include <QFile>
#include <QLibrary>

namespace {

// chmlib is loaded with the first help file opened, so that start-up does not pay for it.
struct Chmlib {
    decltype(&chm_open) open = nullptr;
    decltype(&chm_close) close = nullptr;
    decltype(&chm_resolve_object) resolve = nullptr;
    decltype(&chm_retrieve_object) retrieve = nullptr;

    bool loaded() const { return open && close && resolve && retrieve; }
};

const Chmlib& chmlib() {
    static const Chmlib functions = [] {
        QLibrary library(QStringLiteral("chm"), 1);
        Chmlib f;
        if (library.load()) {
            f.open = reinterpret_cast<decltype(&chm_open)>(library.resolve("chm_open"));
            f.close = reinterpret_cast<decltype(&chm_close)>(library.resolve("chm_close"));
            f.resolve = reinterpret_cast<decltype(&chm_resolve_object)>(
                library.resolve("chm_resolve_object"));
            f.retrieve = reinterpret_cast<decltype(&chm_retrieve_object)>(
                library.resolve("chm_retrieve_object"));
        }
        return f;
    }();
    return functions;
}

// Anything larger is not a help page; refusing it keeps a damaged length from exhausting memory.
constexpr LONGUINT64 largestObject = 64 * 1024 * 1024;

QString archivePath(const QString& path) {
    return path.startsWith(u'/') ? path : u'/' + path;
}

quint16 little16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) |
                                (static_cast<quint8>(bytes[at + 1]) << 8));
}

}  // namespace

bool ChmArchive::readerAvailable() {
    return chmlib().loaded();
}

std::unique_ptr<ChmArchive> ChmArchive::open(const QString& path) {
    // chmlib trusts the header's sizes; a file shorter than its fixed header is refused first.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 0x60 || file.read(4) != "ITSF") {
        return nullptr;
    }
    file.close();
    if (!chmlib().loaded()) {
        return nullptr;
    }
    chmFile* handle = chmlib().open(QFile::encodeName(path).constData());
    if (!handle) {
        return nullptr;
    }
    std::unique_ptr<ChmArchive> archive(new ChmArchive(handle));
    archive->readSystemFile();
    if (archive->contents_.isEmpty() || !archive->read(archive->contents_)) {
        return nullptr;
    }
    return archive;
}

ChmArchive::~ChmArchive() {
    chmlib().close(file_);
}

std::optional<QByteArray> ChmArchive::read(const QString& path) const {
    const QByteArray name = archivePath(path).toUtf8();
    chmUnitInfo unit{};
    if (chmlib().resolve(file_, name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > largestObject) {
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 got =
        chmlib().retrieve(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                          static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length)) {
        return std::nullopt;
    }
    return bytes;
}

bool ChmArchive::contains(const QString& path) const {
    const QByteArray name = archivePath(path).toUtf8();
    chmUnitInfo unit{};
    return chmlib().resolve(file_, name.constData(), &unit) == CHM_RESOLVE_SUCCESS;
}

// The system file lists the project's settings as tagged records: code 0 the contents file,
// 1 the index file, 2 the default topic. Without one, the usual names are tried.
void ChmArchive::readSystemFile() {
    if (const std::optional<QByteArray> system = read(QStringLiteral("/#SYSTEM"))) {
        qsizetype at = 4;  // a version number comes first
        while (at + 4 <= system->size()) {
            const quint16 code = little16(*system, at);
            const quint16 length = little16(*system, at + 2);
            at += 4;
            if (at + length > system->size()) {
                break;
            }
            const QByteArray value = system->mid(at, length).split('\0').first();
            at += length;
            const QString text = QString::fromLatin1(value);
            if (code == 0) {
                contents_ = archivePath(text);
            } else if (code == 1) {
                index_ = archivePath(text);
            } else if (code == 2) {
                defaultTopic_ = archivePath(text);
            }
        }
    }
    if (contents_.isEmpty() && contains(QStringLiteral("/Mervel.hhc"))) {
        contents_ = QStringLiteral("/Mervel.hhc");
    }
    if (index_.isEmpty() && contains(QStringLiteral("/Mervel.hhk"))) {
        index_ = QStringLiteral("/Mervel.hhk");
    }
    if (defaultTopic_.isEmpty()) {
        defaultTopic_ = QStringLiteral("/index.html");
    }
}
