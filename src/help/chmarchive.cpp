#include "help/chmarchive.h"

#include <chm_lib.h>
#include <QFile>

namespace {

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

std::unique_ptr<ChmArchive> ChmArchive::open(const QString& path) {
    // chmlib trusts the header's sizes; a file shorter than its fixed header is refused first.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 0x60 || file.read(4) != "ITSF") {
        return nullptr;
    }
    file.close();
    chmFile* handle = chm_open(QFile::encodeName(path).constData());
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
    chm_close(file_);
}

std::optional<QByteArray> ChmArchive::read(const QString& path) const {
    const QByteArray name = archivePath(path).toUtf8();
    chmUnitInfo unit{};
    if (chm_resolve_object(file_, name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > largestObject) {
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    if (unit.length == 0) {
        return bytes;
    }
    const LONGINT64 got =
        chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length)) {
        return std::nullopt;
    }
    return bytes;
}

bool ChmArchive::contains(const QString& path) const {
    const QByteArray name = archivePath(path).toUtf8();
    chmUnitInfo unit{};
    return chm_resolve_object(file_, name.constData(), &unit) == CHM_RESOLVE_SUCCESS;
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
