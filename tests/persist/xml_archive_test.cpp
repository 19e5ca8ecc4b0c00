#include "plinth/persist/xml_archive.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace plinth;

namespace {

// A document with its root attached and pushed, as a caller sets up a pass.
struct Pass {
    explicit Pass(LONG direction, const char* text = nullptr, bool tabs = false) {
        pc.m_nDirection = direction;
        EXPECT_EQ(doc.CreateInstance(), S_OK);
        if (text != nullptr) {
            doc->loadXML(text);
        } else {
            doc->appendChild(doc->createElement("R"));
        }
        ar = PCExBase(&pc, doc);
        ar.m_bTabs = tabs;
        ar.Push(doc->documentElement());
    }
    PC pc;
    IXMLDOMDocumentPtr doc;
    PCExBase ar;
};

} // namespace

TEST(PersistContext, SchemaOutsideTheKnownRangeIsNone) {
    const PC none;
    EXPECT_EQ(none.m_nParam, 0u);
    EXPECT_EQ(none.m_eSchema, eSchemaNone);
    EXPECT_EQ(none.m_nReserved, 0);
    EXPECT_EQ(none.m_nDirection, PC::eUndecided);
    EXPECT_EQ(PC(7, 23u).m_eSchema, eSchemaNone);
    EXPECT_EQ(PC(7, 0u).m_eSchema, eSchemaNone);
    EXPECT_EQ(PC(7, 22u).m_eSchema, 22);
    EXPECT_EQ(PC(7, 1u).m_nParam, 7u);
}

TEST(XmlArchive, IndentationOfTheWorkedExample) {
    for (const bool tabs : {true, false}) {
        Pass pass(PC::eStoring, nullptr, tabs);
        PCExBase& ar = pass.ar;
        ar.PushElement("A");
        ar.PushInt("B", 5);
        ar.PopElement(false);
        ar.PopElement(false);
        EXPECT_EQ(ar.GetStackPosn(), 0);
        EXPECT_EQ(ar.GetTabs(), "\n");
        EXPECT_EQ(pass.doc->xml(),
                  tabs ? "<R>\n\t<A>\n\t\t<B>5</B>\n\t</A>\n</R>" : "<R><A><B>5</B></A></R>");
    }
}

TEST(XmlArchive, StackAndLevelRules) {
    Pass pass(PC::eStoring, nullptr, true);
    PCExBase& ar = pass.ar;
    EXPECT_EQ(ar.GetTabs(), "\n\t");
    ar.Push(IXMLDOMNodePtr()); // a null node is ignored, a null element is stacked
    EXPECT_EQ(ar.GetStackPosn(), 1);
    ar.Push(IXMLDOMElementPtr());
    EXPECT_EQ(ar.GetStackPosn(), 2);
    EXPECT_EQ(ar.GetCurElem(), nullptr);
    ar.PopElement(false);
    ar.PopElement(false);
    ar.PopElement(false); // empty: only the level drops
    EXPECT_EQ(ar.GetStackPosn(), 0);
    EXPECT_EQ(ar.GetTabs(), "\n");
    ar.PopIndent();
    EXPECT_EQ(ar.GetTabs(), "\n");
    ar.PushIndent();
    EXPECT_EQ(ar.GetTabs(), "\n\t");

    // A copy keeps its own stack.
    PCExBase copy(ar);
    copy.Push(pass.doc->documentElement());
    EXPECT_EQ(copy.GetStackPosn(), 1);
    EXPECT_EQ(ar.GetStackPosn(), 0);
    ar.Construct();
    EXPECT_FALSE(ar.IsStoring());
    EXPECT_EQ(ar.GetTabs(), "\n");
}

TEST(XmlArchive, ValueTexts) {
    const double d[] = {1.0, 2.5, 0.1234567, 1e6, -0.0001};
    const int i[] = {-1, 0, 7};
    const float f[] = {0.5f, 0.1f};
    EXPECT_EQ(PCExBase::FormatData(d, 5), "1 2.5 0.123457 1e+06 -0.0001");
    EXPECT_EQ(PCExBase::FormatDataInt(i, 3), "-1 0 7");
    EXPECT_EQ(PCExBase::FormatDataFloat(f, 2), "0.5 0.1");
    EXPECT_EQ(PCExBase::FormatData(d, 0), "");
    EXPECT_EQ(PCExBase::FormatData(nullptr, 3), "");

    Pass pass(PC::eStoring);
    PCExBase& ar = pass.ar;
    EXPECT_EQ(ar.PushData("E", d, 0), nullptr);
    ar.PushHex("H", 255);
    ar.PushHex("G", 0xFFFFFFFFu);
    EXPECT_TRUE(ar.PushBool("T", true));
    EXPECT_EQ(pass.doc->xml(), "<R><H>0x000000ff</H><G>0xffffffff</G><T>1</T></R>");

    DWORD v = 9;
    EXPECT_TRUE(PCExBase::ReadDWORD(ar.GetCurElem(), "H", v)); // reads the leading 0
    EXPECT_EQ(v, 0u);
    pass.doc->loadXML("<R><N>-1</N><B>300</B><U>4294967295</U></R>");
    const IXMLDOMElementPtr root = pass.doc->documentElement();
    BYTE b = 0;
    EXPECT_TRUE(PCExBase::ReadDWORD(root, "N", v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
    EXPECT_TRUE(PCExBase::ReadBYTE(root, "B", b));
    EXPECT_EQ(b, 44);
    EXPECT_TRUE(PCExBase::ReadDWORD(root, "U", v));
    EXPECT_EQ(v, 4294967295u);
    EXPECT_THROW(PCExBase::ReadDWORD(IXMLDOMNodePtr(), "N", v), CComException);
}

TEST(XmlArchive, NumberListsFillAtMostTheSlotsGiven) {
    struct Case {
        const char* text;
        ULONG slots;
        std::vector<double> expected; // 9 marks a slot left alone
    };
    const Case cases[] = {
        {"1 2 3", 2, {1, 2}},      {"1 2 3", 5, {1, 2, 3, 9, 9}},
        {"1  2", 4, {1, 2, 2, 9}},                      // a second space reads the next value twice
        {" 1 2", 4, {1, 1, 2, 9}}, {"1\t2", 2, {1, 9}}, // only spaces separate
        {"x 2", 2, {9, 9}},        {"+1.5 -2e1", 2, {1.5, -20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Pass pass(PC::eLoading, (std::string("<R><D>") + c.text + "</D></R>").c_str());
        std::vector<double> slots(c.slots, 9.0);
        pass.ar.ReadData("D", slots.data(), c.slots);
        EXPECT_EQ(slots, c.expected);
    }
    Pass pass(PC::eLoading, "<R><D>4,5</D></R>");
    int ints[2] = {9, 9};
    EXPECT_EQ(pass.ar.ReadDataInt("D", ints, 2), 1u);
    EXPECT_EQ(ints[0], 4);
    EXPECT_EQ(ints[1], 9);
    EXPECT_EQ(pass.ar.ReadDataInt("D", ints, 0), 0u);
}

TEST(XmlArchive, ReadersFindDirectChildrenByNameAndLeaveMissingValues) {
    Pass pass(PC::eLoading, "<R>\n\t<X><V>1</V><Q>3</Q></X><F>abc</F><V>2</V><V>7</V>\n</R>");
    PCExBase& ar = pass.ar;
    EXPECT_EQ(PCExBase::GetChildElementCount(ar.GetCurElem()), 4);
    EXPECT_EQ(PCExBase::GetChildElementCount(nullptr), 0);
    int v = -5;
    bool flag = false;
    float rgb[3] = {0.1f, 0.2f, 0.3f};
    EXPECT_TRUE(ar.ReadInt("V", v));
    EXPECT_EQ(v, 2); // the first direct child, not the nested one
    EXPECT_FALSE(ar.ReadInt("Q", v));
    EXPECT_FALSE(ar.ReadInt("F", v));
    EXPECT_FALSE(ar.ReadBool("Missing", flag));
    EXPECT_FALSE(ar.PersistColor(rgb));
    EXPECT_EQ(v, 2);
    EXPECT_FALSE(flag);
    EXPECT_EQ(rgb[2], 0.3f);

    EXPECT_EQ(ar.PersistElement("Z", true), nullptr);
    EXPECT_EQ(ar.GetStackPosn(), 1);
    ASSERT_NE(ar.PersistElement("X", true), nullptr);
    EXPECT_EQ(ar.ReadItem("Q"), "3");
    EXPECT_EQ(ar.ReadItem("", false), "13");
    ar.PopElement();
    EXPECT_EQ(ar.GetStackPosn(), 1);
}

// One routine serves both directions; the document goes through a file in between.
TEST(XmlArchive, FileRoundTripOfBothDirections) {
    struct Values {
        double d = 0;
        bool b = false;
        int ints[3] = {};
        float rgb[3] = {};
        CString text;
    };
    const auto persist = [](PCExBase& ar, Values& v) {
        ASSERT_NE(ar.PersistElement("P", true), nullptr);
        ar.PersistDouble("D", v.d);
        ar.PersistBool("B", v.b);
        ar.PersistDataInt("I", v.ints, 3);
        ar.PersistColor(v.rgb);
        if (ar.IsStoring()) {
            ar.PushString("S", v.text);
        } else {
            v.text = ar.ReadItem("S");
        }
        ar.PopElement(false);
    };
    Values out{0.25, true, {3, -4, 5}, {1, 0.5f, 0}, "a<b & \"c\" \xE9"};
    Pass store(PC::eStoring, nullptr, true);
    persist(store.ar, out);
    const std::string path = std::string(::testing::TempDir()) + "xml_archive_round_trip.xml";
    store.doc->save(path.c_str());

    Values in;
    Pass load(PC::eLoading, "<R/>");
    load.doc->load(path.c_str());
    std::remove(path.c_str());
    load.ar.PopElement();
    load.ar.Push(load.doc->documentElement());
    persist(load.ar, in);
    EXPECT_EQ(in.d, out.d);
    EXPECT_EQ(in.b, out.b);
    EXPECT_EQ(in.ints[1], -4);
    EXPECT_EQ(in.rgb[1], 0.5f);
    EXPECT_EQ(in.text, out.text);
}

TEST(XmlArchive, FailureLeavesTheDocumentAsFarAsItWasBuilt) {
    Pass pass(PC::eStoring);
    PCExBase& ar = pass.ar;
    ar.PushElement("A");
    try {
        ar.PushInt("not a name", 1);
        FAIL() << "a bad name was accepted";
    } catch (const CComException& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
    }
    EXPECT_EQ(ar.GetStackPosn(), 2);
    ar.PopElement(false);
    EXPECT_EQ(pass.doc->xml(), "<R><A/></R>");

    PCExBase detached;
    EXPECT_THROW(detached.PushElement("A"), CComException); // no document
    EXPECT_EQ(detached.ReadItem("A"), "");
}
