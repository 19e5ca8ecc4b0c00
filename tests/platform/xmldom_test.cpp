#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/xmldom.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>

using namespace plinth;

namespace {

IXMLDOMDocumentPtr newDocument() {
    IXMLDOMDocumentPtr doc;
    EXPECT_EQ(doc.CreateInstance(), S_OK);
    return doc;
}

HRESULT statusOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const CComException& e) {
        return e.Error();
    }
    return S_OK;
}

// A name of this process's own, so that test runs of several builds do not collide.
std::string tempPath(const char* name) {
    return ::testing::TempDir() + std::to_string(::getpid()) + name;
}

} // namespace

TEST(XmlDom, BuildsWalksAndSelects) {
    IXMLDOMDocumentPtr doc = newDocument();
    IXMLDOMElementPtr root = doc->createElement("R");
    EXPECT_EQ(doc->documentElement(), nullptr); // created, not yet attached
    EXPECT_EQ(doc->xml(), "");
    doc->appendChild(root);
    IXMLDOMNodePtr text = root->appendChild(doc->createTextNode("\n\t"));
    IXMLDOMElementPtr a = doc->createElement("A");
    root->appendChild(a);
    a->put_text("x<y & z");
    IXMLDOMElementPtr b = root->appendElement("A"); // made in place
    b->appendChild(doc->createElement("C"));
    EXPECT_EQ(doc->xml(), "<R>\n\t<A>x&lt;y &amp; z</A><A><C/></A></R>");

    EXPECT_EQ(root->firstChild(), text);
    EXPECT_EQ(text->nodeType(), NODE_TEXT);
    EXPECT_EQ(text->nodeName(), "#text");
    EXPECT_EQ(text->nextSibling(), a);
    EXPECT_EQ(a->nodeType(), NODE_ELEMENT);
    EXPECT_EQ(b->nextSibling(), nullptr);

    EXPECT_EQ(root->selectSingleNode("A"), a); // first of that name
    EXPECT_EQ(root->selectSingleNode("C"), nullptr);
    EXPECT_EQ(root->selectSingleNode("A/C")->nodeName(), "C");
    EXPECT_EQ(doc->selectSingleNode("R/A[2]"), b);
    EXPECT_EQ(root->text(), "\n\tx<y & z");
    EXPECT_EQ(IXMLDOMElementPtr(root->firstChild()), nullptr); // text is no element

    // Moving a node takes it from its old place.
    root->appendChild(a);
    EXPECT_EQ(doc->xml(), "<R>\n\t<A><C/></A><A>x&lt;y &amp; z</A></R>");

    b->appendText("t");
    b->appendElement("D")->put_text("1");
    EXPECT_EQ(b->xml(), "<A><C/>t<D>1</D></A>");
    b->appendTextElement("E", "2 < 3");
    b->appendTextElement("F", "");
    EXPECT_EQ(b->xml(), "<A><C/>t<D>1</D><E>2 &lt; 3</E><F/></A>");

    // Leaves lent in place: only an element's sole ASCII text, or its lack of one.
    std::size_t length = 9;
    EXPECT_STREQ(b->childLeafText("E", length), "2 < 3");
    EXPECT_EQ(length, 5u);
    EXPECT_STREQ(b->childLeafText("C", length), "");
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(root->childLeafText("A", length), nullptr); // the first A holds elements
    EXPECT_EQ(b->childLeafText("Z", length), nullptr);
    EXPECT_EQ(doc->documentNode()->childLeafText("", length), nullptr);
}

TEST(XmlDom, FailuresRaiseTheirStatus) {
    IXMLDOMDocumentPtr none;
    IXMLDOMNodePtr null;
    IXMLDOMDocumentPtr doc = newDocument();
    IXMLDOMDocumentPtr other = newDocument();
    IXMLDOMElementPtr root = doc->createElement("R");
    doc->appendChild(root);

    EXPECT_EQ(statusOf([&] { none->createElement("A"); }), E_POINTER);
    EXPECT_EQ(statusOf([&] { null->text(); }), E_POINTER);
    EXPECT_EQ(statusOf([&] { root->appendChild(null); }), E_POINTER);
    EXPECT_EQ(statusOf([&] { doc->createElement("a b"); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { doc->createElement("1a"); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { doc->appendChild(doc->createElement("S")); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { doc->documentNode()->appendElement("S"); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { root->appendElement(""); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { root->appendTextElement("a b", "x"); }), E_INVALIDARG);
    std::size_t length = 0;
    EXPECT_EQ(statusOf([&] { null->childLeafText("A", length); }), E_POINTER);
    EXPECT_EQ(statusOf([&] { root->appendChild(other->createElement("A")); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { root->selectSingleNode("A[["); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { doc->load(tempPath("no/such/file.xml").c_str()); }),
              static_cast<HRESULT>(0x80070002u));
    EXPECT_EQ(doc->xml(), "<R/>");
}

TEST(XmlDom, MalformedTextLeavesTheDocumentAsItWas) {
    IXMLDOMDocumentPtr doc = newDocument();
    doc->loadXML("<R><A>1</A></R>");
    IXMLDOMElementPtr a(doc->selectSingleNode("R/A"));
    for (const char* bad : {"", "<R>", "<R></S>", "<R><A>1</A></R><R/>", "text", "<R a=1/>"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(statusOf([&] { doc->loadXML(bad); }), XML_E_PARSEERROR);
        EXPECT_EQ(doc->xml(), "<R><A>1</A></R>");
    }
    // A node keeps its old tree alive when the document loads other text.
    doc->loadXML("<Q/>");
    EXPECT_EQ(a->text(), "1");
    EXPECT_EQ(doc->documentElement()->nodeName(), "Q");
}

// Every 8-bit text survives a file in the "C" locale (its upper half read as Latin-1) and
// valid text in a UTF-8 locale; markup characters, control characters and line ends too.
TEST(XmlDom, TextSurvivesAFileRoundTrip) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    const std::string path = tempPath("xmldom_round_trip.xml");
    std::string allBytes;
    for (int c = 1; c < 256; ++c) {
        allBytes += static_cast<char>(c);
    }
    const std::pair<const char*, std::string> cases[] = {
        {"C", allBytes}, {"C.UTF-8", "caf\xC3\xA9 \xE2\x82\xAC <&>\r\n\""}};
    for (const auto& [locale, text] : cases) {
        SCOPED_TRACE(locale);
        if (std::setlocale(LC_CTYPE, locale) == nullptr) {
            continue;
        }
        IXMLDOMDocumentPtr doc = newDocument();
        doc->documentNode()->appendElement("R")->put_text(text.c_str());
        doc->save(path.c_str());
        IXMLDOMDocumentPtr loaded = newDocument();
        loaded->load(path.c_str());
        EXPECT_EQ(std::string(loaded->documentElement()->text()), text);
    }
    std::setlocale(LC_CTYPE, saved.c_str());

    // The file is UTF-8: in the "C" locale byte 0xE9 is written as U+00E9.
    IXMLDOMDocumentPtr doc = newDocument();
    doc->loadXML("<R>\xE9</R>");
    doc->save(path.c_str());
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "<R>\xC3\xA9</R>");
    std::remove(path.c_str());
}
