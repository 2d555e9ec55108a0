#pragma once

#include <QObject>
#include <QTextObjectInterface>

// Lays out and draws a page's pictures from what the document's own resources give, which the
// help browser reads from the help file alone. Qt's own picture handler first looks on the disk
// for a sharper copy beside each picture's name ("name@2x.png") whenever the screen is scaled,
// and that look would go outside the help file.
class PagePictures : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;
    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};
