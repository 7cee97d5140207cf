#include "platform/foundation/PropertyList.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <locale.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"

namespace platform {

namespace {

constexpr int kMaxDepth = 256;
constexpr std::uint64_t kMaxFileBytes = 64ull * 1024 * 1024;

// --- Base64 (the property-list form of data)

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (; i + 3 <= bytes.size(); i += 3) {
        unsigned v = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (bytes.size() - i == 1) {
        unsigned v = byte(i) << 16;
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += "==";
    } else if (bytes.size() - i == 2) {
        unsigned v = byte(i) << 16 | byte(i + 1) << 8;
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

// White space is skipped; anything else outside the alphabet, or text after the padding, fails.
std::optional<std::string> base64Decode(const std::string& text) {
    std::string out;
    unsigned acc = 0;
    int bits = 0, count = 0, padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (padding) return std::nullopt;
        int v;
        if (c >= 'A' && c <= 'Z') v = c - 'A';
        else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
        else if (c >= '0' && c <= '9') v = c - '0' + 52;
        else if (c == '+') v = 62;
        else if (c == '/') v = 63;
        else return std::nullopt;
        acc = (acc << 6) | static_cast<unsigned>(v);
        bits += 6;
        ++count;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    if (count % 4 == 1 || padding > 2) return std::nullopt;
    return out;
}

// --- Writing

// Text as XML character data: one odd value never makes the whole file unreadable.
void appendEscaped(std::string& out, const std::string& text) { appendXmlCharacterData(out, text); }

std::string formatReal(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "+infinity" : "-infinity";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

std::string formatIsoDate(double seconds) {
    double t = std::isfinite(seconds) ? std::fmax(-6e10, std::fmin(2.5e11, seconds)) : 0.0;
    std::time_t tt = static_cast<std::time_t>(std::floor(t));
    std::tm tm{};
    if (!::gmtime_r(&tt, &tm)) return "1970-01-01T00:00:00Z";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

void writeValue(std::string& out, const PlistValue& value, int depth) {
    std::string indent(static_cast<std::size_t>(depth), '\t');
    out += indent;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>) {
                out += "<string>";
                appendEscaped(out, v);
                out += "</string>";
            } else if constexpr (std::is_same_v<T, long long>) {
                out += "<integer>" + std::to_string(v) + "</integer>";
            } else if constexpr (std::is_same_v<T, double>) {
                out += "<real>" + formatReal(v) + "</real>";
            } else if constexpr (std::is_same_v<T, bool>) {
                out += v ? "<true/>" : "<false/>";
            } else if constexpr (std::is_same_v<T, PlistDate>) {
                out += "<date>" + formatIsoDate(v.seconds) + "</date>";
            } else if constexpr (std::is_same_v<T, PlistData>) {
                out += "<data>" + base64Encode(v.bytes) + "</data>";
            } else if constexpr (std::is_same_v<T, PlistArray>) {
                if (v.empty()) {
                    out += "<array/>";
                    return;
                }
                out += "<array>\n";
                for (const auto& item : v) writeValue(out, item, depth + 1);
                out += indent + "</array>";
            } else if constexpr (std::is_same_v<T, PlistDict>) {
                if (v.empty()) {
                    out += "<dict/>";
                    return;
                }
                out += "<dict>\n";
                for (const auto& [key, item] : v) {
                    out += indent + "\t<key>";
                    appendEscaped(out, key);
                    out += "</key>\n";
                    writeValue(out, item, depth + 1);
                }
                out += indent + "</dict>";
            }
        },
        value.v);
    out += '\n';
}

// --- Reading

bool isBlank(const xmlChar* text) {
    if (!text) return true;
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    return true;
}

bool named(const xmlNode* node, const char* name) {
    return xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The character data of a leaf element. Entity references are never expanded: an element that
// holds one (or any element) is not a property-list leaf.
std::optional<std::string> leafText(const xmlNode* node) {
    std::string text;
    for (const xmlNode* c = node->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            if (c->content) text += reinterpret_cast<const char*>(c->content);
        } else if (c->type != XML_COMMENT_NODE && c->type != XML_PI_NODE) {
            return std::nullopt;
        }
    }
    return text;
}

std::string trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return std::string();
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e + 1 - b);
}

// The element children of a container, or nothing when it holds stray text or references.
std::optional<std::vector<const xmlNode*>> elementChildren(const xmlNode* node) {
    std::vector<const xmlNode*> out;
    for (const xmlNode* c = node->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) out.push_back(c);
        else if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            if (!isBlank(c->content)) return std::nullopt;
        } else if (c->type != XML_COMMENT_NODE && c->type != XML_PI_NODE) {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<double> parseReal(const std::string& text) {
    static locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::string t = trimmed(text);
    if (t == "+infinity" || t == "infinity") return HUGE_VAL;
    if (t == "-infinity") return -HUGE_VAL;
    if (t.empty()) return std::nullopt;
    char* end = nullptr;
    double d = ::strtod_l(t.c_str(), &end, c);
    if (end != t.c_str() + t.size()) return std::nullopt;
    return d;
}

std::optional<long long> parseInteger(const std::string& text) {
    std::string t = trimmed(text);
    const char* b = t.c_str();
    const char* e = b + t.size();
    if (b != e && *b == '+') ++b;
    long long v = 0;
    auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e) return std::nullopt;
    return v;
}

std::optional<double> parseIsoDate(const std::string& text) {
    std::string t = trimmed(text);
    // YYYY-MM-DDTHH:MM:SSZ
    static const char shape[] = "dddd-dd-ddTdd:dd:ddZ";
    if (t.size() != sizeof shape - 1) return std::nullopt;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (shape[i] == 'd' ? (t[i] < '0' || t[i] > '9') : t[i] != shape[i]) return std::nullopt;
    }
    auto num = [&](std::size_t at, std::size_t len) { return std::atoi(t.substr(at, len).c_str()); };
    std::tm tm{};
    tm.tm_year = num(0, 4) - 1900;
    tm.tm_mon = num(5, 2) - 1;
    tm.tm_mday = num(8, 2);
    tm.tm_hour = num(11, 2);
    tm.tm_min = num(14, 2);
    tm.tm_sec = num(17, 2);
    if (tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 23 || tm.tm_min > 59 ||
        tm.tm_sec > 60)
        return std::nullopt;
    return static_cast<double>(::timegm(&tm));
}

std::optional<PlistValue> parseValue(const xmlNode* node, int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    if (named(node, "dict")) {
        auto children = elementChildren(node);
        if (!children) return std::nullopt;
        PlistDict dict;
        for (std::size_t i = 0; i < children->size(); i += 2) {
            const xmlNode* key = (*children)[i];
            if (!named(key, "key") || i + 1 >= children->size()) return std::nullopt;
            auto name = leafText(key);
            auto value = parseValue((*children)[i + 1], depth + 1);
            if (!name || !value) return std::nullopt;
            dict[*name] = std::move(*value);
        }
        return PlistValue(std::move(dict));
    }
    if (named(node, "array")) {
        auto children = elementChildren(node);
        if (!children) return std::nullopt;
        PlistArray array;
        array.reserve(children->size());
        for (const xmlNode* c : *children) {
            auto value = parseValue(c, depth + 1);
            if (!value) return std::nullopt;
            array.push_back(std::move(*value));
        }
        return PlistValue(std::move(array));
    }
    if (named(node, "true")) return PlistValue(true);
    if (named(node, "false")) return PlistValue(false);
    auto text = leafText(node);
    if (!text) return std::nullopt;
    if (named(node, "string")) return PlistValue(std::move(*text));
    if (named(node, "integer")) {
        if (auto v = parseInteger(*text)) return PlistValue(*v);
        return std::nullopt;
    }
    if (named(node, "real")) {
        if (auto v = parseReal(*text)) return PlistValue(*v);
        return std::nullopt;
    }
    if (named(node, "date")) {
        if (auto v = parseIsoDate(*text)) return PlistValue(PlistDate{*v});
        return std::nullopt;
    }
    if (named(node, "data")) {
        if (auto v = base64Decode(*text)) return PlistValue(PlistData{std::move(*v)});
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::string plistToXml(const PlistValue& value) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
    writeValue(out, value, 0);
    out += "</plist>\n";
    return out;
}

std::optional<PlistValue> plistFromXml(const std::string& xml) {
    if (xml.empty() || xml.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialised;
    // No network, no external DTD, no entity substitution.
    xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "plist.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return std::nullopt;
    std::optional<PlistValue> result;
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (root && named(root, "plist")) {
        auto children = elementChildren(root);
        if (children && children->size() == 1) result = parseValue(children->front(), 1);
    } else if (root) {
        result = parseValue(root, 1);
    }
    xmlFreeDoc(doc);
    return result;
}

std::optional<PlistDict> readPlistDictFile(const std::string& path) {
    auto bytes = fs::readAll(path, kMaxFileBytes);
    if (!bytes) return std::nullopt;
    auto value = plistFromXml(*bytes);
    if (!value || !value->dict()) return std::nullopt;
    return std::move(*std::get_if<PlistDict>(&value->v));
}

bool writePlistDictFile(const std::string& path, const PlistDict& dict, fs::Durability durability) {
    return fs::writeAtomically(path, plistToXml(PlistValue(dict)), durability);
}

}  // namespace platform
