#include "help/pagepictures.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>

namespace {

QImage pictureOf(QTextDocument* document, const QTextFormat& format) {
    return document->resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()))
        .value<QImage>();
}

}  // namespace

// The size the page gives the picture, or its own; one side given scales the other with it.
QSizeF PagePictures::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    const QSizeF own = pictureOf(document, format).size();
    const bool width = image.hasProperty(QTextFormat::ImageWidth);
    const bool height = image.hasProperty(QTextFormat::ImageHeight);
    if (width && height) {
        return {image.width(), image.height()};
    }
    if (own.isEmpty()) {
        return {width ? image.width() : 0, height ? image.height() : 0};
    }
    if (width) {
        return {image.width(), own.height() * image.width() / own.width()};
    }
    if (height) {
        return {own.width() * image.height() / own.height(), image.height()};
    }
    return own;
}

void PagePictures::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                              const QTextFormat& format) {
    painter->drawImage(rect, pictureOf(document, format));
}
