#include "help/pagelimits.h"

#include "help/pagereader.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <vector>

namespace pagelimits {
namespace {

using pagereader::Attribute;
using pagereader::Reader;

// What an element is to the tree. Qt knows the names listed below; others it ignores, and so
// are they dropped here, with their text kept.
enum class Kind {
    Inline,     // holds text and inline elements; the only kind a paragraph holds
    Block,      // ends an open paragraph
    Paragraph,  // never inside another: Qt would move it out
    Table,
    Row,   // only in a table
    Cell,  // only in a row
    List,
    Item,   // never directly in another item
    Terms,  // a definition list
    Term,   // only in a definition list
    Head,
    Body,         // never in the head
    Empty,        // holds nothing
    Transparent,  // row groups and captions: their tags are dropped, their content kept
};

Kind kindOf(const QString& name, bool* known) {
    static const QHash<QString, Kind> kinds = [] {
        const std::pair<const char*, Kind> groups[] = {
            {"a b big cite code dfn em font i kbd nobr s samp small span strong sub sup tt u var "
             "html title style script",
             Kind::Inline},
            {"address blockquote center div h1 h2 h3 h4 h5 h6 pre qt", Kind::Block},
            {"p", Kind::Paragraph},
            {"table", Kind::Table},
            {"tr", Kind::Row},
            {"td th", Kind::Cell},
            {"ul ol", Kind::List},
            {"li", Kind::Item},
            {"dl", Kind::Terms},
            {"dd dt", Kind::Term},
            {"head", Kind::Head},
            {"body", Kind::Body},
            {"img br hr meta link", Kind::Empty},
            {"thead tbody tfoot caption", Kind::Transparent}};
        QHash<QString, Kind> k;
        for (const auto& [names, kind] : groups) {
            for (const QString& name : QString::fromLatin1(names).split(u' '))
                k.insert(name, kind);
        }
        return k;
    }();
    const auto found = kinds.constFind(name);
    *known = found != kinds.constEnd();
    return *known ? *found : Kind::Inline;
}

// A table's figures so far, from which its grid follows.
struct Table {
    qint64 rows = 0;
    qint64 width = 0;    // of the row being read
    qint64 widest = 0;   // of the rows read
    qint64 spanned = 0;  // columns that cells reaching into later rows take from them
    qint64 lowest = 0;   // rows the cells reach down to
};

struct Open {
    QString name;
    Kind kind;
};

class Builder {
public:
    QString out;

    bool text(QStringView text) {
        const bool blank =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
        if (inTableOnly()) {
            if (blank)
                return true;  // the spaces between rows
            if (!cell())
                return false;
        }
        out += text;
        return true;
    }

    bool open(const QString& name, const QList<Attribute>& attributes, bool closesItself) {
        bool known = false;
        const Kind kind = kindOf(name, &known);
        if (!known || kind == Kind::Transparent)
            return true;
        if (kind != Kind::Inline && kind != Kind::Head && kind != Kind::Empty)
            closeParagraph();
        if (name == u"hr")
            closeParagraph();
        if (kind == Kind::Row) {
            const qsizetype table = nearest({Kind::Table});
            if (table < 0 ? !push(QStringLiteral("table"), Kind::Table, {}) : !popAbove(table))
                return false;
        } else if (kind == Kind::Cell) {
            if (!row())
                return false;
        } else if (kind == Kind::Item) {
            // Only within the same cell: an item of a list around the table stays open.
            const qsizetype item = nearest({Kind::Item, Kind::List, Kind::Cell});
            if (item >= 0 && stack_[std::size_t(item)].kind == Kind::Item && !popFrom(item))
                return false;
        } else if (kind == Kind::Term) {
            const qsizetype terms = nearest({Kind::Terms});
            if (terms < 0)
                return true;
            if (!popAbove(terms))
                return false;
        } else if (kind == Kind::Body) {
            const qsizetype head = nearest({Kind::Head});
            if (head >= 0 && !popFrom(head))
                return false;
        }
        if (kind != Kind::Row && kind != Kind::Cell && inTableOnly() && !cell())
            return false;
        if (kind == Kind::Empty) {
            if (name == u"img" && ++pictures_ > pictures)
                return false;
            if (++elements_ > elements)
                return false;
            writeOpen(name, attributes);
            out += QStringLiteral("</") + name + u'>';
            return true;
        }
        if (!push(name, kind, attributes))
            return false;
        return !closesItself || popFrom(qsizetype(stack_.size()) - 1);
    }

    // A closing tag ends the nearest open element of its name and all inside it; one of an
    // element not open is ignored, as Qt does.
    bool close(const QString& name) {
        for (qsizetype i = qsizetype(stack_.size()) - 1; i >= 0; --i) {
            if (stack_[std::size_t(i)].name == name)
                return popFrom(i);
        }
        return true;
    }

    bool finish() { return popFrom(0); }

private:
    bool inTableOnly() const {
        return !stack_.empty() &&
               (stack_.back().kind == Kind::Table || stack_.back().kind == Kind::Row);
    }

    qsizetype nearest(std::initializer_list<Kind> kinds) const {
        for (qsizetype i = qsizetype(stack_.size()) - 1; i >= 0; --i) {
            if (std::find(kinds.begin(), kinds.end(), stack_[std::size_t(i)].kind) != kinds.end())
                return i;
        }
        return -1;
    }

    void closeParagraph() {
        // Paragraphs hold inline elements only, so closing one closes no table.
        if (const qsizetype paragraph = nearest({Kind::Paragraph}); paragraph >= 0)
            static_cast<void>(popFrom(paragraph));
    }

    // Into a row of the nearest table, opening what is missing.
    bool row() {
        const qsizetype at = nearest({Kind::Row, Kind::Table});
        if (at < 0)
            return push(QStringLiteral("table"), Kind::Table, {}) &&
                   push(QStringLiteral("tr"), Kind::Row, {});
        if (!popAbove(at))
            return false;
        return stack_.back().kind == Kind::Row || push(QStringLiteral("tr"), Kind::Row, {});
    }

    // Content found in a table outside any cell goes into a cell of its own.
    bool cell() { return row() && push(QStringLiteral("td"), Kind::Cell, {}); }

    bool push(const QString& name, Kind kind, const QList<Attribute>& attributes) {
        if (++elements_ > elements || stack_.size() >= std::size_t(nesting))
            return false;
        if (kind == Kind::Table) {
            if (tables_.size() >= std::size_t(tableNesting))
                return false;
            tables_.emplace_back();
        } else if (kind == Kind::List && ++lists_ > listNesting) {
            return false;
        } else if (kind == Kind::Row) {
            Table& table = tables_.back();
            table.widest = std::max(table.widest, table.width);
            table.width = 0;
            ++table.rows;
        } else if (kind == Kind::Cell) {
            Table& table = tables_.back();
            const qint64 columns = span(attributes, u"colspan");
            const qint64 rows = span(attributes, u"rowspan");
            if (columns > cells || rows > cells)
                return false;
            table.width += columns;
            if (rows > 1)
                table.spanned += columns;
            table.lowest = std::max(table.lowest, table.rows - 1 + rows);
        }
        stack_.push_back({name, kind});
        writeOpen(name, attributes);
        return true;
    }

    bool popAbove(qsizetype index) { return popFrom(index + 1); }

    // Closes the element at the index and everything inside it.
    bool popFrom(qsizetype index) {
        while (qsizetype(stack_.size()) > index) {
            const Open element = stack_.back();
            stack_.pop_back();
            out += QStringLiteral("</") + element.name + u'>';
            if (element.kind == Kind::List) {
                --lists_;
            } else if (element.kind == Kind::Table) {
                const Table table = tables_.back();
                tables_.pop_back();
                grid_ += std::max(table.rows, table.lowest) *
                         (std::max(table.widest, table.width) + table.spanned);
                if (grid_ > cells)
                    return false;
            }
        }
        return true;
    }

    // A cell's span as Qt reads it, at least 1; written out again as read.
    static qint64 span(const QList<Attribute>& attributes, QStringView name) {
        for (const Attribute& a : attributes) {
            if (a.name == name) {
                bool ok = false;
                const qint64 value = a.value.trimmed().toLongLong(&ok);
                return ok && value > 1 ? value : 1;
            }
        }
        return 1;
    }

    void writeOpen(const QString& name, const QList<Attribute>& attributes) {
        out += u'<' + name;
        for (const Attribute& a : attributes) {
            const bool plainName = std::all_of(a.name.begin(), a.name.end(), [](QChar c) {
                return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
                       c == u'_' || c == u':';
            });
            if (!plainName)
                continue;
            if (a.name == u"colspan" || a.name == u"rowspan") {
                out += QStringLiteral(" %1=\"%2\"").arg(a.name).arg(span(attributes, a.name));
                continue;
            }
            // Qt reads entities in double-quoted and bare values, not in single-quoted ones.
            QString value = a.value.toString();
            if (a.quote == u'\'')
                value.replace(u'&', QStringLiteral("&amp;"));
            value.replace(u'"', QStringLiteral("&quot;"));
            out += u' ' + a.name + QStringLiteral("=\"") + value + u'"';
        }
        out += u'>';
    }

    std::vector<Open> stack_;
    std::vector<Table> tables_;  // the open tables, innermost last
    int elements_ = 0;
    int lists_ = 0;
    int pictures_ = 0;
    qint64 grid_ = 0;
};

}  // namespace

std::optional<QString> prepare(QStringView html) {
    if (html.size() > bytes)
        return std::nullopt;
    Reader in(html);
    Builder tree;
    tree.out.reserve(html.size() + html.size() / 2);
    while (!in.atEnd()) {
        if (in.peek() != u'<') {
            if (!tree.text(in.text()))
                return std::nullopt;
            continue;
        }
        in.skip();
        in.skipSpace();
        if (in.peek() == u'!') {  // a comment or a declaration: nothing Qt shows
            in.skip();
            in.skipPast(in.peek() == u'-' && in.peek(1) == u'-' ? u"-->" : u">");
            continue;
        }
        if (in.peek() == u'/') {
            in.skip();
            const QString name = in.word().value.toString().toLower().trimmed();
            in.skipPast(u">");
            if (!tree.close(name))
                return std::nullopt;
            continue;
        }
        const QString name = in.word().value.toString().toLower();
        const QList<Attribute> attributes =
            in.peek().isSpace() ? in.attributes() : QList<Attribute>();
        if (!tree.open(name, attributes, in.closesItself()))
            return std::nullopt;
    }
    if (!tree.finish())
        return std::nullopt;
    return tree.out;
}

}  // namespace pagelimits
