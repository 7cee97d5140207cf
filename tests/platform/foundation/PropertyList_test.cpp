#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include "platform/foundation/FileSystem.h"
#include "support/TempHome.h"

using namespace platform;
using testsupport::TempHomeTest;

namespace {

PlistDict sample() {
    PlistDict inner{{"OpenUDID", "0a1b2c"}, {"OpenUDID_createdTS", PlistDate{1234567890}},
                    {"empty", PlistDict{}}};
    return PlistDict{
        {"text", "a < b & c > d\r\n宫保鸡丁 \"quoted\" 'single'"},
        {"count", -9007199254740993LL},
        {"price", 0.1},
        {"on", true},
        {"off", false},
        {"blob", PlistData{std::string("\0\x01\xfe\xff binary", 12)}},
        {"list", PlistArray{1, "two", PlistArray{}, PlistDict{{"k", 3.5}}}},
        {"nested", inner},
        {"", ""},
    };
}

TEST(PropertyList, WritesTheUsualXmlAndReadsItBack) {
    std::string xml = plistToXml(PlistValue(sample()));
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC", 0), 0u);
    EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);
    auto back = plistFromXml(xml);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, PlistValue(sample()));

    // What XML cannot carry is replaced, never makes the file unreadable.
    auto odd = plistFromXml(plistToXml(PlistValue("a\x01" "b\xff" "c")));
    ASSERT_TRUE(odd && odd->string());
    EXPECT_EQ(*odd->string(), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c");
}

TEST(PropertyList, ReadsHandWrittenFiles) {
    auto value = plistFromXml(
        "<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<!-- saved slot -->\n<dict>\n"
        "  <key>n</key> <integer> 42 </integer>\n  <key>r</key><real>1e3</real>\n"
        "  <key>s</key><string><![CDATA[<raw>]]> &amp; more</string>\n"
        "  <key>d</key><data>\n  aGVs\n  bG8=\n</data>\n"
        "  <key>t</key><date>2009-02-13T23:31:30Z</date>\n  <key>e</key><string/>\n"
        "</dict>\n</plist>\n");
    ASSERT_TRUE(value && value->dict());
    EXPECT_EQ(*value, PlistValue(PlistDict{{"n", 42}, {"r", 1000.0}, {"s", "<raw> & more"},
                                           {"d", PlistData{"hello"}}, {"t", PlistDate{1234567890}},
                                           {"e", ""}}));
}

TEST(PropertyList, MalformedTextGivesNothing) {
    const char* cases[] = {
        "", "not xml", "<plist>", "<plist></plist>", "<plist><string/><string/></plist>",
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><string>a</string><string>b</string></dict></plist>",
        "<plist><dict>stray<key>a</key><true/></dict></plist>",
        "<plist><integer>12x</integer></plist>", "<plist><integer>99999999999999999999</integer></plist>",
        "<plist><real>1.5.2</real></plist>", "<plist><data>!!!!</data></plist>",
        "<plist><data>aGVsbG8=x</data></plist>", "<plist><date>2009-13-01T00:00:00Z</date></plist>",
        "<plist><date>yesterday</date></plist>", "<plist><unknown/></plist>",
        "<plist><string>a<b/></string></plist>",
        // Entities are never expanded, neither internal nor external ones.
        "<!DOCTYPE plist [<!ENTITY e \"boom\">]><plist><string>&e;</string></plist>",
        "<!DOCTYPE plist [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><plist><string>&e;</string></plist>",
        "<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
        "<plist><array><string>&d;&d;&d;&d;</string></array></plist>",
    };
    for (const char* xml : cases) EXPECT_FALSE(plistFromXml(xml)) << xml;

    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += "<array>";
    EXPECT_FALSE(plistFromXml("<plist>" + deep + "</plist>"));
}

TEST_F(TempHomeTest, DictionaryFilesAreWrittenAtomicallyAndReadBack) {
    std::string path = fs::join(platform::preferencesFolder(), "slot.plist");
    EXPECT_FALSE(readPlistDictFile(path));
    ASSERT_TRUE(writePlistDictFile(path, sample()));
    EXPECT_EQ(readPlistDictFile(path), sample());

    std::string xml = *fs::readAll(path);
    fs::writeAtomically(path, xml.substr(0, xml.size() / 2));
    EXPECT_FALSE(readPlistDictFile(path));
    fs::writeAtomically(path, plistToXml(PlistValue(PlistArray{1, 2})));
    EXPECT_FALSE(readPlistDictFile(path));
    EXPECT_FALSE(writePlistDictFile(home.path() + "/missing/slot.plist", sample()));
}

}  // namespace
