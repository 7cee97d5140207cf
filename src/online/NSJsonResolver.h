#pragma once
// The JSON codec of the online part, and the lenient readers every answer handler uses: numbers
// and booleans are read from a JSON number or from a text that begins with one, a missing or null
// member reads as nothing ("" / 0 / NO / no elements).

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

class NSJsonResolver {
public:
    // Arrays and objects nested deeper than this make a text no answer. The service's answers are
    // a few levels deep; a value nested without bound would overflow the stack wherever it is
    // copied or written out, so it is turned away while it is read, before it is ever built.
    static constexpr int kMaxDepth = 256;

    // The parsed top-level value, also kept in jsonMap; nothing (and a log line with the text and
    // the parser's error) when the text is not valid JSON or is nested deeper than kMaxDepth.
    std::optional<nlohmann::json> resolveJson(const std::string& text);
    // Compact UTF-8 JSON text of the value.
    static std::string codeJson(const nlohmann::json& value);

    std::optional<nlohmann::json> jsonMap;
};

namespace json_read {

// The member of an object, or null when the value is no object or lacks it.
const nlohmann::json& member(const nlohmann::json& object, const char* key);
// A text member as it came; a number gives its decimal text; anything else "".
std::string text(const nlohmann::json& object, const char* key);
// True only for a JSON string equal to `expected` (a number never equals a text).
bool textEquals(const nlohmann::json& object, const char* key, const char* expected);
int integer(const nlohmann::json& object, const char* key);
float number(const nlohmann::json& object, const char* key);
bool boolean(const nlohmann::json& object, const char* key);
// The array member, or an empty array.
const nlohmann::json& list(const nlohmann::json& object, const char* key);

}  // namespace json_read
