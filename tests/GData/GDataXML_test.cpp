#include "GData/GDataXML.h"

#include <chrono>

#include <gtest/gtest.h>

#include "platform/foundation/Text.h"
#include "support/TempHome.h"

namespace {

std::shared_ptr<GDataXMLDocument> parse(const std::string& bytes, int* error = nullptr) {
    return GDataXMLDocument::initWithDataOptionsError(bytes, 0, error);
}

std::shared_ptr<GDataXMLElement> rootOf(const std::string& bytes) {
    auto doc = parse(bytes);
    return doc ? doc->rootElement() : nullptr;
}

TEST(GDataXMLDocument, ReadsUtf8DeclaredAsGbkAsUtf8) {
    auto root = rootOf("<?xml version=\"1.0\" encoding=\"GBK\"?><r><n>红烧肉</n><m a=\"鱼\"/></r>");
    ASSERT_TRUE(root);
    EXPECT_EQ(elementText(root, "n"), "红烧肉");
    EXPECT_EQ(attributeText(firstElement(root, "m"), "a"), "鱼");
}

TEST(GDataXMLDocument, LeavesBytesThatAreNotUtf8ToTheLibrary) {
    // A true GBK document: rewriting its declaration would make it unreadable.
    auto gbk = platform::utf8ToGb18030("<?xml version=\"1.0\" encoding=\"GBK\"?><r><n>红烧肉</n></r>");
    ASSERT_TRUE(gbk);
    auto root = rootOf(*gbk);
    ASSERT_TRUE(root);
    EXPECT_EQ(elementText(root, "n"), "红烧肉");
}

TEST(GDataXMLDocument, GivesNothingAndErrorMinusOneForWhatIsNotXml) {
    for (const char* bytes : {"", "<r>", "not xml", "<r></s>", "<r a=1/>", "<a/><b/>"}) {
        int error = 7;
        EXPECT_FALSE(parse(bytes, &error)) << bytes;
        EXPECT_EQ(error, -1) << bytes;
    }
    EXPECT_FALSE(parse("<r>"));  // no error asked for
    int error = 7;
    EXPECT_TRUE(parse("<r/>", &error));
    EXPECT_EQ(error, 0);
}

TEST(GDataXMLDocument, DropsBlankTextAndReadsCdataAsText) {
    auto root = rootOf("<r>\n  <a>1</a>\n  <b><![CDATA[x<y & z]]></b>\n</r>");
    ASSERT_TRUE(root);
    auto children = root->children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_TRUE(children[0]->isElement());
    EXPECT_EQ(children[1]->name(), "b");
    EXPECT_EQ(elementText(root, "b"), "x<y & z");
    EXPECT_EQ(root->stringValue(), "1x<y & z");
}

TEST(GDataXMLElement, LooksUpChildrenAndAttributesByName) {
    auto root = rootOf("<r xmlns:p=\"urn:x\" xmlns:q=\"urn:x\" k=\"v\" p:k=\"pv\">"
                       "<row f1=\"1\"/><other/><row f1=\"2\"/><p:a>ns</p:a></r>");
    ASSERT_TRUE(root);
    auto rows = root->elementsForName("row");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ(attributeText((*rows)[1], "f1"), "2");
    EXPECT_EQ(root->elementsForName("missing"), std::nullopt);
    EXPECT_EQ(elementText(root, "p:a"), "ns");
    EXPECT_EQ(elementText(root, "q:a"), "ns");  // same namespace under another prefix
    EXPECT_EQ(root->attributeForName("k")->stringValue(), "v");
    EXPECT_EQ(root->attributeForName("p:k")->stringValue(), "pv");
    EXPECT_FALSE(root->attributeForName("f1"));
    // The lenient helpers carry an absent element all the way down.
    EXPECT_FALSE(firstElement(root, "missing"));
    EXPECT_FALSE(firstElement(firstElement(root, "missing"), "row"));
    EXPECT_EQ(elementText(nullptr, "row"), "");
    EXPECT_EQ(attributeText(firstElement(root, "other"), "f1"), "");
}

TEST(GDataXMLElement, AddsIndependentCopies) {
    auto root = GDataXMLNode::elementWithName("r");
    auto child = GDataXMLNode::elementWithNameStringValue("a", "1");
    root->addChild(child);
    root->addChild(child);
    auto added = root->elementsForName("a");
    ASSERT_TRUE(added);
    ASSERT_EQ(added->size(), 2u);
    (*added)[0]->setStringValue("2");
    EXPECT_EQ((*added)[0]->stringValue(), "2");
    EXPECT_EQ((*added)[1]->stringValue(), "1");
    EXPECT_EQ(child->stringValue(), "1");

    root->addAttribute(GDataXMLNode::attributeWithNameStringValue("k", "first"));
    root->addAttribute(GDataXMLNode::attributeWithNameStringValue("k", "second"));
    root->addChild(GDataXMLNode::attributeWithNameStringValue("k", "third"));  // as addAttribute
    root->addChild(GDataXMLNode::attributeWithNameStringValue("j", "x"));
    EXPECT_EQ(root->attributeForName("k")->stringValue(), "first");
    EXPECT_EQ(root->attributes().size(), 2u);
    EXPECT_EQ(root->elementsForName("j"), std::nullopt);
}

TEST(GDataXMLNode, SetStringValueInterpretsEntitiesWhileFactoriesKeepTextLiterally) {
    auto e = GDataXMLNode::elementWithName("t");
    e->setStringValue("a&amp;b");
    EXPECT_EQ(e->stringValue(), "a&b");
    e->setStringValue(std::nullopt);
    EXPECT_EQ(e->stringValue(), "a&b");

    auto literal = GDataXMLNode::elementWithNameStringValue("t", "a&b<c>");
    auto attr = GDataXMLNode::attributeWithNameStringValue("v", "x&amp;\"y\"");
    EXPECT_EQ(literal->stringValue(), "a&b<c>");
    EXPECT_EQ(attr->stringValue(), "x&amp;\"y\"");
    literal->addAttribute(attr);
    auto doc = GDataXMLDocument::initWithRootElement(literal);
    ASSERT_TRUE(doc);
    auto xml = doc->XMLData();
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find("<t v=\"x&amp;amp;&quot;y&quot;\">a&amp;b&lt;c&gt;</t>"), std::string::npos) << *xml;
}

TEST(GDataXMLDocument, SerialisesABuiltDocumentWithItsDeclaration) {
    auto root = GDataXMLNode::elementWithName("morvane");
    root->addAttribute(GDataXMLNode::attributeWithNameStringValue("UID", "null"));
    auto data = GDataXMLNode::elementWithName("data");
    data->addChild(GDataXMLNode::elementWithNameStringValue("name", "东坡肉"));
    root->addChild(data);
    auto doc = GDataXMLDocument::initWithRootElement(root);
    ASSERT_TRUE(doc);
    doc->setCharacterEncoding("UTF-8");
    auto xml = doc->XMLData();
    ASSERT_TRUE(xml);
    EXPECT_EQ(xml->rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<morvane UID=\"null\"><data><name>东坡肉</name>"
                         "</data></morvane>",
                         0),
              0u)
        << *xml;
    doc->setCharacterEncoding(std::nullopt);
    EXPECT_EQ(doc->XMLData()->rfind("<?xml version=\"1.0\"?>", 0), 0u);

    // Later changes to the source element do not reach the document.
    root->addChild(GDataXMLNode::elementWithName("late"));
    EXPECT_FALSE(firstElement(doc->rootElement(), "late"));
    auto back = rootOf(*xml);
    EXPECT_EQ(elementText(firstElement(back, "data"), "name"), "东坡肉");
}

TEST(GDataXMLNode, WrappersKeepTheirTreeAlive) {
    std::shared_ptr<GDataXMLElement> row;
    std::shared_ptr<GDataXMLElement> root;
    {
        auto doc = parse("<r><data><row f1=\"x\">t</row></data></r>");
        root = doc->rootElement();
        row = firstElement(firstElement(root, "data"), "row");
    }
    ASSERT_TRUE(row);
    EXPECT_EQ(attributeText(row, "f1"), "x");
    auto f1 = row->attributeForName("f1");
    f1->setStringValue("y&amp;z");
    EXPECT_EQ(attributeText(row, "f1"), "y&z");
    // Replacing content does not free what a wrapper still holds.
    root->setStringValue("gone");
    EXPECT_EQ(row->stringValue(), "t");
    EXPECT_EQ(root->stringValue(), "gone");

    auto owned = GDataXMLNode::elementWithName("o");
    owned->addChild(GDataXMLNode::elementWithNameStringValue("c", "kept"));
    auto c = firstElement(owned, "c");
    owned.reset();
    EXPECT_EQ(c->stringValue(), "kept");
}

TEST(GDataXMLDocument, InternsEqualTextsOfOneDocument) {
    auto a = rootOf("<r><x id=\"101\"/><y id=\"101\">101</y></r>");
    auto b = rootOf("<r><x id=\"101\"/></r>");
    auto ax = firstElement(a, "x")->attributeForName("id")->sharedStringValue();
    auto ay = firstElement(a, "y")->attributeForName("id")->sharedStringValue();
    auto ayText = firstElement(a, "y")->sharedStringValue();
    auto bx = firstElement(b, "x")->attributeForName("id")->sharedStringValue();
    ASSERT_TRUE(ax && ay && bx);
    EXPECT_EQ(*ax, "101");
    EXPECT_EQ(ax, ay);
    EXPECT_EQ(ax, ayText);
    EXPECT_NE(ax, bx);
    EXPECT_EQ(*ax, *bx);
}

class GDataXMLUntrusted : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        secret_ = home.writeFile("secret.txt", "SECRET-MARKER");
        dtd_ = home.writeFile("ext.dtd", "<!ENTITY leak SYSTEM \"file://" + secret_ +
                                             "\"><!ENTITY word \"DTD-WORD\">");
    }

    // Whatever the parser decides, no text of the document may show what the DTD points at.
    void expectNothingLeaks(const std::string& xml) {
        SCOPED_TRACE(xml);
        auto doc = parse(xml);
        if (!doc) return;
        auto root = doc->rootElement();
        ASSERT_TRUE(root);
        auto text = root->stringValue().value_or("");
        EXPECT_EQ(text.find("SECRET"), std::string::npos);
        EXPECT_EQ(text.find("DTD-WORD"), std::string::npos);
        for (auto& attr : root->attributes()) EXPECT_EQ(attr->stringValue()->find("SECRET"), std::string::npos);
    }

    std::string secret_, dtd_;
};

TEST_F(GDataXMLUntrusted, NeverReadsFilesOrExpandsDtdEntities) {
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secret_ + "\">]><r>&x;</r>");
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY x SYSTEM \"" + secret_ + "\">]><r a=\"b\">&x;</r>");
    expectNothingLeaks("<!DOCTYPE r SYSTEM \"file://" + dtd_ + "\"><r>&leak;&word;</r>");
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + dtd_ + "\"> %p;]><r>&leak;&word;</r>");
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY word \"DTD-WORD\">]><r>&word;</r>");
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY word \"DTD-WORD\">]><r a=\"&word;\"/>");
    expectNothingLeaks("<!DOCTYPE r [<!ENTITY x SYSTEM \"http://127.0.0.1:9/x\">]><r>&x;</r>");
    // Predefined and character references are ordinary text.
    EXPECT_EQ(rootOf("<r a=\"x&amp;y&#65;\">&lt;&#x4E00;</r>")->stringValue(), "<一");
    EXPECT_EQ(attributeText(rootOf("<r a=\"x&amp;y&#65;\"/>"), "a"), "x&yA");
}

TEST_F(GDataXMLUntrusted, EntityBombsStayCheap) {
    std::string bomb = "<!DOCTYPE r [<!ENTITY a0 \"lol lol lol lol lol lol lol lol lol lol\">";
    for (int i = 1; i <= 10; ++i)
        bomb += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
            std::string s;
            for (int k = 0; k < 10; ++k) s += "&a" + std::to_string(i - 1) + ";";
            return s;
        }() + "\">";
    bomb += "]><r>&a10;</r>";
    auto start = std::chrono::steady_clock::now();
    auto doc = parse(bomb);
    if (doc) {
        EXPECT_LT(doc->rootElement()->stringValue()->size(), 1000u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(GDataXMLDocument, ReadsALargeTableFile) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><morvane><data>";
    for (int i = 0; i < 20000; ++i)
        xml += "<row f1=\"" + std::to_string(i) + "\" f2=\"菜" + std::to_string(i) + "\" f3=\"1\"/>";
    xml += "</data></morvane>";
    auto data = firstElement(rootOf(xml), "data");
    auto rows = data ? data->elementsForName("row") : std::nullopt;
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 20000u);
    EXPECT_EQ(attributeText(rows->back(), "f2"), "菜19999");
    EXPECT_EQ(attributeText((*rows)[1234], "f1"), "1234");
}

}  // namespace
