// Fuzz target for the help reader: an arbitrary file opened as the help command opens it (the
// archive, its contents and keyword index, every page, a search), and the same bytes parsed as
// a contents and an index file and checked as a page. A damaged file may be refused or read in
// part, but the reading must neither crash nor hang nor exhaust memory.
#include "help/helpbook.h"
#include "help/pagelimits.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what, qint64 ms) {
    std::fprintf(stderr, "mervel_help_fuzz: %s (%lld ms)\n", what, static_cast<long long>(ms));
    std::abort();
}

void walk(const HelpBook& book, const std::vector<HelpTopic>& topics) {
    for (const HelpTopic& topic : topics) {
        if (!topic.page.isEmpty())
            static_cast<void>(book.html(topic.page));
        walk(book, topic.children);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Pages are read as documents, which need the GUI's fonts; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static_cast<void>(HelpBook::parseContents(QString::fromLatin1(bytes)));
    static_cast<void>(HelpBook::parseIndex(QString::fromLatin1(bytes)));
    static_cast<void>(pagelimits::prepare(QString::fromLatin1(bytes)));

    // The file lives in memory only, under a path that chmlib can open.
    const int fd = ::memfd_create("help.chm", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size))
        fail("cannot make the file", 0);
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<HelpBook> book =
        HelpBook::open(QStringLiteral("/proc/self/fd/%1").arg(fd));
    // The reader gives up in less than a second; the check leaves room for a loaded machine,
    // where a fork and a pipe may wait for the processor.
    if (clock.elapsed() > 2000)
        fail("opening took longer than two seconds", clock.elapsed());
    if (book) {
        walk(*book, book->contents());
        static_cast<void>(book->search(QStringLiteral("аршин ВЕДРО")));
        static_cast<void>(book->bytes(QString()));
    }
    ::close(fd);
    return 0;
}
