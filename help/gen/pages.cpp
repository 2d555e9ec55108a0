#include "pages.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace helpgen {

namespace {

std::string text(std::string_view utf8) {
    return escape(utf8);
}

std::string ordinal(std::size_t picker) {
    constexpr std::array<std::string_view, 3> names{"Первый список", "Второй список",
                                                    "Третий список"};
    return std::string(picker < names.size() ? names[picker] : "Список");
}

std::string unitTable(convert::UnitTable table) {
    std::string html = "<table>\n<tr><th>Единица</th><th>Перевод в базовую единицу</th></tr>\n";
    for (const convert::Unit& unit : table) {
        html += "<tr><td>" + text(unit.text) + "</td><td>" + stepHtml(unit.toBase) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

}  // namespace

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string number(double value) {
    std::array<char, 512> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    if (error != std::errc()) {
        throw std::runtime_error("a factor does not fit in fixed notation");
    }
    std::string out(buffer.data(), end);
    for (char& c : out) {
        if (c == '.') {
            c = ',';
        }
    }
    return out;
}

std::string stepHtml(const convert::Step& step) {
    std::string factor = number(step.constant);
    if (step.power != 1) {
        factor += "<sup>" + std::to_string(step.power) + "</sup>";
    }
    switch (step.op) {
        case convert::Op::Copy:
            return "базовая единица";
        case convert::Op::Multiply:
            return "умножить на " + factor;
        case convert::Op::Divide:
            return "разделить на " + factor;
    }
    throw std::logic_error("a step with an unknown operation");
}

std::string categoryFile(int n) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "category%02d.html", n);
    return name.data();
}

Page categoryPage(int n) {
    const convert::Category* category = convert::categoryAt(n);
    if (!category) {
        throw std::out_of_range("no category " + std::to_string(n));
    }
    const convert::Quantity& quantity = category->quantity();
    const std::size_t pickers = quantity.pickerCount();
    std::string body = "<h1>" + text(category->caption) + "</h1>\n";
    body += "<p>Базовая единица: " + text(quantity.baseUnit) + ".</p>\n";
    if (pickers > 1) {
        body += "<p>Единица значения составляется из " + std::to_string(pickers) +
                " списков, слева направо. Значение переводится в базовую единицу через "
                "выбранную строку каждого списка по очереди, а из базовой единицы — в единицу "
                "другого поля обратными действиями.</p>\n";
    } else {
        body +=
            "<p>Значение переводится в базовую единицу по строке, выбранной в списке, а из "
            "базовой единицы — в единицу другого поля обратным действием.</p>\n";
    }
    for (std::size_t p = 0; p < pickers; ++p) {
        const convert::UnitTable table = quantity.pickers[p];
        if (pickers > 1) {
            body += "<h2>" + ordinal(p) + "</h2>\n";
        }
        body += unitTable(table);
        const auto whole = static_cast<std::size_t>(quantity.wholeUnitsFrom);
        if (p == 0 && pickers > 1 && whole < table.size()) {
            body += "<p>Начиная со строки «" + text(table[whole].text) +
                    "» единицы самостоятельные: остальные списки при них скрыты и в переводе "
                    "не участвуют.</p>\n";
        }
    }
    body +=
        "<p class=\"nav\"><a href=\"categories.html\">Категории и единицы</a> · "
        "<a href=\"usage.html\">Работа с программой</a></p>\n";
    return {categoryFile(n), std::string(category->caption), document(category->caption, body), {}};
}

Page categoriesPage() {
    Page page{"categories.html", "Категории и единицы", "", {}};
    std::string body = "<h1>" + page.title + "</h1>\n";
    body +=
        "<p>Каждая вкладка окна — категория величин. На странице категории перечислены "
        "все строки ее списков единиц и то, как каждая из них переводится в базовую единицу "
        "категории. Эти страницы строятся из тех же таблиц, по которым считает "
        "программа.</p>\n";
    body += "<table>\n<tr><th>№</th><th>Категория</th><th>Базовая единица</th></tr>\n";
    for (int n = 1; n <= convert::categoryCount; ++n) {
        const convert::Category& category = *convert::categoryAt(n);
        body += "<tr><td>" + std::to_string(n) + "</td><td><a href=\"" + categoryFile(n) + "\">" +
                text(category.caption) + "</a></td><td>" + text(category.quantity().baseUnit) +
                "</td></tr>\n";
        page.children.push_back(categoryPage(n));
    }
    body += "</table>\n";
    body +=
        "<p class=\"nav\"><a href=\"index.html\">Mervel</a> · "
        "<a href=\"usage.html\">Работа с программой</a></p>\n";
    page.html = document(page.title, body);
    return page;
}

std::string document(std::string_view title, std::string_view body) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n"
        "<title>";
    html += escape(title);
    html += "</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n";
    html += body;
    return html + "</body>\n</html>\n";
}

}  // namespace helpgen
