#pragma once
// Writing a document's text straight from values, for the documents written often and large (a
// request of a few hundred lines, a desk's saved order, the bookings in doubt): the same bytes as
// building the tree with GDataXMLNode and serialising it, without the tree. Only text that XML
// holds as it is (platform::isXmlText) is written so; anything else answers false, and the caller
// takes the tree's path, which repairs it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gdata {

using XMLAttributes = std::vector<std::pair<std::string, std::string>>;

// Appends one element: its attributes (the first of a name kept, as the tree keeps it), its text
// and, with `hasChildren`, what `children` appends. An element with neither text nor children is
// written empty ("<name/>"). Names are the program's own and are not checked.
bool appendElement(std::string& out, const std::string& name, const std::string& text,
                   const XMLAttributes& attributes = {},
                   const std::function<bool(std::string&)>& children = {}, bool hasChildren = false);

// Appends an element that holds a text, as GDataXMLNode::elementWithNameStringValue makes it:
// "<name></name>" when the text is empty.
bool appendTextElement(std::string& out, std::string_view name, std::string_view text);

// The whole document around a root element written by `root`: the declaration of a document
// whose encoding is set to UTF-8, the root, and the line break the serialiser ends with. None
// when `root` answers false.
std::optional<std::string> documentText(const std::function<bool(std::string&)>& root);

}  // namespace gdata
