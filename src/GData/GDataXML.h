#pragma once
// The XML document facade over libxml2 that every file and message of the program is parsed,
// built and serialised through: nodes, elements and documents, all handled as shared_ptr.
//
// Lifetime: a wrapper handed out by a document or an element (rootElement, elementsForName,
// attributeForName, children) shares ownership of the whole tree it lives in, so it stays valid
// as long as it is held, even after the document object itself is let go of. A node made by a
// factory owns its own small tree. Adding a node to an element always adds a deep copy.

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _xmlNode;

namespace gdata {
class XMLTree;
}

class GDataXMLElement;

class GDataXMLNode {
public:
    virtual ~GDataXMLNode() = default;

    // A new element without namespace.
    static std::shared_ptr<GDataXMLElement> elementWithName(const std::string& name);
    // A new element with one text child holding the text literally (escaped when serialised).
    static std::shared_ptr<GDataXMLElement> elementWithNameStringValue(const std::string& name,
                                                                       const std::string& value);
    // A new attribute, not attached to any element; the value is kept literally.
    static std::shared_ptr<GDataXMLNode> attributeWithNameStringValue(const std::string& name,
                                                                      const std::string& value);

    // Element: all descendant text joined; attribute: its value. References to entities declared
    // in a document's DTD are not expanded: they contribute nothing.
    std::optional<std::string> stringValue() const;
    // The same text, interned in the document's string cache: equal texts read from one document
    // are one object (compare by address to tell "from the same document" apart from "equal").
    // Outside a document every call makes a new object. Null where stringValue has nothing.
    std::shared_ptr<const std::string> sharedStringValue() const;
    // Replaces the content; entity references in the text are interpreted ("a&amp;b" stores
    // "a&b"). Nothing changes for none.
    void setStringValue(const std::optional<std::string>& text);

    // The qualified name (prefix:local, or local without a namespace prefix).
    std::string name() const;
    bool isElement() const;
    // Every child node in order (elements as GDataXMLElement).
    std::vector<std::shared_ptr<GDataXMLNode>> children() const;

protected:
    GDataXMLNode(_xmlNode* node, std::shared_ptr<gdata::XMLTree> tree);
    static std::shared_ptr<GDataXMLNode> wrap(_xmlNode* node, const std::shared_ptr<gdata::XMLTree>& tree);

    _xmlNode* xmlNode_;
    // Keeps the library tree (document or free node) alive while this wrapper exists.
    std::shared_ptr<gdata::XMLTree> tree_;

    friend class GDataXMLElement;
    friend class GDataXMLDocument;
    friend std::shared_ptr<GDataXMLElement> firstElement(const std::shared_ptr<GDataXMLElement>&, const std::string&);
    friend std::string elementText(const std::shared_ptr<GDataXMLElement>&, const std::string&);
    friend std::string attributeText(const std::shared_ptr<GDataXMLElement>&, const std::string&);
};

class GDataXMLElement : public GDataXMLNode {
public:
    // An attribute is added as by addAttribute; any other node is deep-copied as the last child.
    void addChild(const std::shared_ptr<GDataXMLNode>& node);
    // The direct child elements of that qualified name in document order; nothing (not an empty
    // list) when there is none. A prefixed name that matches no qualified name is looked up by
    // its prefix's namespace URI and local name.
    std::optional<std::vector<std::shared_ptr<GDataXMLElement>>> elementsForName(const std::string& name) const;
    // Adds a copy, unless the element already has an attribute of that name.
    void addAttribute(const std::shared_ptr<GDataXMLNode>& attribute);
    std::shared_ptr<GDataXMLNode> attributeForName(const std::string& name) const;
    std::vector<std::shared_ptr<GDataXMLNode>> attributes() const;

private:
    GDataXMLElement(_xmlNode* node, std::shared_ptr<gdata::XMLTree> tree)
        : GDataXMLNode(node, std::move(tree)) {}
    friend class GDataXMLNode;
    friend class GDataXMLDocument;
    friend std::shared_ptr<GDataXMLElement> firstElement(const std::shared_ptr<GDataXMLElement>&, const std::string&);
};

class GDataXMLDocument {
public:
    // Parses without network access, DTD loading or entity substitution. A text declaring
    // encoding="GBK" whose bytes are valid UTF-8 is read as the UTF-8 it really is. Null when no
    // document results, with *error set to -1 (to 0 on success) when error is given.
    static std::shared_ptr<GDataXMLDocument> initWithDataOptionsError(const std::string& data,
                                                                      unsigned options, int* error);
    // A new version "1.0" document whose root is a deep copy of the element.
    static std::shared_ptr<GDataXMLDocument> initWithRootElement(const std::shared_ptr<GDataXMLElement>& element);

    // Null for an empty document.
    std::shared_ptr<GDataXMLElement> rootElement() const;
    // The encoding named in the declaration XMLData writes; none clears it.
    void setCharacterEncoding(const std::optional<std::string>& encoding);
    // The declaration and the tree, not indented.
    std::optional<std::string> XMLData() const;

private:
    explicit GDataXMLDocument(std::shared_ptr<gdata::XMLTree> tree) : tree_(std::move(tree)) {}
    std::shared_ptr<gdata::XMLTree> tree_;
};

// Lenient reading, as the program reads its files and replies: a null element or a missing child
// gives null, and its text then "".
std::shared_ptr<GDataXMLElement> firstElement(const std::shared_ptr<GDataXMLElement>& element,
                                              const std::string& name);
std::string elementText(const std::shared_ptr<GDataXMLElement>& element, const std::string& name);
// The value of the element's attribute of that name, "" when there is none (read without making
// a wrapper: large table files read thousands of them).
std::string attributeText(const std::shared_ptr<GDataXMLElement>& element, const std::string& name);
