#pragma once

#include "pages.h"

#include <string>
#include <vector>

namespace helpgen {

// The HTML Help project around the pages: its table of contents, keyword index and project
// file, UTF-8 here and written out in windows-1251 like the pages.
std::string contentsFile(const std::vector<Page>& pages);
// Every unit of every picker and every category caption, each leading to its category's pages.
std::string indexFile();
std::string projectFile(const std::vector<std::string>& files);

}  // namespace helpgen
