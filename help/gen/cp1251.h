#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace helpgen {

// HTML Help reads its contents, index and topic titles in the code page of the help file's
// language: windows-1251 for Russian. Characters that code page lacks become numeric
// character references, which the HTML viewer resolves. Nothing when the text is not UTF-8.
std::optional<std::string> toWindows1251(std::string_view utf8);

}  // namespace helpgen
