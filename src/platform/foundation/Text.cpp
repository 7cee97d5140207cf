#include "platform/foundation/Text.h"

#include <iconv.h>
#include <locale.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cfloat>
#include <locale>

namespace platform {

namespace {

// The length of the sequence a lead byte starts (1 for ASCII, 0 for a byte that starts none) and
// the range its second byte must fall in (overlong forms, surrogates and values above U+10FFFF
// are not well-formed).
std::size_t leadByte(unsigned char b0, unsigned char& lo, unsigned char& hi) {
    lo = 0x80;
    hi = 0xBF;
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) return 2;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
        return 4;
    }
    return 0;
}

// How many bytes of the sequence at text[i] are well-formed continuation bytes, stopping at the
// end of the text: len when the whole sequence is there.
std::size_t wellFormedPart(std::string_view text, std::size_t i, std::size_t len, unsigned char lo,
                           unsigned char hi) {
    std::size_t k = 1;
    for (; k < len && i + k < text.size(); ++k) {
        auto d = static_cast<unsigned char>(text[i + k]);
        if (d < (k == 1 ? lo : 0x80) || d > (k == 1 ? hi : 0xBF)) return k;
    }
    return k;
}

// Decodes the scalar at text[i]. Answers its length in bytes, or 0 when the bytes there are not
// well-formed UTF-8.
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    unsigned char b0 = static_cast<unsigned char>(text[i]), lo, hi;
    std::size_t len = leadByte(b0, lo, hi);
    if (len == 0 || wellFormedPart(text, i, len, lo, hi) != len) return 0;
    char32_t v = len == 1 ? b0 : (b0 & (0xFF >> (len + 1)));
    for (std::size_t k = 1; k < len; ++k) v = (v << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    cp = v;
    return len;
}


bool isScalar(long long cp) { return cp >= 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF); }

std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t used = 0;
    bool ok = true;
    // The second round (null input) flushes the converter's state.
    for (bool flushing = false;;) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        std::size_t r = flushing ? ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                 : ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            ok = false;  // EILSEQ or a truncated sequence (EINVAL)
            break;
        }
        if (flushing) break;
        if (inLeft == 0) flushing = true;
    }
    ::iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(used);
    return out;
}

const std::locale& utf8Locale() {
    static const std::locale locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            try {
                return std::locale(name);
            } catch (const std::exception&) {
            }
        }
        return std::locale::classic();
    }();
    return locale;
}

// Upper case of the alphabets the program's texts use, independent of any locale; the rest of
// Unicode goes to the C.UTF-8 tables.
void appendUpper(std::string& out, char32_t c) {
    if (c < 0x80) {
        if (c >= 'a' && c <= 'z') c -= 0x20;
    } else if (c == 0xDF) {
        out += "SS";
        return;
    } else if (c == 0xB5) {
        c = 0x39C;
    } else if (c >= 0xE0 && c <= 0xFE) {
        if (c != 0xF7) c -= 0x20;
    } else if (c == 0xFF) {
        c = 0x178;
    } else if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131) c = 'I';
        else if (c == 0x17F) c = 'S';
        else if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) { if (!(c & 1)) c -= 1; }
        else if (c != 0x130 && c != 0x138 && c != 0x149 && c != 0x178 && (c & 1)) c -= 1;
    } else if (c >= 0x3AC && c <= 0x3CE) {
        if (c == 0x3AC) c = 0x386;
        else if (c <= 0x3AF) c -= 0x25;
        else if (c == 0x3C2) c = 0x3A3;
        else if (c >= 0x3B1 && c <= 0x3CB) c -= 0x20;
        else if (c == 0x3CC) c = 0x38C;
        else if (c >= 0x3CD) c -= 0x3F;
    } else if (c >= 0x430 && c <= 0x44F) {
        c -= 0x20;
    } else if (c >= 0x450 && c <= 0x45F) {
        c -= 0x50;
    } else if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) {
        if (c & 1) c -= 1;
    } else if (c >= 0x4C1 && c <= 0x4CE) {
        if (!(c & 1)) c -= 1;
    } else if (c == 0x4CF) {
        c = 0x4C0;
    } else if (c >= 0xFF41 && c <= 0xFF5A) {
        c -= 0x20;  // full-width Latin letters, common in Chinese text
    } else if (sizeof(wchar_t) >= 4) {
        wchar_t u = std::toupper(static_cast<wchar_t>(c), utf8Locale());
        if (isScalar(static_cast<long long>(u))) c = static_cast<char32_t>(u);
    }
    appendUtf8(out, c);
}

locale_t cLocale() {
    static locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t scanUtf8(std::string_view s, std::size_t from) {
    std::size_t i = from;
    while (i < s.size()) {
        // Plain ASCII, the bulk of most texts, eight bytes at a time.
        while (i + 8 <= s.size()) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + i, sizeof word);
            if (word & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= s.size()) break;
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned char lo, hi;
        std::size_t len = leadByte(static_cast<unsigned char>(s[i]), lo, hi);
        if (len == 0) return std::string::npos;
        std::size_t part = wellFormedPart(s, i, len, lo, hi);
        if (part == len) {
            i += len;
        } else {
            // Cut by the end of the text: more bytes may complete it. Anything else never decodes.
            return i + part == s.size() ? i : std::string::npos;
        }
    }
    return i;
}

bool isValidUTF8(std::string_view bytes) { return scanUtf8(bytes) == bytes.size(); }

std::optional<std::string> gb18030ToUtf8(std::string_view bytes) {
    auto text = convert("UTF-8", "GB18030", bytes);
    if (text && !isValidUTF8(*text)) return std::nullopt;
    return text;
}

std::optional<std::string> utf8ToGb18030(std::string_view text) {
    if (!isValidUTF8(text)) return std::nullopt;
    return convert("GB18030", "UTF-8", text);
}

std::string toUpper(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += text[i++];
            continue;
        }
        appendUpper(out, cp);
        i += len;
    }
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string fromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = 0xFFFD;  // a lone surrogate
        }
        appendUtf8(out, u);
    }
    return out;
}

// --- Leading numbers

long long leadingLongLong(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate negatively so LLONG_MIN is reachable, then saturate.
    long long value = 0;
    bool saturated = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (saturated) continue;
        if (value < (LLONG_MIN + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (saturated) return negative ? LLONG_MIN : LLONG_MAX;
    if (negative) return value;
    return value == LLONG_MIN ? LLONG_MAX : -value;
}

int leadingInt(std::string_view text) {
    long long v = leadingLongLong(text);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double leadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;  // no number here; "nan" and "inf" are not numbers either
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    std::string number(text.substr(start, i - start));
    double value = ::strtod_l(number.c_str(), nullptr, cLocale());
    if (std::isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    if (std::isnan(value)) return 0.0;
    return value;
}

// --- format

namespace {

constexpr int kMaxWidth = 4096;  // width and precision beyond this are clamped

using Arg = FormatArg;

long long argLongLong(const Arg& a) {
    if (auto s = std::get_if<std::string>(&a.value)) return leadingLongLong(*s);
    if (auto i = std::get_if<long long>(&a.value)) return *i;
    if (auto d = std::get_if<double>(&a.value)) {
        if (std::isnan(*d)) return 0;
        if (*d >= 9.2233720368547758e18) return LLONG_MAX;
        if (*d <= -9.2233720368547758e18) return LLONG_MIN;
        return static_cast<long long>(*d);
    }
    return 0;
}

double argDouble(const Arg& a) {
    if (auto s = std::get_if<std::string>(&a.value)) return leadingDouble(*s);
    if (auto i = std::get_if<long long>(&a.value)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&a.value)) return *d;
    return 0.0;
}

std::string shortestDouble(double d) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

std::string argText(const Arg& a) {
    if (auto s = std::get_if<std::string>(&a.value)) return *s;
    if (auto i = std::get_if<long long>(&a.value)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&a.value)) return shortestDouble(*d);
    return "(null)";
}

struct Spec {
    bool minus = false, plus = false, space = false, zero = false, hash = false;
    int width = -1;
    int precision = -1;
};

// Runs snprintf on a conversion built here from validated parts, in the C locale.
template <typename T>
std::string cFormat(const Spec& s, bool allowHash, const char* length, char conversion, T value) {
    std::string spec = "%";
    if (s.minus) spec += '-';
    if (s.plus) spec += '+';
    if (s.space) spec += ' ';
    if (s.zero) spec += '0';
    if (s.hash && allowHash) spec += '#';
    if (s.width >= 0) spec += std::to_string(s.width);
    if (s.precision >= 0) spec += "." + std::to_string(s.precision);
    spec += length;
    spec += conversion;
    locale_t old = ::uselocale(cLocale());
    std::string out;
    int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::snprintf(out.data(), out.size(), spec.c_str(), value);
        out.resize(static_cast<std::size_t>(n));
    }
    ::uselocale(old);
    return out;
}

// Text conversions count characters, not bytes, for width and precision.
std::string padText(const std::string& text, const Spec& s) {
    std::string body;
    std::size_t chars = 0;
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        if (s.precision >= 0 && chars >= static_cast<std::size_t>(s.precision)) break;
        std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) len = 1;
        body.append(text, i, len);
        i += len;
        ++chars;
    }
    if (s.width < 0 || chars >= static_cast<std::size_t>(s.width)) return body;
    std::string pad(static_cast<std::size_t>(s.width) - chars, ' ');
    return s.minus ? body + pad : pad + body;
}

// Clamped non-negative decimal at fmt[i].
int readCount(std::string_view fmt, std::size_t& i) {
    int v = 0;
    for (; i < fmt.size() && isDigit(fmt[i]); ++i) v = std::min(kMaxWidth, v * 10 + (fmt[i] - '0'));
    return v;
}

}  // namespace

std::string format(std::string_view fmt, const std::vector<FormatArg>& args) {
    std::string out;
    out.reserve(fmt.size() + 16);
    std::size_t next = 0;
    auto take = [&]() -> const Arg* { return next < args.size() ? &args[next++] : nullptr; };

    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            out += fmt[i];
            continue;
        }
        const std::size_t start = i++;
        Spec s;
        for (; i < fmt.size(); ++i) {
            char c = fmt[i];
            if (c == '-') s.minus = true;
            else if (c == '+') s.plus = true;
            else if (c == ' ') s.space = true;
            else if (c == '0') s.zero = true;
            else if (c == '#') s.hash = true;
            else break;
        }
        if (i < fmt.size() && fmt[i] == '*') {
            ++i;
            if (const Arg* a = take()) {
                long long w = argLongLong(*a);
                if (w < 0) {
                    s.minus = true;
                    w = w == LLONG_MIN ? LLONG_MAX : -w;
                }
                s.width = static_cast<int>(std::min<long long>(w, kMaxWidth));
            }
        } else if (i < fmt.size() && isDigit(fmt[i])) {
            s.width = readCount(fmt, i);
        }
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            if (i < fmt.size() && fmt[i] == '*') {
                ++i;
                if (const Arg* a = take()) {
                    long long p = argLongLong(*a);
                    if (p >= 0) s.precision = static_cast<int>(std::min<long long>(p, kMaxWidth));
                }
            } else {
                s.precision = readCount(fmt, i);
            }
        }
        while (i < fmt.size() && std::string_view("hlqzjtL").find(fmt[i]) != std::string_view::npos) ++i;
        if (i >= fmt.size()) {
            out.append(fmt.substr(start));  // an unfinished conversion stands as written
            break;
        }
        const char conv = fmt[i];
        if (conv == '%') {
            out += '%';
            continue;
        }
        if (std::string_view("@sdiuxXocfFeEgG").find(conv) == std::string_view::npos) {
            out.append(fmt.substr(start, i + 1 - start));
            continue;
        }
        const Arg* a = take();
        if (!a) continue;  // a missing argument prints nothing
        switch (conv) {
        case '@':
        case 's':
            out += padText(argText(*a), s);
            break;
        case 'd':
        case 'i':
            out += cFormat(s, false, "ll", 'd', argLongLong(*a));
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            long long v = argLongLong(*a);
            // A negative int reads as its 32-bit pattern, as the int argument it stands for would.
            unsigned long long u = (v < 0 && v >= INT32_MIN)
                                       ? static_cast<unsigned long long>(static_cast<std::uint32_t>(v))
                                       : static_cast<unsigned long long>(v);
            out += cFormat(s, conv != 'u', "ll", conv, u);
            break;
        }
        case 'c': {
            long long cp = 0;
            if (auto t = std::get_if<std::string>(&a->value)) {
                char32_t first;
                if (!t->empty() && decodeUtf8(*t, 0, first) > 0) cp = first;
            } else {
                cp = argLongLong(*a);
            }
            std::string ch;
            if (cp != 0 && isScalar(cp)) appendUtf8(ch, static_cast<char32_t>(cp));
            Spec text = s;
            text.precision = -1;
            if (!ch.empty()) out += padText(ch, text);
            break;
        }
        default:
            out += cFormat(s, true, "", conv, argDouble(*a));
            break;
        }
    }
    return out;
}

namespace {

// Appends the text with each character `escape` gives a replacement for written as that
// replacement; runs of other characters go in whole.
template <typename Escape>
void appendEscaped(std::string& out, std::string_view text, Escape escape) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* replacement = escape(text[i]);
        if (!replacement) continue;
        out.append(text.substr(from, i - from));
        out += replacement;
        from = i + 1;
    }
    out.append(text.substr(from));
}

}  // namespace

std::string escapeXml(std::string_view text, bool quotes) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, [quotes](char c) -> const char* {
        switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return quotes ? "&quot;" : nullptr;
        default: return nullptr;
        }
    });
    return out;
}

void appendXmlAttributeValue(std::string& out, std::string_view text) {
    appendEscaped(out, text, [](char c) -> const char* {
        switch (c) {
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '&': return "&amp;";
        case '"': return "&quot;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        case '\t': return "&#9;";
        default: return nullptr;
        }
    });
}

namespace {

bool isXmlChar(char32_t cp) {
    if (cp < 0x20) return cp == '\t' || cp == '\n' || cp == '\r';
    return cp != 0xFFFE && cp != 0xFFFF;
}

}  // namespace

bool isXmlText(std::string_view text) {
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x20 && b < 0x80) {  // the common case first
            ++i;
            continue;
        }
        std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0 || !isXmlChar(cp)) return false;
        i += len;
    }
    return true;
}

std::string xmlText(std::string_view text) {
    if (isXmlText(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    char32_t cp;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            appendUtf8(out, 0xFFFD);
            ++i;
            continue;
        }
        appendUtf8(out, isXmlChar(cp) ? cp : 0xFFFD);
        i += len;
    }
    return out;
}

void appendXmlCharacterData(std::string& out, std::string_view text) {
    std::string repaired;
    if (!isXmlText(text)) {
        repaired = xmlText(text);
        text = repaired;
    }
    appendEscaped(out, text, [](char c) -> const char* {
        switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '\r': return "&#13;";
        default: return nullptr;
        }
    });
}

std::string xmlCharacterData(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendXmlCharacterData(out, text);
    return out;
}

std::string gText(double value) {
    // Whole quantities, the usual case, are their digits ("-0" keeps its sign, as with "%g").
    if (value == std::trunc(value) && std::fabs(value) < 1e6 && !(value == 0 && std::signbit(value)))
        return std::to_string(static_cast<long long>(value));
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return error == std::errc() ? std::string(buffer, end) : fmt("%g", value);
}

}  // namespace platform
