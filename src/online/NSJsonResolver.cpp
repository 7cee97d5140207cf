#include "online/NSJsonResolver.h"

#include <cmath>
#include <limits>

#include "platform/foundation/Log.h"
#include "platform/foundation/Text.h"

std::optional<nlohmann::json> NSJsonResolver::resolveJson(const std::string& text) {
    jsonMap.reset();
    try {
        jsonMap = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        platform::log(platform::fmt("JSON %@: %@", text, std::string(e.what())));
    }
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
