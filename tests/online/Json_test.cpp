// The lenient readers every answer handler relies on, the picture address rule and the URL escaping.

#include <gtest/gtest.h>

#include "online/NSHTTPServer.h"
#include "online/NSJsonResolver.h"

namespace {

TEST(OnlineJson, NumbersAndBooleansAreReadLeniently) {
    const auto j = nlohmann::json::parse(R"({
        "n": 12, "f": 2.75, "s": " 42abc", "neg": "-7", "none": "abc", "null": null,
        "t1": "YES", "t2": "true", "t3": "  007", "f1": "NO", "f2": "000", "f3": "-0", "b": true, "z": 0,
        "big": 1e12, "txt": "x", "num": 5, "frac": 0.5 })");
    struct IntCase { const char* key; int value; };
    for (const auto& c : {IntCase{"n", 12}, {"f", 2}, {"s", 42}, {"neg", -7}, {"none", 0}, {"null", 0},
                          {"missing", 0}, {"b", 1}, {"big", 2147483647}})
        EXPECT_EQ(json_read::integer(j, c.key), c.value) << c.key;
    EXPECT_FLOAT_EQ(json_read::number(j, "f"), 2.75f);
    EXPECT_FLOAT_EQ(json_read::number(j, "s"), 42.f);
    struct BoolCase { const char* key; bool value; };
    for (const auto& c : {BoolCase{"t1", true}, {"t2", true}, {"t3", true}, {"f1", false}, {"f2", false},
                          {"f3", false}, {"b", true}, {"z", false}, {"n", true}, {"missing", false}, {"null", false}})
        EXPECT_EQ(json_read::boolean(j, c.key), c.value) << c.key;
    // Texts as they come; a number gives its decimal text; missing and null give "".
    EXPECT_EQ(json_read::text(j, "txt"), "x");
    EXPECT_EQ(json_read::text(j, "num"), "5");
    EXPECT_EQ(json_read::text(j, "frac"), "0.5");
    EXPECT_EQ(json_read::text(j, "null"), "");
    EXPECT_EQ(json_read::text(j, "missing"), "");
    // Compared members must be texts: the number 5 is not the text "5".
    EXPECT_TRUE(json_read::textEquals(j, "txt", "x"));
    EXPECT_FALSE(json_read::textEquals(j, "num", "5"));
    // Reading from something that is no object gives nothing, never a throw.
    const auto arr = nlohmann::json::parse("[1,2]");
    EXPECT_EQ(json_read::text(arr, "x"), "");
    EXPECT_TRUE(json_read::list(j, "txt").empty());
}

TEST(OnlineJson, ResolverKeepsTheValueOrNothing) {
    NSJsonResolver r;
    ASSERT_TRUE(r.resolveJson(R"({"a":"1"})"));
    EXPECT_EQ(json_read::text(*r.jsonMap, "a"), "1");
    EXPECT_FALSE(r.resolveJson("<html>error</html>"));
    EXPECT_FALSE(r.jsonMap);
    EXPECT_FALSE(r.resolveJson(""));
    EXPECT_EQ(NSJsonResolver::codeJson(nlohmann::json::array({{{"a", "中"}, {"b", nlohmann::json::array()}}})),
              "[{\"a\":\"中\",\"b\":[]}]");
}

TEST(OnlineJson, PictureAddressRule) {
    NSHTTPServer::setHTTPAddress("http://shop.example:8080/app/Android/");
    EXPECT_EQ(NSHTTPServer::pictureURL("upload/x.png"), "http://shop.example:8080/upload/x.png");
    NSHTTPServer::setHTTPAddress("http://shop.example/svc/");
    EXPECT_EQ(NSHTTPServer::pictureURL("upload/x.png"), "upload/x.png");
}

TEST(OnlineJson, WholeURLEscaping) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"http://h/app/A.aspx?a=1&b=2", "http://h/app/A.aspx?a=1&b=2"},
        {"-_.!~*'();/?:@&=+$,", "-_.!~*'();/?:@&=+$,"},
        {" \"<>{}|^`\\#", "%20%22%3C%3E%7B%7D%7C%5E%60%5C%23"},
        {"中", "%E4%B8%AD"},
        {"\x01\x7f", "%01%7F"},
        // A lone "%" is escaped; a value's own escape is kept.
        {"100%", "100%25"},
        {"%zz%4", "%25zz%254"},
        {"a%26b", "a%26b"},
    };
    for (const auto& c : cases) EXPECT_EQ(NSHTTPServer::escapeURL(c.in), c.out) << c.in;
    EXPECT_EQ(NSHTTPServer::escapeValue("a&b=c+d?e#f%g h"), "a%26b%3Dc%2Bd%3Fe%23f%25g h");
}

}  // namespace
