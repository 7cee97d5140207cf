#include "GData/GDataXMLWriter.h"

#include "platform/foundation/Text.h"

namespace gdata {

bool appendElement(std::string& out, const std::string& name, const std::string& text,
                   const XMLAttributes& attributes, const std::function<bool(std::string&)>& children,
                   bool hasChildren) {
    if (!platform::isXmlText(text)) return false;
    out += '<';
    out += name;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        const auto& [attr, value] = attributes[i];
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j) seen = attributes[j].first == attr;
        if (seen) continue;
        if (!platform::isXmlText(value)) return false;
        out += ' ';
        out += attr;
        out += "=\"";
        platform::appendXmlAttributeValue(out, value);
        out += '"';
    }
    if (text.empty() && !hasChildren) {
        out += "/>";
        return true;
    }
    out += '>';
    platform::appendXmlCharacterData(out, text);
    if (hasChildren && children && !children(out)) return false;
    out += "</";
    out += name;
    out += '>';
    return true;
}

bool appendTextElement(std::string& out, std::string_view name, std::string_view text) {
    if (!platform::isXmlText(text)) return false;
    out += '<';
    out += name;
    out += '>';
    // Most texts hold nothing to escape.
    if (text.find_first_of("&<>\r") == std::string_view::npos) out += text;
    else platform::appendXmlCharacterData(out, text);
    out += "</";
    out += name;
    out += '>';
    return true;
}

std::optional<std::string> documentText(const std::function<bool(std::string&)>& root) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out.reserve(1 << 16);
    if (!root(out)) return std::nullopt;
    out += '\n';
    return out;
}

}  // namespace gdata
