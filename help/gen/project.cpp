#include "project.h"

#include <map>

namespace helpgen {

namespace {

constexpr std::string_view helpTitle = "Справка Mervel";

const std::string sitemapHead =
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n"
    "</HEAD>\n<BODY>\n";

std::string param(std::string_view name, std::string_view value) {
    return "<param name=\"" + std::string(name) + "\" value=\"" + escape(value) + "\">";
}

void addEntries(std::string& out, const std::vector<Page>& pages) {
    out += "<UL>\n";
    for (const Page& page : pages) {
        out += "<LI><OBJECT type=\"text/sitemap\">" + param("Name", page.title) +
               param("Local", page.file) + "</OBJECT>\n";
        if (!page.children.empty()) {
            addEntries(out, page.children);
        }
    }
    out += "</UL>\n";
}

}  // namespace

std::string contentsFile(const std::vector<Page>& pages) {
    std::string out = sitemapHead;
    addEntries(out, pages);
    return out + "</BODY>\n</HTML>\n";
}

std::string indexFile() {
    // keyword -> the categories it belongs to, as (caption, page), each once
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> keywords;
    const auto add = [&keywords](std::string_view keyword, const convert::Category& category,
                                 int n) {
        auto& targets = keywords[std::string(keyword)];
        const std::pair<std::string, std::string> target{std::string(category.caption),
                                                         categoryFile(n)};
        if (targets.empty() || targets.back() != target) {
            targets.push_back(target);
        }
    };
    for (int n = 1; n <= convert::categoryCount; ++n) {
        const convert::Category& category = *convert::categoryAt(n);
        const convert::Quantity& quantity = category.quantity();
        add(category.caption, category, n);
        for (std::size_t p = 0; p < quantity.pickerCount(); ++p) {
            for (const convert::Unit& unit : quantity.pickers[p]) {
                add(unit.text, category, n);
            }
        }
    }
    std::string out = sitemapHead + "<UL>\n";
    for (const auto& [keyword, targets] : keywords) {
        out += "<LI><OBJECT type=\"text/sitemap\">" + param("Name", keyword);
        for (const auto& [caption, file] : targets) {
            out += param("Name", caption) + param("Local", file);
        }
        out += "</OBJECT>\n";
    }
    return out + "</UL>\n</BODY>\n</HTML>\n";
}

std::string projectFile(const std::vector<std::string>& files) {
    std::string out =
        "[OPTIONS]\n"
        "Compatibility=1.1 or later\n"
        "Compiled file=Mervel.chm\n"
        "Contents file=Mervel.hhc\n"
        "Default topic=index.html\n"
        "Default Window=main\n"
        "Display compile progress=No\n"
        "Full-text search=Yes\n"
        "Index file=Mervel.hhk\n"
        // chmcmd writes a binary index with every Cyrillic keyword as "?"; without it viewers
        // read the keyword index from Mervel.hhk, which keeps them in the file's code page.
        "Binary Index=No\n"
        "Language=0x419 Russian\n"
        "Title=";
    out += helpTitle;
    out += "\n\n[WINDOWS]\nmain=\"";
    out += helpTitle;
    out +=
        "\",\"Mervel.hhc\",\"Mervel.hhk\",\"index.html\",\"index.html\",,,,,0x63520,,0x387e,,,,,,,,"
        "0\n\n[FILES]\n";
    for (const std::string& file : files) {
        out += file + '\n';
    }
    return out;
}

}  // namespace helpgen
