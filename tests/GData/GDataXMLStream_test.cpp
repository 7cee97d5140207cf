#include "GData/GDataXMLStream.h"

#include <string>

#include <gtest/gtest.h>

#include "GData/GDataXML.h"
#include "GDataXMLStreamRecorder.h"
#include "platform/foundation/Text.h"

namespace {

using gdatatest::Recorder;

std::string streamed(const std::string& text, bool* read = nullptr) {
    Recorder r;
    bool ok = GDataXMLStreamRead(text, r);
    if (read) *read = ok;
    return ok ? r.events() : "(none)";
}

std::string fromTree(const std::string& text) {
    Recorder r;
    return GDataXMLTreeRead(text, r) ? r.events() : "(none)";
}

TEST(GDataXMLStream, ReadsWhatTheTreeHolds) {
    const char* cases[] = {
        // blank text the tree drops, and blank text it keeps
        "<r>\n  <a>1</a>\n  <b> </b>\n</r>",
        "<r> <a/> x <b/> </r>",
        "<r>x <a/> </r>",
        "<r><a/>\n<!-- c -->\n<b/></r>",
        "<r>t<!-- c -->  <b/></r>",
        "<r><?pi data?>  <b/>  </r>",
        "<r>  </r>",
        "<r xml:space=\"preserve\">\n <a/>\n</r>",
        "<r><a xml:space=\"preserve\"> <b/> </a> <c/> </r>",
        // CDATA, references, attribute values
        "<r><![CDATA[x<y & z]]> <a/></r>",
        "<r a=\"x&amp;y\" b=\"&#38;&#60;&lt;&gt;&quot;&apos;\" c=\"&amp;#60;\">&amp;&#x4E2D;&lt;</r>",
        "<r a=\"红&amp;烧\" b=\"tab\tnew\nline\" c='single \"q\"'/>",
        "<r a=\"\" b=\"&#32;\">&#32;<a/>&#10;</r>",
        // names with and without namespaces
        "<r xmlns=\"u:d\" xmlns:p=\"u:p\"><p:a p:x=\"1\" y=\"2\"/><a/></r>",
        "<r><q:a q:x=\"1\">undeclared</q:a></r>",
        "<r xml:lang=\"zh\"/>",
        // declarations and encodings
        "<?xml version=\"1.0\" encoding=\"GBK\"?><r><n a=\"鱼\">红烧肉</n></r>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- before -->\n<r/>\n<!-- after -->\n",
        // a DTD: its entities and default attributes are the tree's
        "<!DOCTYPE r [<!ENTITY e \"ee\"><!ATTLIST r d CDATA \"def\">]><r a=\"&e;x\">a&e; <b/>&e;</r>",
        "<!DOCTYPE r [<!ELEMENT r (a)*><!ELEMENT a (#PCDATA)>]><r>\n<a> </a>\n</r>",
        // not documents
        "", "<r>", "not xml", "<r></s>", "<r a=1/>", "<a/><b/>", "<r>&undeclared;</r>", "<r a=\"1\" a=\"2\"/>",
        "<r><![CDATA[open</r>", "\xff\xfe<r/>",
    };
    for (const char* text : cases) EXPECT_EQ(streamed(text), fromTree(text)) << text;
}

TEST(GDataXMLStream, GivesTheTextsOfADocument) {
    EXPECT_EQ(streamed("<r a=\"x&amp;y\"> <d>A1</d>\n <s><g q=\"2\">7&lt;</g></s></r>"),
              "<r a=x&y><d>A1</d><s><g q=2>7<</g></s></r>");
    // A document with a DTD is read through its tree, entities giving nothing.
    bool read = false;
    EXPECT_EQ(streamed("<!DOCTYPE r [<!ENTITY e \"ee\">]><r>a&e;</r>", &read), "<r>a</r>");
    EXPECT_TRUE(read);
}

TEST(GDataXMLStream, RefusesDepthTheTreeRefuses) {
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<a>";
    for (int i = 0; i < 300; ++i) deep += "</a>";
    EXPECT_FALSE(GDataXMLDocument::initWithDataOptionsError(deep, 0, nullptr));
    EXPECT_EQ(streamed(deep), "(none)");
    std::string fine;
    for (int i = 0; i < 200; ++i) fine += "<a>";
    for (int i = 0; i < 200; ++i) fine += "</a>";
    EXPECT_EQ(streamed(fine), fromTree(fine));
    EXPECT_NE(streamed(fine), "(none)");
}

}  // namespace
