// Parses arbitrary bytes as the program parses files and replies, then reads every node the way
// the readers do; reads them without a tree too, which must give what the tree gives.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../GData/GDataXMLStreamRecorder.h"
#include "GData/GDataXML.h"
#include "GData/GDataXMLStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Reading without a tree accepts what the tree accepts and gives the same elements and texts.
    gdatatest::Recorder streamed, fromTree;
    const bool streamRead = GDataXMLStreamRead(bytes, streamed);
    const bool treeRead = GDataXMLTreeRead(bytes, fromTree);
    if (streamRead != treeRead || (treeRead && streamed.events() != fromTree.events())) __builtin_trap();
    int error = 1;
    auto doc = GDataXMLDocument::initWithDataOptionsError(bytes, 0, &error);
    if (!doc) {
        if (error != -1) __builtin_trap();
        return 0;
    }
    if (error != 0) __builtin_trap();
    auto root = doc->rootElement();
    if (!root) return 0;

    std::vector<std::shared_ptr<GDataXMLNode>> pending{root};
    size_t visited = 0;
    while (!pending.empty() && visited++ < 5000) {
        auto node = pending.back();
        pending.pop_back();
        (void)node->stringValue();
        (void)node->sharedStringValue();
        auto element = std::dynamic_pointer_cast<GDataXMLElement>(node);
        if (!element) continue;
        std::string name = element->name();
        for (auto& attr : element->attributes()) {
            auto attrName = attr->name();
            (void)attr->stringValue();
            if (!element->attributeForName(attrName)) __builtin_trap();
            (void)attributeText(element, attrName);
        }
        for (auto& child : element->children()) {
            if (child->isElement()) {
                auto childName = child->name();
                auto same = element->elementsForName(childName);
                if (!same || same->empty() || !firstElement(element, childName)) __builtin_trap();
                (void)elementText(element, childName);
            }
            pending.push_back(child);
        }
    }

    // Building on a parsed tree and serialising it must hold up too.
    root->addChild(GDataXMLNode::elementWithNameStringValue("x", "a&b"));
    root->addAttribute(GDataXMLNode::attributeWithNameStringValue("y", "1"));
    doc->setCharacterEncoding("UTF-8");
    (void)doc->XMLData();
    root->setStringValue("c&amp;d");
    (void)root->stringValue();
    return 0;
}
