#pragma once

#include "plinth/persist/persist_context.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/types.h"
#include "plinth/platform/xmldom.h"

#include <vector>

namespace plinth {

/// The XML archive: writes values into a document or reads them back, as its context's
/// direction says (1 stores; Persist* operations load for any other value), so that one
/// PersistXML routine serves both directions.
///
/// Conventions: a value is a leaf element `<name>text</name>` under the current element (the
/// top of the element stack), never an attribute. Integers and booleans are decimal ("%d"),
/// arrays are their values joined by single spaces (doubles and floats as "%g", six
/// significant digits; numbers always use '.', whatever the locale), an empty array writes
/// nothing. Containers are pushed, filled and popped. Readers look for the first child of a
/// name among the direct children of the current element; a missing value or text that does
/// not parse leaves the caller's variable as it was.
///
/// Indentation (m_bTabs, while storing): before each child a text node of a line break and
/// one tab per open container is appended to the parent, and a container closed with
/// PopElement(false) gets the line break and the outer level's tabs before its closing tag.
///
/// The caller owns the document: it attaches the root element itself, pushes it with Push,
/// and loads or saves the document. Failures of the document (CComException) pass through,
/// leaving the document as far as it was built.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API PCExBase {
public:
    PCExBase() noexcept = default;
    PCExBase(PC* pc, const IXMLDOMDocumentPtr& doc) noexcept
        : m_pPC(pc)
        , m_pDoc(doc) {}
    /// A copy has its own stack, holding its own references to the same elements.
    PCExBase(const PCExBase& other) = default;
    PCExBase& operator=(const PCExBase& other) = default;
    ~PCExBase() = default;

    /// Forgets the context and resets the indentation; the document and stack stay.
    void Construct() noexcept;

    bool IsStoring() const noexcept {
        return m_pPC != nullptr && m_pPC->m_nDirection == PC::eStoring;
    }
    int GetStackPosn() const noexcept { return static_cast<int>(m_elems.size()); }
    /// The top of the stack as an element; null when the stack is empty or the top is not one.
    IXMLDOMElementPtr GetCurElem() const;

    /// One level more or less of indentation, in either direction, when it is on.
    void PushIndent() noexcept;
    void PopIndent() noexcept;
    /// A line break and one tab per level.
    CString GetTabs() const;
    void Pr() const noexcept {}

    // ---- Element stack and tree building

    /// Stacks e (also null) without attaching it; storing with indentation, one level more.
    void Push(const IXMLDOMElementPtr& e);
    /// The same for a node; null is ignored.
    void Push(const IXMLDOMNodePtr& n);
    /// With indentation on, appends the text of GetTabs() to e (not null).
    void AddTabs(const IXMLDOMNodePtr& e);
    /// Appends n (after the indentation) as the last child of the current element, if any.
    void AppendChild(const IXMLDOMNodePtr& n);
    /// Appends e and makes it current (a level deeper when storing with indentation).
    void PushElement(const IXMLDOMElementPtr& e);
    /// The same with a new element of that name, which it returns. With an empty stack the
    /// element is stacked but attached nowhere.
    IXMLDOMElementPtr PushElement(const char* name);
    /// Closes the current element: one level up, and unless noTabs, when storing, the
    /// indentation before its closing tag. With an empty stack only the level changes.
    void PopElement(bool noTabs = false);
    /// Storing: PushElement(name). Loading: the first child of that name (bySelect; any XPath
    /// pattern relative to the current element works) or the current element itself, made
    /// current when it exists; null and nothing stacked otherwise, so pop only after a result.
    IXMLDOMElementPtr PersistElement(const char* name, bool bySelect = true);
    /// Children of e that are elements; 0 for null.
    static LONG GetChildElementCount(const IXMLDOMElementPtr& e);

    // ---- Writing (in either direction); each returns the leaf element, null when none

    IXMLDOMElementPtr PushString(const char* name, const CString& text);
    IXMLDOMElementPtr PushInt(const char* name, int v);
    /// "0x%08x": lower-case digits, always eight.
    IXMLDOMElementPtr PushHex(const char* name, ULONG v);
    bool PushBool(const char* name, bool b);
    /// Nothing for a null or empty array.
    IXMLDOMElementPtr PushData(const char* name, const double* p, ULONG n);
    IXMLDOMElementPtr PushDataFloat(const char* name, const float* p, ULONG n);
    IXMLDOMElementPtr PushDataInt(const char* name, const int* p, ULONG n);

    /// The n values joined by single spaces ("%g", floats widened, or "%d"); empty for null
    /// or n = 0.
    static CString FormatData(const double* p, ULONG n);
    static CString FormatDataFloat(const float* p, ULONG n);
    static CString FormatDataInt(const int* p, ULONG n);

    // ---- Reading

    /// The text of the current element's first child of that name (bySelect) or of the
    /// current element itself; empty when there is none.
    CString ReadItem(const char* name, bool bySelect = true) const;

    /// Number lists are read into at most n slots: a value is parsed at the position, then
    /// the position moves past the next space (only spaces separate, so a second space makes
    /// the following value be read twice). Slots after the last value keep their contents.
    /// The result is the number of slots written; nothing for a null p.
    ULONG ReadData(const char* name, double* p, ULONG n, bool bySelect = true) const;
    ULONG ReadDataFloat(const char* name, float* p, ULONG n, bool bySelect = true) const;
    ULONG ReadDataInt(const char* name, int* p, ULONG n, bool bySelect = true) const;
    /// The same on the text of node itself.
    static ULONG ReadData(const IXMLDOMNodePtr& node, double* p, ULONG n);

    /// The first child of that name of node, read as one signed decimal integer: true and v
    /// set, or false and v untouched when the child is missing or its text does not start
    /// with an integer. A null node raises E_POINTER.
    static bool ReadInt(const IXMLDOMNodePtr& node, const char* name, int& v);
    static bool ReadBool(const IXMLDOMNodePtr& node, const char* name, bool& b);
    /// The low 8 bits.
    static bool ReadBYTE(const IXMLDOMNodePtr& node, const char* name, BYTE& b);
    /// The 32 bits of the signed value, so "0x000000ff" reads as 0.
    static bool ReadDWORD(const IXMLDOMNodePtr& node, const char* name, DWORD& v);
    /// On the current element; false when there is none.
    bool ReadInt(const char* name, int& v) const;
    bool ReadBool(const char* name, bool& b) const;

    // ---- Both directions: true when a value was written or read

    bool PersistData(const char* name, double* p, ULONG n, bool bySelect = true);
    bool PersistDataFloat(const char* name, float* p, ULONG n, bool bySelect = true);
    bool PersistDataInt(const char* name, int* p, ULONG n, bool bySelect = true);
    bool PersistDouble(const char* name, double& v);
    bool PersistBool(const char* name, bool& b);
    /// Red, green and blue under "Co".
    bool PersistColor(float* rgb);

    PC* m_pPC = nullptr; ///< not owned
    IXMLDOMDocumentPtr m_pDoc;
    bool m_bTabs = false;

private:
    /// The top of the stack; null when it is empty.
    const IXMLDOMNodePtr& Current() const noexcept {
        return m_elems.empty() ? kNone : m_elems.back();
    }
    void Stack(const IXMLDOMNodePtr& n);
    /// A new element holding text under the current one, after the indentation, not stacked.
    IXMLDOMElementPtr NewElement(const char* name, const char* text);
    /// PushString and its kin: a leaf of that text, or of the n values.
    IXMLDOMElementPtr PushText(const char* name, const char* text);
    template <class T>
    IXMLDOMElementPtr PushList(const char* name, const T* p, ULONG n);
    /// ReadData and its kin: the leaf's numbers into p.
    template <class T>
    ULONG ReadList(const char* name, T* p, ULONG n, bool bySelect) const;
    /// E_POINTER without a document to make nodes with.
    void RequireDocument() const;

    static const IXMLDOMNodePtr kNone;

    WORD m_nTabs = 0;
    std::vector<IXMLDOMNodePtr, AfxAllocator<IXMLDOMNodePtr>> m_elems;
};

} // namespace plinth
