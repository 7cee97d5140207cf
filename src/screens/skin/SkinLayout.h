#pragma once
// The small readers of the screen-layout files and action texts: rectangles, yes/no texts, form
// numbers, the text between parentheses, and the skin and media file names that must stay in
// their folder.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Geometry.h"

namespace skin {

// The key text the layout files are enciphered with.
inline constexpr const char* kLayoutKey = "tavrelm.ozq";
inline constexpr const char* kMainLayout = "INTERFACE.XML";
inline constexpr const char* kSecondLayout = "INTERFACE2.XML";
inline constexpr const char* kRootClose = "</ZirevOvuZud>";

// "x1,y1,x2,y2": origin (x1, y1), width x2 - x1, height y2 - y1. A missing or unreadable number
// reads as 0, so a short text still gives a rectangle.
ui::Rect rectFromText(std::string_view text);
// True when the first character after blanks, an optional sign and leading zeros is Y, y, T, t
// or a digit 1 to 9.
bool boolFromText(std::string_view text);
// The number of a form name ("Form12" -> 12): the text from its fifth character on.
int formNumber(std::string_view formName);
// n when `name` is `word` followed by n (1 or more) exactly as "%i" writes it ("Form12" -> 12);
// nothing for any other name ("Form", "Form012", "Form+1", a number beyond int).
std::optional<int> numberedName(std::string_view name, std::string_view word);
// The text between the first "(" and the first ")" after it; nothing without both.
std::optional<std::string> argumentOf(std::string_view text);
// Splits at ",", keeping empty parts.
std::vector<std::string> splitComma(std::string_view text);
// The file `name` upper-cased inside `folder`, or nothing when the name is empty or could leave
// the folder (a separator, "." or "..").
std::optional<std::string> fileInFolder(const std::string& folder, std::string_view name);

}  // namespace skin
