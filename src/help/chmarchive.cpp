#include "help/chmarchive.h"

#include <chm_lib.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QLibrary>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// chmlib is loaded with the first help file opened, so that start-up does not pay for it.
struct Chmlib {
    decltype(&chm_open) open = nullptr;
    decltype(&chm_enumerate) enumerate = nullptr;
    decltype(&chm_retrieve_object) retrieve = nullptr;

    bool loaded() const { return open && enumerate && retrieve; }
};

const Chmlib& chmlib() {
    static const Chmlib functions = [] {
        QLibrary library(QStringLiteral("chm"), 1);
        Chmlib f;
        if (library.load()) {
            f.open = reinterpret_cast<decltype(&chm_open)>(library.resolve("chm_open"));
            f.enumerate =
                reinterpret_cast<decltype(&chm_enumerate)>(library.resolve("chm_enumerate"));
            f.retrieve = reinterpret_cast<decltype(&chm_retrieve_object)>(
                library.resolve("chm_retrieve_object"));
        }
        return f;
    }();
    return functions;
}

QString archivePath(const QString& path) {
    return path.startsWith(u'/') ? path : u'/' + path;
}

quint16 little16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) |
                                (static_cast<quint8>(bytes[at + 1]) << 8));
}

// --- The child's side. It runs between fork() and _exit(): plain calls only, no Qt. It does
// allocate (chmlib mallocs and opens files): glibc's fork takes the malloc and stdio locks across
// the fork, so these stay usable in the child of a threaded program. Should anything else be
// held at the fork, the child only stalls, and the deadline below ends it.

bool writeAll(int fd, const void* data, size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd, at, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        at += done;
        size -= size_t(done);
    }
    return true;
}

struct Sending {
    int fd;
    qint64 budget;  // bytes the objects may still take
    std::string buffer;
};

// One record per object read whole: the name's length and the name, the data's length and the
// data, lengths as 4 bytes in the machine's order (both ends are this program).
int sendObject(chmFile* file, chmUnitInfo* unit, void* context) {
    auto& out = *static_cast<Sending*>(context);
    const size_t nameLength = ::strnlen(unit->path, sizeof unit->path);
    if (nameLength == 0 || unit->path[nameLength - 1] == '/')
        return CHM_ENUMERATOR_CONTINUE;  // a folder
    // The directory's length is a claim, not a fact: read in pieces, so that a false one costs
    // only what the file really gives, and stop at what an honest help file could hold.
    if (unit->length > LONGUINT64(out.budget))
        return CHM_ENUMERATOR_CONTINUE;
    out.buffer.clear();
    constexpr LONGINT64 piece = 64 * 1024;
    while (LONGUINT64(out.buffer.size()) < unit->length) {
        const LONGINT64 wanted =
            std::min<LONGINT64>(piece, LONGINT64(unit->length - out.buffer.size()));
        const size_t at = out.buffer.size();
        out.buffer.resize(at + size_t(wanted));
        const LONGINT64 got = chmlib().retrieve(
            file, unit, reinterpret_cast<unsigned char*>(out.buffer.data() + at), at, wanted);
        if (got != wanted)
            return CHM_ENUMERATOR_CONTINUE;  // shorter than it claims: not whole, not sent
    }
    out.budget -= qint64(out.buffer.size());
    const quint32 lengths[2] = {quint32(nameLength), quint32(out.buffer.size())};
    const bool sent =
        writeAll(out.fd, &lengths[0], 4) && writeAll(out.fd, unit->path, nameLength) &&
        writeAll(out.fd, &lengths[1], 4) && writeAll(out.fd, out.buffer.data(), out.buffer.size());
    return sent ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_FAILURE;
}

[[noreturn]] void readInChild(const QByteArray& path, int fd) {
    // A fault in chmlib ends the child at once: handlers it inherited (a test framework's, a
    // sanitizer's) would only report it at length, or try to go on.
    for (const int fatal : {SIGSEGV, SIGFPE, SIGBUS, SIGILL, SIGABRT, SIGXCPU})
        std::signal(fatal, SIG_DFL);
    // Its failures are the parent's to judge from what arrives; a sanitizer's report of a
    // refused allocation would only fill the user's terminal.
    if (const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC); null >= 0)
        ::dup2(null, STDERR_FILENO);
    // Memory on top of what the process already maps (much, under a sanitizer).
    rlimit memory = {};
    if (::getrlimit(RLIMIT_AS, &memory) == 0) {
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlim_t wanted =
            rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(ChmArchive::memoryLimit);
        if (memory.rlim_max == RLIM_INFINITY || wanted < memory.rlim_max)
            memory.rlim_cur = wanted;
        ::setrlimit(RLIMIT_AS, &memory);
    }
    const rlimit cpu = {2, 3};
    ::setrlimit(RLIMIT_CPU, &cpu);
    Sending out{fd, ChmArchive::largestArchive, {}};
    if (chmFile* file = chmlib().open(path.constData()))
        chmlib().enumerate(file, CHM_ENUMERATE_ALL, sendObject, &out);
    // No chm_close, no exit handlers: the process ends here and the kernel frees it all.
    ::_exit(0);
}

// --- The program's side.

// Everything the child wrote before it ended or the time ran out.
QByteArray readFromChild(int fd, pid_t child) {
    QByteArray received;
    QDeadlineTimer deadline(ChmArchive::timeLimitMs);
    char buffer[65536];
    for (;;) {
        pollfd wait = {fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;  // the time is up
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;  // the child has finished, or died
        received.append(buffer, got);
        if (received.size() > ChmArchive::largestArchive + 1024 * 1024)
            break;
    }
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return received;
}

}  // namespace

QHash<QString, QByteArray> ChmArchive::objectsIn(const QByteArray& stream) {
    QHash<QString, QByteArray> objects;
    qsizetype at = 0;
    const auto length = [&](quint32* value) {
        if (stream.size() - at < 4)
            return false;
        std::memcpy(value, stream.constData() + at, 4);
        at += 4;
        return *value <= stream.size() - at;
    };
    quint32 nameLength = 0;
    quint32 dataLength = 0;
    while (length(&nameLength)) {
        const QByteArray name = stream.mid(at, nameLength);
        at += nameLength;
        if (!length(&dataLength))
            break;  // cut off: the rest was never sent
        objects.insert(QString::fromUtf8(name), stream.mid(at, dataLength));
        at += dataLength;
    }
    return objects;
}

bool ChmArchive::readerAvailable() {
    return chmlib().loaded();
}

std::unique_ptr<ChmArchive> ChmArchive::open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 0x60 || file.read(4) != "ITSF") {
        return nullptr;
    }
    file.close();
    if (!chmlib().loaded()) {
        return nullptr;
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return nullptr;
    }
    const QByteArray encoded = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        readInChild(encoded, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return nullptr;
    }
    const QByteArray stream = readFromChild(pipeFds[0], child);
    ::close(pipeFds[0]);

    std::unique_ptr<ChmArchive> archive(new ChmArchive);
    archive->objects_ = objectsIn(stream);
    archive->readSystemFile();
    if (archive->contents_.isEmpty() || !archive->read(archive->contents_)) {
        return nullptr;
    }
    return archive;
}

std::optional<QByteArray> ChmArchive::read(const QString& path) const {
    const auto found = objects_.constFind(archivePath(path));
    if (found == objects_.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

bool ChmArchive::contains(const QString& path) const {
    return objects_.contains(archivePath(path));
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
