#include "base64/GTMBase64.h"

#include <random>

#include <gtest/gtest.h>

namespace {

using std::string_literals::operator""s;

TEST(GTMBase64, EncodesStandardPaddedBase64AndNothingForEmptyInput) {
    struct Case { std::string data; const char* text; } cases[] = {
        {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"},
        {"\xFB\xFF\xBF"s, "+/+/"}, {"\0\0"s, "AAA="},
    };
    for (auto& c : cases) EXPECT_EQ(GTMBase64::encodeData(c.data), std::optional<std::string>(c.text)) << c.text;
    EXPECT_EQ(GTMBase64::encodeData(""), std::nullopt);
}

TEST(GTMBase64, DecodesStrictly) {
    const std::optional<std::string> none;
    struct Case { std::string text; std::optional<std::string> data; } cases[] = {
        {"QQ==", "A"},
        {"QUI=", "AB"},
        {"QUJD", "ABC"},
        {"QUJD\nREVG", "ABCDEF"},                 // line break between groups
        {"QQ= =", "A"},                           // space between the two "="
        {"\t Q\vQ\f=\r=\n ", "A"},                // every skipped white space byte
        {"\xA0QUJD\xFF"s, "ABC"},                 // 0xA0 and 0xFF are skipped too
        {"QUJD\0!!!"s, "ABC"},                    // a zero byte ends the input
        {"QQ==\0junk"s, "A"},
        {"+/+/", "\xFB\xFF\xBF"s},
        {"QR==", none},                           // unused bits of the last character not zero
        {"QUJ=", none},
        {"QQ=", none},                            // one "=" after two characters
        {"QQ", none},                             // padding missing
        {"QUJ", none},
        {"QUI==", none},                          // two "=" after three characters
        {"QQ=\0="s, none},                        // the zero byte ends the input before the second "="
        {"QQ==QQ==", none},                       // data after the padding
        {"QQ==x", none},
        {"QUJD=", none},
        {"Q===", none},
        {"====", none},
        {"QU*D", none},
        {"QUJD-_", none},                         // URL-safe characters are not in the alphabet
        {"", none},
        {" \r\n\t", none},
        {"\0QUJD"s, none},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(GTMBase64::decodeData(c.text), c.data);
    }
}

TEST(GTMBase64, RoundTripsEveryLengthOfBinaryData) {
    std::mt19937 rng(7);
    for (size_t n = 1; n < 200; ++n) {
        std::string data(n, '\0');
        for (auto& ch : data) ch = static_cast<char>(rng());
        auto text = GTMBase64::encodeData(data);
        ASSERT_TRUE(text);
        EXPECT_EQ(text->size() % 4, 0u);
        EXPECT_EQ(GTMBase64::decodeData(*text), data) << n;
    }
}

}  // namespace
