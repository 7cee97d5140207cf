#pragma once
// Property-list values and their XML form (read and written whole). A dictionary keeps its keys
// sorted; dates are seconds since 1970.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/FileSystem.h"

namespace platform {

struct PlistValue;
using PlistArray = std::vector<PlistValue>;
using PlistDict = std::map<std::string, PlistValue>;

struct PlistDate { double seconds = 0; bool operator==(const PlistDate&) const = default; };
struct PlistData { std::string bytes; bool operator==(const PlistData&) const = default; };

struct PlistValue {
    std::variant<std::string, long long, double, bool, PlistDate, PlistData, PlistArray, PlistDict> v;

    PlistValue() : v(std::string()) {}
    PlistValue(const char* s) : v(std::string(s)) {}
    PlistValue(std::string s) : v(std::move(s)) {}
    PlistValue(long long i) : v(i) {}
    PlistValue(int i) : v(static_cast<long long>(i)) {}
    PlistValue(double d) : v(d) {}
    PlistValue(bool b) : v(b) {}
    PlistValue(PlistDate d) : v(d) {}
    PlistValue(PlistData d) : v(std::move(d)) {}
    PlistValue(PlistArray a) : v(std::move(a)) {}
    PlistValue(PlistDict d) : v(std::move(d)) {}

    const std::string* string() const { return std::get_if<std::string>(&v); }
    const PlistDict* dict() const { return std::get_if<PlistDict>(&v); }
    const PlistArray* array() const { return std::get_if<PlistArray>(&v); }
    const PlistData* data() const { return std::get_if<PlistData>(&v); }
    const PlistDate* date() const { return std::get_if<PlistDate>(&v); }
    bool operator==(const PlistValue&) const = default;
};

// The XML property-list text of a value (UTF-8, with the usual DOCTYPE line).
std::string plistToXml(const PlistValue& value);
// Nothing when the text is not a property list. Parsed without network access or entities.
std::optional<PlistValue> plistFromXml(const std::string& xml);

// A dictionary file: nothing when missing or not a dictionary; written atomically.
std::optional<PlistDict> readPlistDictFile(const std::string& path);
bool writePlistDictFile(const std::string& path, const PlistDict& dict,
                        fs::Durability durability = fs::Durability::Durable);

}  // namespace platform
