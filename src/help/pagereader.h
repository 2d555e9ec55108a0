#pragma once

#include <QList>
#include <QString>

// The tokens of a help page, for pagelimits.cpp.
namespace pagereader {

struct Attribute {
    QString name;
    QStringView value;
    QChar quote;  // null when the value was not quoted
};

// Reads the page as Qt's parser does: any '<' starts a tag, words are quoted or end at '>',
// "/>", '<', '=' or a space.
class Reader {
public:
    explicit Reader(QStringView text) : text_(text) {}
    bool atEnd() const { return at_ >= text_.size(); }
    QChar peek(qsizetype ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : QChar();
    }
    void skip() { ++at_; }
    void skipSpace() {
        while (!atEnd() && text_[at_].isSpace())
            ++at_;
    }
    // Past the next occurrence of the text, or to the end.
    void skipPast(QStringView end) {
        const qsizetype found = text_.indexOf(end, at_);
        at_ = found < 0 ? text_.size() : found + end.size();
    }
    QStringView text() {
        const qsizetype start = at_;
        const qsizetype found = text_.indexOf(u'<', at_);
        at_ = found < 0 ? text_.size() : found;
        return text_.sliced(start, at_ - start);
    }
    Attribute word() {
        const QChar quote = peek();
        if (quote == u'"' || quote == u'\'') {
            ++at_;
            const qsizetype start = at_;
            const qsizetype found = text_.indexOf(quote, at_);
            const qsizetype end = found < 0 ? text_.size() : found;
            at_ = found < 0 ? end : end + 1;
            return {{}, text_.sliced(start, end - start), quote};
        }
        const qsizetype start = at_;
        while (!atEnd()) {
            const QChar c = text_[at_];
            if (c == u'>' || c == u'<' || c == u'=' || c.isSpace() ||
                (c == u'/' && peek(1) == u'>'))
                break;
            ++at_;
        }
        return {{}, text_.sliced(start, at_ - start), {}};
    }
    QList<Attribute> attributes() {
        QList<Attribute> found;
        for (;;) {
            skipSpace();
            if (atEnd() || peek() == u'>' || peek() == u'/')
                break;
            const QString name = word().value.toString().toLower();
            if (name.isEmpty())
                break;
            skipSpace();
            Attribute attribute{name, u"1", {}};
            if (peek() == u'=') {
                ++at_;
                skipSpace();
                const Attribute value = word();
                attribute.value = value.value;
                attribute.quote = value.quote;
            }
            if (!attribute.value.isEmpty())
                found << attribute;
        }
        return found;
    }
    // To the end of the tag: whether a '/' in it closes the element at once.
    bool closesItself() {
        bool closed = false;
        while (!atEnd() && text_[at_] != u'>') {
            closed = closed || text_[at_] == u'/';
            ++at_;
        }
        ++at_;
        return closed;
    }

private:
    QStringView text_;
    qsizetype at_ = 0;
};

}  // namespace pagereader
