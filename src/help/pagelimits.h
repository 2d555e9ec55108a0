#pragma once

#include <QString>
#include <optional>

// What a help page may hold for Qt to lay it out at once. Qt's layout cost grows quickly with
// some shapes of a page (nested tables, tables wider in one row than in the others, deep lists,
// many pictures), and it lays pages out in the program's own thread, so a page beyond these is
// not shown. Each limit lies about ten times beyond the largest figure of the real help file
// (in the comment), except where Qt's cost grows faster: there the limit is one measured to lay
// out in well under a second.
namespace pagelimits {

inline constexpr qsizetype bytes = 64 * 1024;  // 5.4 KB
inline constexpr int elements = 1000;          // 81
inline constexpr int nesting = 64;             // 6 elements, one inside the other
// Each level of nested tables makes Qt lay the inner ones out again: 1000 elements of tables
// nested 4 deep take 70 ms, nested 10 deep 1 s.
inline constexpr int tableNesting = 4;  // 1
inline constexpr int listNesting = 10;  // 1
inline constexpr int pictures = 100;    // none
// Cells of the grids Qt makes: a table has as many columns in every row as in its widest.
inline constexpr qint64 cells = 1000;  // 42
// Style sheets a page and its sheets ask for, and their text all together: 1 and 464 bytes.
inline constexpr int styleSheets = 10;
inline constexpr qsizetype styleBytes = 64 * 1024;
// The pixels of a page's pictures all together.
inline constexpr qint64 pixels = 4 * 1024 * 1024;  // none

// The page written out again as Qt is to read it, or nothing when it goes beyond a limit.
//
// Qt builds its tree of elements by rules of its own: a cell or a row outside a table opens a
// table of its own, a closing tag closes whatever lies above its element. Counting the page's
// tags would not tell what Qt builds. So the page is read here into a tree by simpler rules,
// checked, and written out with every element closed where it ends, each cell in a row and each
// row in a table: Qt then builds that same tree. One pass, with a stack, never recursion.
std::optional<QString> prepare(QStringView html);

}  // namespace pagelimits
