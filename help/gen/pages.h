#pragma once

#include "convert/categories.h"

#include <string>
#include <string_view>
#include <vector>

namespace helpgen {

// One topic of the help file. Its HTML is UTF-8 and declares windows-1251: it is written out
// through toWindows1251().
struct Page {
    std::string file;
    std::string title;  // UTF-8
    std::string html;
    std::vector<Page> children;  // shown under it in the contents
};

// Escapes text for HTML content and attribute values.
std::string escape(std::string_view text);
// A factor as the Russian reader writes it: shortest exact digits, decimal comma, no exponent.
std::string number(double value);
// How a row's value is taken to the base unit, as HTML ("умножить на 0,3048<sup>3</sup>").
std::string stepHtml(const convert::Step& step);

std::string categoryFile(int n);
// The page of the category with the 1-based tab number n: every row of every picker.
Page categoryPage(int n);
// The overview of all categories, with their pages as children.
Page categoriesPage();

// A complete HTML document around the body.
std::string document(std::string_view title, std::string_view body);

}  // namespace helpgen
