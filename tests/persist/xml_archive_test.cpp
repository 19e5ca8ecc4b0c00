#include "support/xml_pass.h"

#include "plinth/persist/xml_archive.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plinth;
using plinth::testing::Pass;

TEST(PersistContext, SchemaOutsideTheKnownRangeIsNone) {
    EXPECT_EQ(PC().m_nDirection, PC::eUndecided);
    for (const UINT schema : {0u, 1u, 22u, 23u}) {
        const UINT expected = schema >= 1 && schema <= 22 ? schema : 0;
        EXPECT_EQ(static_cast<UINT>(PC(7, schema).m_eSchema), expected);
    }
}

TEST(XmlArchive, IndentationOfTheWorkedExample) {
    for (const bool tabs : {true, false}) {
        Pass pass(PC::eStoring, "<R/>", tabs);
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
    Pass pass(PC::eStoring, "<R/>", true);
    PCExBase& ar = pass.ar;
    EXPECT_EQ(ar.GetTabs(), "\n\t");
    ar.Push(IXMLDOMNodePtr()); // a null node is ignored, a null element is stacked
    ar.Push(IXMLDOMElementPtr());
    EXPECT_EQ(ar.GetStackPosn(), 2);
    EXPECT_EQ(ar.GetCurElem(), nullptr);
    ar.PopElement(false);
    ar.PopElement(false);
    EXPECT_EQ(ar.GetStackPosn(), 0);
    ar.PopIndent(); // already at level 0
    EXPECT_EQ(ar.GetTabs(), "\n");
    ar.PushIndent();
    EXPECT_EQ(ar.GetTabs(), "\n\t");
    ar.PopElement(false); // empty: only the level drops
    EXPECT_EQ(ar.GetTabs(), "\n");

    PCExBase copy(ar); // with a stack of its own
    copy.Push(pass.doc->documentElement());
    EXPECT_EQ(ar.GetStackPosn(), 0);
    copy.Construct(); // forgets context and level, keeps the stack
    EXPECT_EQ(copy.GetTabs(), "\n");
    EXPECT_EQ(copy.GetStackPosn(), 1);
}

TEST(XmlArchive, ValueTexts) {
    const double d[] = {1.0, 2.5, 0.1234567, 1e6, -0.0001};
    const int i[] = {-1, 0, 7};
    const float f[] = {0.5f, 0.1f};
    EXPECT_EQ(PCExBase::FormatData(d, 5), "1 2.5 0.123457 1e+06 -0.0001");
    EXPECT_EQ(PCExBase::FormatDataInt(i, 3), "-1 0 7");
    EXPECT_EQ(PCExBase::FormatDataFloat(f, 2), "0.5 0.1");
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
    EXPECT_EQ(std::vector<int>(ints, ints + 2), (std::vector<int>{4, 9}));
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
    EXPECT_FALSE(ar.ReadInt("Q", v));
    EXPECT_FALSE(ar.ReadInt("F", v));
    EXPECT_EQ(v, 2); // the first direct child, not the nested one; then left alone
    EXPECT_FALSE(ar.ReadBool("Missing", flag));
    EXPECT_FALSE(ar.PersistColor(rgb));
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

// Plain ASCII leaves are read in place; anything else through the general text; both the same.
TEST(XmlArchive, LeavesReadTheSameInPlaceOrThroughTheirText) {
    Pass pass(PC::eLoading, "<R><I> 7</I><M>1<X/>2</M><E/><U>5\xC3\xA9</U><C><![CDATA[8]]></C>"
                            "<L>1.5 2.5</L><T>6 x</T></R>");
    PCExBase& ar = pass.ar;
    int v = -1;
    EXPECT_TRUE(ar.ReadInt("I", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ar.ReadInt("M", v)); // the text of everything inside: "12"
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(ar.ReadInt("E", v));
    EXPECT_TRUE(ar.ReadInt("U", v)); // not ASCII: converted first, and read the same
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(ar.ReadInt("C", v));
    EXPECT_EQ(v, 8);
    EXPECT_EQ(ar.ReadItem("M"), "12");
    EXPECT_EQ(ar.ReadItem("E"), "");
    EXPECT_EQ(ar.ReadItem("T"), "6 x");
    double list[3] = {0, 0, 9};
    EXPECT_EQ(ar.ReadData("L", list, 3), 2u);
    EXPECT_EQ(std::vector<double>(list, list + 3), (std::vector<double>{1.5, 2.5, 9}));
    EXPECT_EQ(ar.ReadDataInt("T", &v, 1), 1u);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(ar.ReadData("*[6]", list, 1), 1u); // a pattern, not a name: the general way
    EXPECT_EQ(list[0], 1.5);
    try {
        PCExBase::ReadInt(pass.doc->documentElement(), nullptr, v);
        ADD_FAILURE() << "a null name is refused";
    } catch (const CComException& e) {
        EXPECT_EQ(e.Error(), E_INVALIDARG);
    }
}

// Stored, loaded into zeroed values and stored again, the document comes out the same.
TEST(XmlArchive, OneRoutineServesBothDirections) {
    struct Values {
        double d = 0;
        bool b = false;
        int ints[3] = {};
        float rgb[3] = {};
    };
    const auto persist = [](LONG direction, const char* xml, Values& v) {
        Pass pass(direction, xml, true);
        PCExBase& ar = pass.ar;
        EXPECT_NE(ar.PersistElement("P", true), nullptr);
        ar.PersistDouble("D", v.d);
        ar.PersistBool("B", v.b);
        ar.PersistDataInt("I", v.ints, 3);
        ar.PersistColor(v.rgb);
        ar.PopElement(false);
        return pass.doc->xml();
    };
    Values out{0.25, true, {3, -4, 5}, {1, 0.5f, 0}};
    Values in;
    const CString stored = persist(PC::eStoring, "<R/>", out);
    persist(PC::eLoading, stored, in);
    EXPECT_EQ(persist(PC::eStoring, "<R/>", in), stored);
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
