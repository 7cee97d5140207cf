#include "online/NSJsonResolver.h"

#include <cmath>
#include <limits>

#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"

std::optional<nlohmann::json> NSJsonResolver::resolveJson(const std::string& text) {
    jsonMap.reset();
    // The parser itself keeps its nesting in a list, not on the stack; what lies below the bound
    // is discarded as it is read (never built) and the whole text is refused afterwards.
    bool tooDeep = false;
    const auto bounded = [&tooDeep](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
        const bool opens = event == nlohmann::json::parse_event_t::object_start ||
                           event == nlohmann::json::parse_event_t::array_start;
        if (opens && depth >= kMaxDepth) tooDeep = true;
        return !tooDeep;
    };
    try {
        auto parsed = nlohmann::json::parse(text, bounded);
        if (!tooDeep) jsonMap = std::move(parsed);
    } catch (const nlohmann::json::exception& e) {
        platform::log(platform::fmt("JSON %@: %@", text, std::string(e.what())));
        return std::nullopt;
    }
    if (tooDeep) platform::log(platform::fmt("JSON nested deeper than %i levels (%u bytes)", kMaxDepth,
                                             static_cast<unsigned>(text.size())));
    return jsonMap;
}

std::string NSJsonResolver::codeJson(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

namespace json_read {

namespace {
const nlohmann::json& nullValue() {
    static const nlohmann::json null;
    return null;
}

double leadingNumber(const nlohmann::json& v) {
    if (v.is_number()) return v.get<double>();
    if (v.is_boolean()) return v.get<bool>() ? 1 : 0;
    if (v.is_string()) return platform::leadingDouble(v.get_ref<const std::string&>());
    return 0;
}
}  // namespace

const nlohmann::json& member(const nlohmann::json& object, const char* key) {
    if (!object.is_object()) return nullValue();
    const auto it = object.find(key);
    return it == object.end() ? nullValue() : *it;
}

std::string text(const nlohmann::json& object, const char* key) {
    const auto& v = member(object, key);
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer()) return v.dump();
    if (v.is_number()) return platform::fmt("%.15g", v.get<double>());
    return {};
}

bool textEquals(const nlohmann::json& object, const char* key, const char* expected) {
    const auto& v = member(object, key);
    return v.is_string() && v.get_ref<const std::string&>() == expected;
}

int integer(const nlohmann::json& object, const char* key) {
    const auto& v = member(object, key);
    if (v.is_string()) return platform::leadingInt(v.get_ref<const std::string&>());
    const double d = leadingNumber(v);
    if (std::isnan(d)) return 0;
    if (d >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (d <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(d);
}

float number(const nlohmann::json& object, const char* key) {
    return static_cast<float>(leadingNumber(member(object, key)));
}

bool boolean(const nlohmann::json& object, const char* key) {
    const auto& v = member(object, key);
    if (v.is_boolean()) return v.get<bool>();
    if (v.is_number()) return v.get<double>() != 0;
    if (!v.is_string()) return false;
    const std::string& s = v.get_ref<const std::string&>();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i] == '0') ++i;
    if (i >= s.size()) return false;
    const char c = s[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

const nlohmann::json& list(const nlohmann::json& object, const char* key) {
    static const nlohmann::json empty = nlohmann::json::array();
    const auto& v = member(object, key);
    return v.is_array() ? v : empty;
}

}  // namespace json_read
