#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/xmldom.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <functional>
#include <string>

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

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

} // namespace

TEST(XmlDom, BuildsWalksAndSelects) {
    IXMLDOMDocumentPtr doc = newDocument();
    IXMLDOMElementPtr root = doc->createElement("R");
    EXPECT_EQ(doc->documentElement(), nullptr); // created, not yet attached
    EXPECT_EQ(doc->xml(), "");
    doc->appendChild(root);
    root->appendChild(doc->createTextNode("\n\t"));
    IXMLDOMElementPtr a = doc->createElement("A");
    root->appendChild(a);
    a->put_text("x<y & z");
    IXMLDOMElementPtr b = doc->createElement("A");
    root->appendChild(b);
    b->appendChild(doc->createElement("C"));
    EXPECT_EQ(doc->xml(), "<R>\n\t<A>x&lt;y &amp; z</A><A><C/></A></R>");

    int types[3] = {};
    int n = 0;
    for (IXMLDOMNodePtr c = root->firstChild(); c; c = c->nextSibling()) {
        types[n++] = c->nodeType();
    }
    EXPECT_EQ(n, 3);
    EXPECT_EQ(types[0], NODE_TEXT);
    EXPECT_EQ(types[1], NODE_ELEMENT);
    EXPECT_EQ(root->firstChild()->nodeName(), "#text");

    EXPECT_EQ(root->selectSingleNode("A"), a); // first of that name
    EXPECT_EQ(root->selectSingleNode("C"), nullptr);
    EXPECT_EQ(root->selectSingleNode("A/C")->nodeName(), "C");
    EXPECT_EQ(doc->selectSingleNode("R/A[2]"), b);
    EXPECT_EQ(root->text(), "\n\tx<y & z");
    EXPECT_EQ(IXMLDOMElementPtr(root->firstChild()), nullptr); // text is no element

    // Moving a node takes it from its old place.
    root->appendChild(a);
    EXPECT_EQ(doc->xml(), "<R>\n\t<A><C/></A><A>x&lt;y &amp; z</A></R>");

    // Made in place: the same as created and appended.
    b->appendText("t");
    b->appendElement("D")->put_text("1");
    EXPECT_EQ(b->xml(), "<A><C/>t<D>1</D></A>");
    IXMLDOMDocumentPtr other = newDocument();
    other->documentNode()->appendElement("S");
    EXPECT_EQ(other->documentElement()->nodeName(), "S");
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
    EXPECT_EQ(statusOf([&] { root->appendChild(other->createElement("A")); }), E_INVALIDARG);
    EXPECT_EQ(statusOf([&] { root->firstChild(); }), S_OK);
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
    struct Case {
        const char* locale;
        std::string text;
    };
    std::string allBytes;
    for (int c = 1; c < 256; ++c) {
        allBytes += static_cast<char>(c);
    }
    for (const Case& c :
         {Case{"C", allBytes}, Case{"C.UTF-8", "caf\xC3\xA9 \xE2\x82\xAC <&>\r\n\""}}) {
        SCOPED_TRACE(c.locale);
        if (std::setlocale(LC_CTYPE, c.locale) == nullptr) {
            continue;
        }
        const std::string path = tempPath("xmldom_round_trip.xml");
        IXMLDOMDocumentPtr doc = newDocument();
        IXMLDOMElementPtr root = doc->createElement("R");
        doc->appendChild(root);
        root->put_text(c.text.c_str());
        doc->save(path.c_str());

        IXMLDOMDocumentPtr loaded = newDocument();
        loaded->load(path.c_str());
        EXPECT_EQ(std::string(loaded->documentElement()->text()), c.text);
        std::remove(path.c_str());
    }
    std::setlocale(LC_CTYPE, saved.c_str());

    // The file is UTF-8: in the "C" locale byte 0xE9 is written as U+00E9.
    IXMLDOMDocumentPtr doc = newDocument();
    doc->loadXML("<R>\xE9</R>");
    const std::string path = tempPath("xmldom_latin1.xml");
    doc->save(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "rb");
    char bytes[16] = {};
    const std::size_t n = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(std::string(bytes, n), "<R>\xC3\xA9</R>");
}
