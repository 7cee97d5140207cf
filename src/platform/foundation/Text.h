#pragma once
// Text helpers: UTF-8 validation, GB18030 through iconv, Unicode upper-casing, the lenient
// leading-number reading that files and replies are read with, and a safe formatter for the
// printf-like formats with "%@" for a text that the program and its word table use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

bool isValidUTF8(std::string_view bytes);
// Steps over complete, well-formed UTF-8 sequences from `from` and answers where the last one
// ends: the whole text when it decodes, less when a character is cut at the end (more bytes may
// complete it), npos when a malformed sequence means it can never decode. Scanning on from the
// last answer keeps checking a text that arrives in many pieces linear.
std::size_t scanUtf8(std::string_view bytes, std::size_t from = 0);
// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t cp);
// Nothing when the bytes are not valid in the source encoding.
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToGb18030(std::string_view text);
// Unicode upper-casing of UTF-8 text (invalid bytes pass through unchanged).
std::string toUpper(std::string_view text);
// UTF-16 code units of UTF-8 text (invalid sequences become U+FFFD).
std::u16string toUtf16(std::string_view text);
std::string fromUtf16(std::u16string_view text);

// Markup characters as entities: & < > always, and " where the text goes into an attribute.
std::string escapeXml(std::string_view text, bool quotes = false);
// Whether XML can hold the text as it is: well-formed UTF-8 without control characters other
// than tab, line feed and carriage return, and without U+FFFE or U+FFFF.
bool isXmlText(std::string_view text);
// The text with every byte that is not UTF-8 and every character XML cannot hold replaced by
// U+FFFD, so a file written from it always reads back (sound text comes back unchanged).
std::string xmlText(std::string_view text);
// xmlText escaped as character data: & < > as entities, and a carriage return as a reference,
// because parsers fold CR LF to LF.
std::string xmlCharacterData(std::string_view text);
void appendXmlCharacterData(std::string& out, std::string_view text);
// An attribute value as the XML library writes it between double quotes: also the quote and
// the line breaks and tabs as character references, so they read back as they were.
void appendXmlAttributeValue(std::string& out, std::string_view text);

// A number as "%g" writes it (six significant digits), without going through printf: requests
// and saved orders write a few numbers for every one of hundreds of lines.
std::string gText(double value);

// The leading number of a text, as the files are read: leading white space is skipped, then an
// optional sign and digits (and for doubles a fraction and exponent); anything else after is
// ignored; no number gives 0. Out-of-range integers saturate.
int leadingInt(std::string_view text);
long long leadingLongLong(std::string_view text);
double leadingDouble(std::string_view text);

// One argument of `format`. A text argument may be absent (printed as "(null)" by %@).
struct FormatArg {
    std::variant<std::monostate, std::string, long long, double> value;
    FormatArg() = default;
    FormatArg(const char* s) : value(s ? std::variant<std::monostate, std::string, long long, double>(std::string(s)) : std::monostate{}) {}
    FormatArg(std::string s) : value(std::move(s)) {}
    FormatArg(std::string_view s) : value(std::string(s)) {}
    FormatArg(const std::optional<std::string>& s) { if (s) value = *s; }
    FormatArg(int v) : value(static_cast<long long>(v)) {}
    FormatArg(unsigned v) : value(static_cast<long long>(v)) {}
    FormatArg(long v) : value(static_cast<long long>(v)) {}
    FormatArg(long long v) : value(v) {}
    FormatArg(unsigned long v) : value(static_cast<long long>(v)) {}
    FormatArg(unsigned long long v) : value(static_cast<long long>(v)) {}
    FormatArg(double v) : value(v) {}
    FormatArg(float v) : value(static_cast<double>(v)) {}
    FormatArg(bool v) : value(static_cast<long long>(v ? 1 : 0)) {}
};

// printf-style formatting in the C locale for %@ %s %i %d %u %x %X %g %f %e %c %% with flags,
// width and precision (e.g. %02x %08x %.2g %6.2f). A missing argument prints nothing, a surplus
// one is ignored, a mismatched one is converted (a number for %@ prints as text, a text for %d
// prints its leading number); an unknown conversion is copied as it stands.
std::string format(std::string_view fmt, const std::vector<FormatArg>& args);

template <typename... Args>
std::string fmt(std::string_view f, Args&&... args) {
    return format(f, std::vector<FormatArg>{FormatArg(std::forward<Args>(args))...});
}

}  // namespace platform
