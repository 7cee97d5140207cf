#include "GData/GDataXML.h"

#include <climits>
#include <cstring>
#include <deque>
#include <mutex>
#include <string_view>
#include <unordered_set>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include "GData/GDataXMLStream.h"
#include "platform/foundation/Text.h"

namespace gdata {

namespace {

// djb2, as the string cache has always hashed.
struct Djb2 {
    using is_transparent = void;
    size_t operator()(std::string_view s) const {
        size_t h = 5381;
        for (unsigned char c : s) h = h * 33 + c;
        return h;
    }
    size_t operator()(const std::shared_ptr<const std::string>& s) const { return (*this)(std::string_view(*s)); }
};

struct SameText {
    using is_transparent = void;
    static std::string_view view(std::string_view s) { return s; }
    static std::string_view view(const std::shared_ptr<const std::string>& s) { return *s; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const { return view(a) == view(b); }
};

}  // namespace

// One libxml2 tree: a document, or a free node made by a factory. Every wrapper into the tree
// holds it, so the library memory goes away only with the last wrapper.
class XMLTree {
public:
    explicit XMLTree(xmlDocPtr doc) : doc_(doc) {}
    explicit XMLTree(xmlNodePtr root) : root_(root) {}
    XMLTree(const XMLTree&) = delete;
    XMLTree& operator=(const XMLTree&) = delete;

    ~XMLTree() {
        // Detached nodes may use the document's dictionary, so they go first.
        for (xmlNodePtr n : detached_) xmlFreeNode(n);
        if (root_) xmlFreeNode(root_);
        if (doc_) xmlFreeDoc(doc_);
    }

    xmlDocPtr doc() const { return doc_; }

    // Content replaced under a node is unlinked and kept here rather than freed, so a wrapper
    // still held on it never points to freed memory.
    void detachChildren(xmlNodePtr node) {
        while (xmlNodePtr child = node->children) {
            xmlUnlinkNode(child);
            detached_.push_back(child);
        }
    }

    // Documents intern what is read from them; a free node does not.
    std::shared_ptr<const std::string> intern(std::string text) {
        if (!doc_) return std::make_shared<const std::string>(std::move(text));
        auto it = strings_.find(std::string_view(text));
        if (it != strings_.end()) return *it;
        auto shared = std::make_shared<const std::string>(std::move(text));
        strings_.insert(shared);
        return shared;
    }

private:
    xmlDocPtr doc_ = nullptr;
    xmlNodePtr root_ = nullptr;
    std::vector<xmlNodePtr> detached_;
    std::unordered_set<std::shared_ptr<const std::string>, Djb2, SameText> strings_;
};

}  // namespace gdata

using gdata::XMLTree;

namespace {

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }
std::string_view V(const xmlChar* s) {
    return s ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

// The text of a node's subtree: text and CDATA nodes in document order. Entity references are
// not followed, so nothing a DTD declares is ever expanded into the program's texts.
std::string collectText(const xmlNode* node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
        node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE)
        return std::string(V(node->content));
    std::string out;
    const xmlNode* cur = node->children;
    while (cur) {
        if (cur->type == XML_TEXT_NODE || cur->type == XML_CDATA_SECTION_NODE) {
            out += V(cur->content);
        } else if (cur->type == XML_ELEMENT_NODE && cur->children) {
            cur = cur->children;
            continue;
        }
        // Next in document order without leaving the subtree; iterative, as built trees may nest
        // deeper than the stack would like.
        while (cur && !cur->next) {
            cur = cur->parent;
            if (cur == node) return out;
        }
        if (cur) cur = cur->next;
    }
    return out;
}

// The qualified name of a node: prefix:local for a prefixed element or attribute, else local.
std::string nameOf(const xmlNode* n) {
    std::string local(V(n->name));
    if ((n->type == XML_ELEMENT_NODE || n->type == XML_ATTRIBUTE_NODE) && n->ns && n->ns->prefix)
        return std::string(V(n->ns->prefix)) + ":" + local;
    return local;
}

bool qualifiedNameIs(const xmlNode* n, std::string_view name) {
    std::string_view local = V(n->name);
    if (n->ns && n->ns->prefix) {
        std::string_view prefix = V(n->ns->prefix);
        return name.size() == prefix.size() + 1 + local.size() && name.substr(0, prefix.size()) == prefix &&
               name[prefix.size()] == ':' && name.substr(prefix.size() + 1) == local;
    }
    return name == local;
}

// The namespace a prefixed name points to from this element, with the local part of the name.
const xmlNs* namespaceOfPrefixedName(const xmlNode* element, const std::string& name, std::string_view* local) {
    auto colon = name.find(':');
    if (colon == std::string::npos) return nullptr;
    std::string prefix = name.substr(0, colon);
    *local = std::string_view(name).substr(colon + 1);
    return xmlSearchNs(element->doc, const_cast<xmlNode*>(element), X(prefix));
}

bool inNamespace(const xmlNode* n, const xmlNs* ns, std::string_view local) {
    return n->ns && n->ns->href && ns->href && xmlStrEqual(n->ns->href, ns->href) && V(n->name) == local;
}

// Child elements of that name: by qualified name, else by namespace and local name.
template <typename Visit>
void forChildElements(const xmlNode* element, const std::string& name, Visit visit) {
    bool found = false;
    for (const xmlNode* c = element->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && qualifiedNameIs(c, name)) {
            found = true;
            if (!visit(const_cast<xmlNode*>(c))) return;
        }
    }
    if (found) return;
    std::string_view local;
    const xmlNs* ns = namespaceOfPrefixedName(element, name, &local);
    if (!ns) return;
    for (const xmlNode* c = element->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && inNamespace(c, ns, local) && !visit(const_cast<xmlNode*>(c))) return;
    }
}

xmlAttr* findAttribute(const xmlNode* element, const std::string& name) {
    for (xmlAttr* a = element->properties; a; a = a->next)
        if (qualifiedNameIs(reinterpret_cast<const xmlNode*>(a), name)) return a;
    std::string_view local;
    const xmlNs* ns = namespaceOfPrefixedName(element, name, &local);
    if (!ns) return nullptr;
    for (xmlAttr* a = element->properties; a; a = a->next)
        if (inNamespace(reinterpret_cast<const xmlNode*>(a), ns, local)) return a;
    return nullptr;
}

std::string attributeValue(const xmlAttr* a) { return collectText(reinterpret_cast<const xmlNode*>(a)); }

// No network, no DTD loading, no entity substitution; blank text nodes dropped and CDATA read as
// text. The library's own limits on depth and entity amplification stay in force.
constexpr int kParseOptions =
    XML_PARSE_NOBLANKS | XML_PARSE_NOCDATA | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// The bytes to parse: some servers declare GBK but send UTF-8, and such a text is read as what it
// is (the declaration rewritten into `rewritten`). Bytes that are not UTF-8 are left to the
// library's own encoding handling. Null when the text cannot be a document at all.
const std::string* readableBytes(const std::string& data, std::string& rewritten) {
    static const std::string kGBK = "encoding=\"GBK\"";
    static const std::string kUTF8 = "encoding=\"UTF8\"";
    const std::string* bytes = &data;
    if (data.find(kGBK) != std::string::npos && platform::isValidUTF8(data)) {
        rewritten.reserve(data.size());
        size_t from = 0, at;
        while ((at = data.find(kGBK, from)) != std::string::npos) {
            rewritten.append(data, from, at - from);
            rewritten += kUTF8;
            from = at + kGBK.size();
        }
        rewritten.append(data, from, std::string::npos);
        bytes = &rewritten;
    }
    if (bytes->empty() || bytes->size() > static_cast<size_t>(INT_MAX)) return nullptr;
    return bytes;
}

}  // namespace

// ---- GDataXMLNode

GDataXMLNode::GDataXMLNode(_xmlNode* node, std::shared_ptr<XMLTree> tree)
    : xmlNode_(node), tree_(std::move(tree)) {}

std::shared_ptr<GDataXMLNode> GDataXMLNode::wrap(_xmlNode* node, const std::shared_ptr<XMLTree>& tree) {
    if (!node) return nullptr;
    if (node->type == XML_ELEMENT_NODE) return std::shared_ptr<GDataXMLElement>(new GDataXMLElement(node, tree));
    return std::shared_ptr<GDataXMLNode>(new GDataXMLNode(node, tree));
}

std::shared_ptr<GDataXMLElement> GDataXMLNode::elementWithName(const std::string& name) {
    initLibrary();
    xmlNodePtr node = xmlNewNode(nullptr, X(name));
    if (!node) return nullptr;
    return std::shared_ptr<GDataXMLElement>(new GDataXMLElement(node, std::make_shared<XMLTree>(node)));
}

std::shared_ptr<GDataXMLElement> GDataXMLNode::elementWithNameStringValue(const std::string& name,
                                                                          const std::string& value) {
    initLibrary();
    xmlNodePtr node = xmlNewNode(nullptr, X(name));
    if (!node) return nullptr;
    auto tree = std::make_shared<XMLTree>(node);
    // A text XML cannot hold would make the whole document unreadable once written.
    xmlNodePtr text = xmlNewText(X(platform::xmlText(value)));
    if (!text || !xmlAddChild(node, text)) {
        if (text) xmlFreeNode(text);
        return nullptr;
    }
    return std::shared_ptr<GDataXMLElement>(new GDataXMLElement(node, tree));
}

std::shared_ptr<GDataXMLNode> GDataXMLNode::attributeWithNameStringValue(const std::string& name,
                                                                         const std::string& value) {
    initLibrary();
    xmlAttrPtr attr = xmlNewProp(nullptr, X(name), X(platform::xmlText(value)));
    if (!attr) return nullptr;
    auto node = reinterpret_cast<xmlNodePtr>(attr);
    return std::shared_ptr<GDataXMLNode>(new GDataXMLNode(node, std::make_shared<XMLTree>(node)));
}

std::optional<std::string> GDataXMLNode::stringValue() const {
    if (!xmlNode_) return std::nullopt;
    return collectText(xmlNode_);
}

std::shared_ptr<const std::string> GDataXMLNode::sharedStringValue() const {
    if (!xmlNode_) return nullptr;
    return tree_->intern(collectText(xmlNode_));
}

void GDataXMLNode::setStringValue(const std::optional<std::string>& text) {
    if (!xmlNode_ || !text) return;
    if (xmlNode_->type == XML_ELEMENT_NODE || xmlNode_->type == XML_ATTRIBUTE_NODE)
        tree_->detachChildren(xmlNode_);
    xmlNodeSetContent(xmlNode_, X(platform::xmlText(*text)));
}

std::string GDataXMLNode::name() const {
    if (!xmlNode_ || !xmlNode_->name) return std::string();
    return nameOf(xmlNode_);
}

bool GDataXMLNode::isElement() const { return xmlNode_ && xmlNode_->type == XML_ELEMENT_NODE; }

std::vector<std::shared_ptr<GDataXMLNode>> GDataXMLNode::children() const {
    std::vector<std::shared_ptr<GDataXMLNode>> out;
    if (!xmlNode_ || xmlNode_->type != XML_ELEMENT_NODE) return out;
    for (xmlNodePtr c = xmlNode_->children; c; c = c->next) out.push_back(wrap(c, tree_));
    return out;
}

// ---- GDataXMLElement

void GDataXMLElement::addChild(const std::shared_ptr<GDataXMLNode>& node) {
    if (!node || !node->xmlNode_) return;
    if (node->xmlNode_->type == XML_ATTRIBUTE_NODE) {
        addAttribute(node);
        return;
    }
    xmlNodePtr copy = xmlDocCopyNode(node->xmlNode_, xmlNode_->doc, 1);
    if (!copy) return;
    // xmlAddChild may merge a text copy into the last text child and free the copy.
    xmlNodePtr added = xmlAddChild(xmlNode_, copy);
    if (!added) {
        xmlFreeNode(copy);
        return;
    }
    if (xmlNode_->doc && added->type == XML_ELEMENT_NODE) xmlReconciliateNs(xmlNode_->doc, added);
}

std::optional<std::vector<std::shared_ptr<GDataXMLElement>>> GDataXMLElement::elementsForName(
    const std::string& name) const {
    std::vector<std::shared_ptr<GDataXMLElement>> out;
    forChildElements(xmlNode_, name, [&](xmlNodePtr c) {
        out.push_back(std::shared_ptr<GDataXMLElement>(new GDataXMLElement(c, tree_)));
        return true;
    });
    if (out.empty()) return std::nullopt;
    return out;
}

void GDataXMLElement::addAttribute(const std::shared_ptr<GDataXMLNode>& attribute) {
    if (!attribute || !attribute->xmlNode_ || attribute->xmlNode_->type != XML_ATTRIBUTE_NODE) return;
    auto* source = reinterpret_cast<xmlAttrPtr>(attribute->xmlNode_);
    std::string name = attribute->name();
    if (findAttribute(xmlNode_, name)) return;
    xmlAttrPtr copy = xmlCopyProp(xmlNode_, source);
    if (!copy) return;
    // Linked by hand: xmlAddChild would free an existing attribute of the same namespace and
    // local name, which a wrapper may still hold.
    copy->parent = xmlNode_;
    copy->next = nullptr;
    if (!xmlNode_->properties) {
        copy->prev = nullptr;
        xmlNode_->properties = copy;
    } else {
        xmlAttrPtr last = xmlNode_->properties;
        while (last->next) last = last->next;
        last->next = copy;
        copy->prev = last;
    }
}

std::shared_ptr<GDataXMLNode> GDataXMLElement::attributeForName(const std::string& name) const {
    xmlAttr* a = findAttribute(xmlNode_, name);
    if (!a) return nullptr;
    return std::shared_ptr<GDataXMLNode>(new GDataXMLNode(reinterpret_cast<xmlNodePtr>(a), tree_));
}

std::vector<std::shared_ptr<GDataXMLNode>> GDataXMLElement::attributes() const {
    std::vector<std::shared_ptr<GDataXMLNode>> out;
    for (xmlAttr* a = xmlNode_->properties; a; a = a->next)
        out.push_back(std::shared_ptr<GDataXMLNode>(new GDataXMLNode(reinterpret_cast<xmlNodePtr>(a), tree_)));
    return out;
}

// ---- GDataXMLDocument

std::shared_ptr<GDataXMLDocument> GDataXMLDocument::initWithDataOptionsError(const std::string& data,
                                                                             unsigned /*options*/, int* error) {
    initLibrary();
    std::string rewritten;
    const std::string* bytes = readableBytes(data, rewritten);
    xmlDocPtr doc = bytes ? xmlReadMemory(bytes->data(), static_cast<int>(bytes->size()), nullptr, nullptr, kParseOptions)
                          : nullptr;
    if (!doc) {
        if (error) *error = -1;
        return nullptr;
    }
    if (error) *error = 0;
    return std::shared_ptr<GDataXMLDocument>(new GDataXMLDocument(std::make_shared<XMLTree>(doc)));
}

std::shared_ptr<GDataXMLDocument> GDataXMLDocument::initWithRootElement(
    const std::shared_ptr<GDataXMLElement>& element) {
    if (!element || !element->xmlNode_) return nullptr;
    initLibrary();
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!doc) return nullptr;
    auto tree = std::make_shared<XMLTree>(doc);
    xmlNodePtr copy = xmlDocCopyNode(element->xmlNode_, doc, 1);
    if (!copy) return nullptr;
    xmlDocSetRootElement(doc, copy);
    return std::shared_ptr<GDataXMLDocument>(new GDataXMLDocument(tree));
}

std::shared_ptr<GDataXMLElement> GDataXMLDocument::rootElement() const {
    xmlNodePtr root = xmlDocGetRootElement(tree_->doc());
    if (!root) return nullptr;
    return std::shared_ptr<GDataXMLElement>(new GDataXMLElement(root, tree_));
}

void GDataXMLDocument::setCharacterEncoding(const std::optional<std::string>& encoding) {
    xmlDocPtr doc = tree_->doc();
    if (doc->encoding) xmlFree(const_cast<xmlChar*>(doc->encoding));
    doc->encoding = encoding ? xmlStrdup(X(*encoding)) : nullptr;
}

std::optional<std::string> GDataXMLDocument::XMLData() const {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpMemory(tree_->doc(), &mem, &size);
    if (!mem) return std::nullopt;
    std::string out(reinterpret_cast<const char*>(mem), static_cast<size_t>(size));
    xmlFree(mem);
    return out;
}

// ---- lenient reading

std::shared_ptr<GDataXMLElement> firstElement(const std::shared_ptr<GDataXMLElement>& element,
                                              const std::string& name) {
    if (!element) return nullptr;
    std::shared_ptr<GDataXMLElement> found;
    forChildElements(element->xmlNode_, name, [&](xmlNodePtr c) {
        found = std::shared_ptr<GDataXMLElement>(new GDataXMLElement(c, element->tree_));
        return false;
    });
    return found;
}

std::string elementText(const std::shared_ptr<GDataXMLElement>& element, const std::string& name) {
    if (!element) return std::string();
    std::string text;
    forChildElements(element->xmlNode_, name, [&](xmlNodePtr c) {
        text = collectText(c);
        return false;
    });
    return text;
}

std::string attributeText(const std::shared_ptr<GDataXMLElement>& element, const std::string& name) {
    if (!element) return std::string();
    const xmlAttr* a = findAttribute(element->xmlNode_, name);
    return a ? attributeValue(a) : std::string();
}

// ---- reading without a tree

namespace {

// What one reading holds: the handler, the element depth, and the names and values of the
// element being started.
struct StreamReading {
    xmlParserCtxtPtr ctxt = nullptr;
    GDataXMLStreamHandler* handler = nullptr;
    // A stand-in node per open element. The parser tells blank text it drops from text it keeps
    // by the current node's first and last child, as the tree would have them; the stand-ins
    // say which of those is text.
    std::deque<xmlNode> open;
    bool sawRoot = false;
    bool needsTree = false;
    std::vector<GDataXMLStreamAttribute> attributes;
    std::deque<std::string> texts;  // qualified names and decoded values of the element started
};

// Stand-ins of a text child and of any other child.
template <xmlElementType Type>
xmlNode* standIn() {
    static xmlNode node = [] {
        xmlNode n{};
        n.type = Type;
        return n;
    }();
    return &node;
}

// The reading of a callback's context; none for the parser's inner readings of entity content,
// whose results a tree would not hold in place either.
StreamReading* readingOf(void* ctx) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    auto* reading = ctxt ? static_cast<StreamReading*>(ctxt->_private) : nullptr;
    return reading && reading->ctxt == ctxt ? reading : nullptr;
}

void addChild(StreamReading& r, xmlNode* child) {
    if (r.open.empty()) return;
    xmlNode& parent = r.open.back();
    if (!parent.children) parent.children = child;
    parent.last = child;
}

std::string_view qualifiedName(StreamReading& r, const xmlChar* local, const xmlChar* prefix) {
    if (!prefix) return V(local);
    r.texts.push_back(std::string(V(prefix)) + ":" + std::string(V(local)));
    return r.texts.back();
}

// An attribute value as the tree's attribute holds it: without entity substitution the parser
// writes an ampersand as "&#38;" for the tree builder to read again.
std::string_view attributeValue(StreamReading& r, const xmlChar* begin, const xmlChar* end) {
    std::string_view value(reinterpret_cast<const char*>(begin), static_cast<size_t>(end - begin));
    if (value.find('&') == std::string_view::npos) return value;
    static constexpr std::string_view kAmpersand = "&#38;";
    std::string decoded;
    decoded.reserve(value.size());
    size_t from = 0, at;
    while ((at = value.find(kAmpersand, from)) != std::string_view::npos) {
        decoded.append(value, from, at - from);
        decoded += '&';
        from = at + kAmpersand.size();
    }
    decoded.append(value, from, std::string_view::npos);
    r.texts.push_back(std::move(decoded));
    return r.texts.back();
}

void streamStartElement(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* /*uri*/,
                        int /*namespaces*/, const xmlChar** /*namespaceDecls*/, int count, int defaulted,
                        const xmlChar** attributes) {
    StreamReading* r = readingOf(ctx);
    if (!r) return;
    addChild(*r, standIn<XML_COMMENT_NODE>());
    xmlNode& node = r->open.emplace_back();
    node.type = XML_ELEMENT_NODE;
    node.name = local;
    // The tree's depth limit, reached as the tree builder reaches it.
    if (nodePush(r->ctxt, &node) < 0) {
        r->open.pop_back();
        return;
    }
    r->sawRoot = true;
    r->texts.clear();
    r->attributes.clear();
    // Attributes a DTD supplies are not in the tree.
    const int given = count - defaulted;
    for (int i = 0; i < given; ++i) {
        const xmlChar** a = attributes + 5 * i;
        GDataXMLStreamAttribute attribute;
        attribute.name = qualifiedName(*r, a[0], a[1]);
        attribute.value = attributeValue(*r, a[3], a[4]);
        r->attributes.push_back(attribute);
    }
    r->handler->startElement(static_cast<int>(r->open.size()) - 1, qualifiedName(*r, local, prefix), r->attributes);
}

void streamEndElement(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    StreamReading* r = readingOf(ctx);
    if (!r || r->open.empty()) return;
    r->handler->endElement(static_cast<int>(r->open.size()) - 1);
    nodePop(r->ctxt);
    r->open.pop_back();
}

void streamCharacters(void* ctx, const xmlChar* text, int length) {
    StreamReading* r = readingOf(ctx);
    if (!r || r->open.empty()) return;
    addChild(*r, standIn<XML_TEXT_NODE>());
    r->handler->text(static_cast<int>(r->open.size()) - 1,
                     std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length)));
}

void streamOtherNode(StreamReading* r) {
    if (r) addChild(*r, standIn<XML_COMMENT_NODE>());
}

void streamComment(void* ctx, const xmlChar*) { streamOtherNode(readingOf(ctx)); }
void streamInstruction(void* ctx, const xmlChar*, const xmlChar*) { streamOtherNode(readingOf(ctx)); }

// A DTD may declare entities and defaults that only the tree handles: such a document is read
// from its tree instead (a DTD comes before the root, so the handler has seen nothing yet).
void streamSubset(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    StreamReading* r = readingOf(ctx);
    if (!r) return;
    r->needsTree = true;
    xmlStopParser(r->ctxt);
}

void walkTree(const xmlNode* root, GDataXMLStreamHandler& handler) {
    std::vector<GDataXMLStreamAttribute> attributes;
    std::deque<std::string> texts;
    auto start = [&](const xmlNode* element, int depth) {
        attributes.clear();
        texts.clear();
        for (const xmlAttr* a = element->properties; a; a = a->next) {
            const auto* node = reinterpret_cast<const xmlNode*>(a);
            texts.push_back(nameOf(node));
            const std::string& name = texts.back();
            texts.push_back(collectText(node));
            attributes.push_back({name, texts.back()});
        }
        texts.push_back(nameOf(element));
        handler.startElement(depth, texts.back(), attributes);
    };
    // Iterative, in document order, as deep as the parser allows.
    int depth = 0;
    start(root, 0);
    const xmlNode* cur = root->children;
    const xmlNode* parent = root;
    while (true) {
        if (cur) {
            if (cur->type == XML_TEXT_NODE || cur->type == XML_CDATA_SECTION_NODE) {
                handler.text(depth, V(cur->content));
            } else if (cur->type == XML_ELEMENT_NODE) {
                start(cur, ++depth);
                parent = cur;
                cur = cur->children;
                continue;
            }
            cur = cur->next;
            continue;
        }
        handler.endElement(depth);
        if (parent == root) return;
        cur = parent->next;
        parent = parent->parent;
        --depth;
    }
}

}  // namespace

bool GDataXMLTreeRead(const std::string& data, GDataXMLStreamHandler& handler) {
    initLibrary();
    std::string rewritten;
    const std::string* bytes = readableBytes(data, rewritten);
    if (!bytes) return false;
    xmlDocPtr doc = xmlReadMemory(bytes->data(), static_cast<int>(bytes->size()), nullptr, nullptr, kParseOptions);
    if (!doc) return false;
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (root) walkTree(root, handler);
    xmlFreeDoc(doc);
    return root != nullptr;
}

bool GDataXMLStreamRead(const std::string& data, GDataXMLStreamHandler& handler) {
    initLibrary();
    std::string rewritten;
    const std::string* bytes = readableBytes(data, rewritten);
    if (!bytes) return false;
    xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(bytes->data(), static_cast<int>(bytes->size()));
    if (!ctxt) return false;
    StreamReading reading;
    reading.ctxt = ctxt;
    reading.handler = &handler;
    ctxt->_private = &reading;
    xmlSAXHandler* sax = ctxt->sax;
    xmlSAXVersion(sax, 2);
    // No document is made: only the elements and their texts reach the handler.
    sax->startDocument = nullptr;
    sax->endDocument = nullptr;
    sax->startElement = nullptr;
    sax->endElement = nullptr;
    sax->startElementNs = streamStartElement;
    sax->endElementNs = streamEndElement;
    sax->characters = streamCharacters;
    sax->comment = streamComment;
    sax->processingInstruction = streamInstruction;
    sax->reference = nullptr;
    sax->internalSubset = streamSubset;
    sax->externalSubset = streamSubset;
    // The tree's options, so blanks, CDATA and errors are handled alike.
    xmlCtxtUseOptions(ctxt, kParseOptions);
    xmlParseDocument(ctxt);
    const bool read = ctxt->wellFormed && reading.sawRoot && !reading.needsTree;
    if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
    ctxt->myDoc = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (reading.needsTree) return GDataXMLTreeRead(data, handler);
    return read;
}
