#pragma once

#include "help/helpbook.h"

#include <QTextBrowser>

// Shows the pages of a help file; links and the page's images and style sheets are read from
// the file, never from the disk or the network.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    HelpBrowser(const HelpBook& book, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

    static QUrl urlOf(const QString& page);
    QString page() const { return source().path(); }

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void follow(const QUrl& link);
    QVariant picture(const QByteArray& bytes);

    const HelpBook& book_;
    // What the page on show has taken so far of its style sheets and pictures (pagelimits.h).
    int styleSheets_ = 0;
    qsizetype styleBytes_ = 0;
    qint64 pixels_ = 0;
};
