#pragma once

#include "pages.h"

#include <string>
#include <vector>

namespace helpgen {

// The HTML Help project around the pages: its table of contents and project file, UTF-8 here
// and written out in windows-1251 like the pages. There is no keyword index: the full-text
// search finds every unit.
std::string contentsFile(const std::vector<Page>& pages);
std::string projectFile(const std::vector<std::string>& files);

}  // namespace helpgen
