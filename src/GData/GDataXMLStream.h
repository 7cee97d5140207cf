#pragma once
// Reading a document without building its tree, for large replies read once: the same parser,
// options and acceptance as GDataXMLDocument, and the same texts a tree would give, handed to a
// handler element by element.
//
// What the handler sees is what the tree holds: an element's qualified name and its attributes in
// document order (qualified names, values as the attribute's stringValue gives them), and the
// text and CDATA the element directly holds, in order (blank text the tree drops is not seen;
// one text of the tree may come in several pieces). Comments, processing instructions and entity
// references give nothing, as they give no text in the tree. Nothing is seen of a text that is no
// document, though a handler may have seen a start of it before the fault was found.

#include <span>
#include <string>
#include <string_view>

struct GDataXMLStreamAttribute {
    std::string_view name;
    std::string_view value;
};

class GDataXMLStreamHandler {
public:
    virtual ~GDataXMLStreamHandler() = default;
    // Depth 0 is the root element. The views are valid during the call only.
    virtual void startElement(int depth, std::string_view name,
                              std::span<const GDataXMLStreamAttribute> attributes) = 0;
    // Text inside the element open at `depth`.
    virtual void text(int depth, std::string_view text) = 0;
    virtual void endElement(int depth) = 0;
};

// Reads the text as GDataXMLDocument::initWithDataOptionsError would; true when it is a document
// (its root element then has been seen whole).
bool GDataXMLStreamRead(const std::string& data, GDataXMLStreamHandler& handler);

// The same reading made from the parsed tree: what a document with a DTD is read through (its
// entities need the tree), and the reference the streaming reading is held to.
bool GDataXMLTreeRead(const std::string& data, GDataXMLStreamHandler& handler);
