#include "help/helpbrowser.h"

#include "help/pagelimits.h"
#include "help/pagepictures.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>

namespace {

const QString scheme = QStringLiteral("chm");

}  // namespace

HelpBrowser::HelpBrowser(const HelpBook& book, QWidget* parent)
    : QTextBrowser(parent), book_(book) {
    // Links are followed here: only pages of the help file, nothing is handed to the desktop.
    setOpenLinks(false);
    // A caret the arrows move: a screen reader reads the page line by line, and Tab stops at
    // each link, which Return follows.
    setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
    document()->documentLayout()->registerHandler(QTextFormat::ImageObject, new PagePictures(this));
}

QUrl HelpBrowser::urlOf(const QString& page) {
    QUrl url;
    url.setScheme(scheme);
    url.setPath(page.startsWith(u'/') ? page : u'/' + page);
    return url;
}

// Tab selects the next link without telling a screen reader; it hears the selection.
bool HelpBrowser::focusNextPrevChild(bool next) {
    const bool moved = QTextBrowser::focusNextPrevChild(next);
    const QTextCursor link = textCursor();
    if (QAccessible::isActive() && hasFocus() && link.hasSelection()) {
        QAccessibleTextSelectionEvent selected(this, link.selectionStart(), link.selectionEnd());
        selected.setCursorPosition(link.position());
        QAccessible::updateAccessibility(&selected);
    }
    return moved;
}

void HelpBrowser::follow(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() != scheme) {
        return;
    }
    if (target.path() == source().path() && target.hasFragment()) {
        scrollToAnchor(target.fragment());
        return;
    }
    if (book_.bytes(target.path())) {
        setSource(target);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = source().isEmpty() ? name : source().resolved(name);
    if (url.scheme() != scheme) {
        return HelpBook::emptyResource(type);
    }
    if (type == QTextDocument::HtmlResource) {
        // A new page: it asks for its own style sheets and pictures next.
        styleSheets_ = 0;
        styleBytes_ = 0;
        pixels_ = 0;
        return book_.html(url.path()).value_or(QStringLiteral(""));
    }
    const std::optional<QByteArray> bytes = book_.bytes(url.path());
    if (!bytes) {
        return HelpBook::emptyResource(type);
    }
    if (type == QTextDocument::StyleSheetResource) {
        // Style sheets may ask for more style sheets, which Qt reads each in turn.
        if (++styleSheets_ > pagelimits::styleSheets ||
            bytes->size() > pagelimits::styleBytes - styleBytes_) {
            return HelpBook::emptyResource(type);
        }
        styleBytes_ += bytes->size();
        return HelpBook::decode(*bytes);
    }
    if (type == QTextDocument::ImageResource) {
        return picture(*bytes);
    }
    return *bytes;
}

// A picture is decoded only when its size, read from its header, fits what the page has left.
// Bytes that are no picture get the empty one: Qt would go to the disk for a file of that name.
QVariant HelpBrowser::picture(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || pixels > pagelimits::pixels - pixels_) {
        return HelpBook::emptyResource(QTextDocument::ImageResource);
    }
    pixels_ += pixels;
    const QImage image = reader.read();
    return image.isNull() ? HelpBook::emptyResource(QTextDocument::ImageResource) : QVariant(image);
}
