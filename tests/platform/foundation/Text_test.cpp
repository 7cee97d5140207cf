#include "platform/foundation/Text.h"

#include <cfloat>
#include <climits>
#include <cstdio>

#include <gtest/gtest.h>

using platform::FormatArg;

namespace {

TEST(Utf8, ValidationRejectsOverlongsSurrogatesAndOutOfRange) {
    struct Case { std::string bytes; bool valid; } cases[] = {
        {"", true}, {"plain", true}, {"宫保鸡丁", true}, {"\xF0\x9F\x98\x80", true},
        {"\xC0\xAF", false},          // overlong "/"
        {"\xE0\x80\xAF", false},      // overlong, three bytes
        {"\xED\xA0\x80", false},      // U+D800
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xE5\xAE", false},          // truncated
        {"\x80", false}, {"\xFF", false},
    };
    for (auto& c : cases) EXPECT_EQ(platform::isValidUTF8(c.bytes), c.valid) << ::testing::PrintToString(c.bytes);
}

TEST(Utf8, ScanningTellsACutCharacterFromABrokenOne) {
    const std::string hong = "\xe7\xba\xa2";  // 红
    struct Case { std::string text; std::size_t from; std::size_t end; } cases[] = {
        {"ab" + hong, 0, 5},
        {"ab" + hong.substr(0, 2), 0, 2},          // cut at the end: complete up to it
        {"ab" + hong.substr(0, 1), 2, 2},          // scanning on from a later point
        {"ab\xe7" "x", 0, std::string::npos},       // a broken sequence never decodes
        {"\xc0\xaf", 0, std::string::npos},        // overlong
        {"\xed\xa0\x80", 0, std::string::npos},    // surrogate
        {"", 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::scanUtf8(c.text, c.from), c.end) << c.text;
}

TEST(Gb18030, RoundTripsChineseTextAndRefusesInvalidInput) {
    const std::string text = "台号：A12 宫保鸡丁×2 ¥38.5 €😀";
    auto gb = platform::utf8ToGb18030(text);
    ASSERT_TRUE(gb);
    EXPECT_EQ(gb->substr(0, 4), "\xCC\xA8\xBA\xC5");  // 台号
    EXPECT_EQ(platform::gb18030ToUtf8(*gb), text);
    EXPECT_EQ(platform::gb18030ToUtf8(""), "");

    EXPECT_FALSE(platform::gb18030ToUtf8("\xCC"));          // truncated pair
    EXPECT_FALSE(platform::gb18030ToUtf8("ok\xFF\xFF"));    // not a GB18030 sequence
    EXPECT_FALSE(platform::utf8ToGb18030("bad \xC0\xAF"));  // not UTF-8
}

TEST(Text, UpperCasingIsUnicodeAndIndependentOfTheLocale) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"caip abc", "CAIP ABC"}, {"straße", "STRASSE"}, {"éàÿ ñ", "ÉÀŸ Ñ"}, {"ąłž", "ĄŁŽ"},
        {"αβγ ςά", "ΑΒΓ ΣΆ"}, {"привет ёж", "ПРИВЕТ ЁЖ"}, {"ａｂｃ", "ＡＢＣ"}, {"ạ", "Ạ"},
        {"宫保鸡丁abc", "宫保鸡丁ABC"}, {"a\xFF" "b", "A\xFF" "B"},
    };
    for (auto& c : cases) EXPECT_EQ(platform::toUpper(c.in), c.out) << c.in;
}

TEST(Text, Utf16ConversionReplacesWhatIsNotText) {
    EXPECT_EQ(platform::toUtf16("A中😀"), (std::u16string{u'A', u'中', 0xD83D, 0xDE00}));
    EXPECT_EQ(platform::fromUtf16(platform::toUtf16("A中😀")), "A中😀");
    EXPECT_EQ(platform::toUtf16("a\xFF"), (std::u16string{u'a', 0xFFFD}));
    EXPECT_EQ(platform::fromUtf16(std::u16string{u'x', 0xD800, u'y'}), "x\xEF\xBF\xBDy");
}

TEST(Text, NumbersAreWrittenAsPercentGWritesThem) {
    const double cases[] = {0, -0.0, 1, -1, 2.5, 0.1, 1.0f / 3, 123456, 999999, 1e6, 1234567, -7.25e-5,
                            1e-5, 0.0001, 3.4e38, 1e300, 100.5f, 0.25f};
    for (double v : cases) {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%g", v);
        EXPECT_EQ(platform::gText(v), printed) << printed;
    }
}

TEST(LeadingNumber, ReadsTheLeadingNumberLikeTheFilesDo) {
    struct Case { const char* text; long long integer; double real; } cases[] = {
        {"12abc", 12, 12}, {"  -3.5", -3, -3.5}, {"", 0, 0}, {"abc", 0, 0}, {"1e3x", 1, 1000},
        {"+7", 7, 7}, {"0x1A", 0, 0}, {"nan", 0, 0}, {"inf", 0, 0}, {"-infinity", 0, 0},
        {".5", 0, 0.5}, {"5.", 5, 5}, {"2e", 2, 2}, {"2e+", 2, 2}, {"-", 0, 0}, {"\t\n42", 42, 42},
        {"99999999999999999999", LLONG_MAX, 1e20}, {"-99999999999999999999", LLONG_MIN, -1e20},
        {"1e999", 1, DBL_MAX}, {"-1e999", -1, -DBL_MAX}, {"1e-999", 1, 0},
    };
    for (auto& c : cases) {
        EXPECT_EQ(platform::leadingLongLong(c.text), c.integer) << c.text;
        EXPECT_DOUBLE_EQ(platform::leadingDouble(c.text), c.real) << c.text;
    }
    EXPECT_EQ(platform::leadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(platform::leadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(platform::leadingInt("-2147483648"), INT_MIN);
}

TEST(Format, AppliesObjectiveCStyleFormatsSafely) {
    struct Case { const char* fmt; std::vector<FormatArg> args; std::string out; } cases[] = {
        {"%02x", {10}, "0a"},
        {"%08x", {0xDEADBEEFu}, "deadbeef"},
        {"%02x%02x%08x", {255, 1, 4294967294ull}, "ff01fffffffe"},
        {"%040x", {0}, std::string(40, '0')},
        {"%.2g", {3.14159}, "3.1"},
        {"%f", {1.5}, "1.500000"},
        {"%.0f|%.1fkm|%e", {2.6, 1.26, 12345.678}, "3|1.3km|1.234568e+04"},
        {"%i-48.png", {7}, "7-48.png"},
        {"%@/%@.ATD", {"/data", "12"}, "/data/12.ATD"},
        {"%@", {std::optional<std::string>()}, "(null)"},
        {"%@|%@|%@", {2.5, 3, 0.1}, "2.5|3|0.1"},
        {"%g元", {38.0}, "38元"},
        {"%d|%i|%d", {"12abc", 3.9, -5}, "12|3|-5"},
        {"%.1f", {"2.75 yuan"}, "2.8"},
        {"%@ %@!", {"a"}, "a !"},        // missing argument prints nothing
        {"%i", {1, 2}, "1"},             // surplus ignored
        {"%", {1}, "%"},
        {"%5", {1}, "%5"},
        {"%q", {1}, "%q"},
        {"%k%d", {5}, "%k5"},            // unknown conversion stands, takes no argument
        {"100%% %s", {"x"}, "100% x"},
        {"%5.1f|%-5d|%+d|% d", {3.14159, 42, 7, 7}, "  3.1|42   |+7| 7"},
        {"%*d|%-*d|%.*f", {4, 42, 3, 1, 2, 3.14159}, "  42|1  |3.14"},
        {"%lld %qd %zu %hu %ld %lu", {1, 2, 3, 4, 5, 6}, "1 2 3 4 5 6"},
        {"%X %o %u %#x", {255, 8, -1, 255}, "FF 10 4294967295 0xff"},
        {"%c%c%c", {65, "中文", 0}, "A中"},
        {"%5@|%-4s|%.1@", {"中文", "ab", "中文"}, "   中文|ab  |中"},
    };
    for (auto& c : cases) EXPECT_EQ(platform::format(c.fmt, c.args), c.out) << c.fmt;

    EXPECT_EQ(platform::fmt("%@%d", "com.kovra.slot.", 7), "com.kovra.slot.7");
    // Widths and precisions from a word table are clamped, not trusted.
    EXPECT_EQ(platform::format("%999999999d", {1}).size(), 4096u);
    EXPECT_LT(platform::format("%.999999999f", {1.0}).size(), 5000u);
}

}  // namespace

TEST(XmlText, ReplacesWhatXmlCannotHoldAndKeepsSoundText) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case { std::string text, clean; } cases[] = {
        {"plain 汉字 \t\r\n", "plain 汉字 \t\r\n"},
        {std::string("a\0b", 3), "a" + fffd + "b"},
        {"\x01\x1f", fffd + fffd},
        {"\xff", fffd},
        {"\xE4\xB8", fffd + fffd},                 // a character cut short
        {"\xED\xA0\x80", fffd + fffd + fffd},      // a surrogate
        {"\xEF\xBF\xBE", fffd},                    // U+FFFE
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::xmlText(c.text), c.clean) << c.text;
        EXPECT_EQ(platform::isXmlText(c.text), c.text == c.clean) << c.text;
    }
    EXPECT_EQ(platform::xmlCharacterData("<a&b>\r\x02"), "&lt;a&amp;b&gt;&#13;" + fffd);
}
