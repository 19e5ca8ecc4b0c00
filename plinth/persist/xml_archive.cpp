#include "plinth/persist/xml_archive.h"

#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"

#include <charconv>
#include <cstring>
#include <system_error>
#include <type_traits>

namespace plinth {

namespace {

// One number at text, after white space and an optional plus sign, in the C locale's form
// whatever the process's locale; value is set only when one starts there. Integers keep
// the low 32 bits of what they read, as the C library's "%d" does.
template <class T>
bool parseNumber(const char* text, const char* end, T& value) noexcept {
    while (text != end && (*text == ' ' || (*text >= '\t' && *text <= '\r'))) {
        ++text;
    }
    if (text != end && *text == '+' && text + 1 != end && text[1] != '-') {
        ++text;
    }
    std::conditional_t<std::is_integral_v<T>, long long, T> parsed{};
    if (std::from_chars(text, end, parsed).ec != std::errc()) {
        return false;
    }
    value = static_cast<T>(parsed);
    return true;
}

// The text of a leaf: node's first child element of that name (bySelect) or node itself,
// read in place where the document lends it, else copied. Empty when there is none.
class LeafText {
public:
    LeafText(const IXMLDOMNodePtr& node, const char* name, bool bySelect) {
        if (!bySelect) {
            m_copy = node->text();
        } else if (std::size_t length = 0; (m_text = node->childLeafText(name, length))) {
            m_end = m_text + length;
            return;
        } else if (const IXMLDOMNodePtr item = node->selectSingleNode(name)) {
            m_copy = item->text();
        }
        m_text = m_copy.GetString();
        m_end = m_text + m_copy.GetLength();
    }
    LeafText(const LeafText&) = delete;
    LeafText& operator=(const LeafText&) = delete;

    const char* begin() const noexcept { return m_text; }
    const char* end() const noexcept { return m_end; }

private:
    const char* m_text = nullptr;
    const char* m_end = nullptr;
    CString m_copy;
};

template <class T>
ULONG parseList(const LeafText& text, T* p, ULONG n) {
    if (p == nullptr || n == 0) {
        return 0;
    }
    const char* position = text.begin();
    const char* end = text.end();
    ULONG i = 0;
    while (parseNumber(position, end, p[i]) && ++i < n) {
        const char* space = std::strchr(position, ' ');
        if (space == nullptr) {
            break;
        }
        position = space + 1;
    }
    return i;
}

// The value's text at buffer (room for 32 characters); the end of it.
char* toChars(char* buffer, double value) {
    return std::to_chars(buffer, buffer + 32, value, std::chars_format::general, 6).ptr;
}
char* toChars(char* buffer, float value) {
    return toChars(buffer, static_cast<double>(value));
}
char* toChars(char* buffer, int value) {
    return std::to_chars(buffer, buffer + 32, value).ptr;
}

// The n values joined by single spaces, written through put(text, length).
template <class T, class Put>
void writeList(const T* p, ULONG n, Put put) {
    for (ULONG i = 0; i < n; ++i) {
        if (i > 0) {
            put(" ", 1);
        }
        char buffer[32];
        put(buffer, static_cast<int>(toChars(buffer, p[i]) - buffer));
    }
}

template <class T>
CString formatList(const T* p, ULONG n) {
    CString text;
    if (p != nullptr) {
        writeList(p, n, [&text](const char* s, int length) { text.Append(s, length); });
    }
    return text;
}

// Lists up to this long are written on the stack, without a string of their own.
constexpr ULONG kShortList = 4;

// ReadInt into v converted to its type (non-zero is true); v untouched when nothing was read.
template <class T>
bool readIntAs(const IXMLDOMNodePtr& node, const char* name, T& v) {
    int value = 0;
    if (!PCExBase::ReadInt(node, name, value)) {
        return false;
    }
    v = static_cast<T>(value);
    return true;
}

} // namespace

void PCExBase::Construct() noexcept {
    m_pPC = nullptr;
    m_bTabs = false;
    m_nTabs = 0;
}

const IXMLDOMNodePtr PCExBase::kNone;

IXMLDOMElementPtr PCExBase::GetCurElem() const {
    return IXMLDOMElementPtr(Current());
}

void PCExBase::PushIndent() noexcept {
    if (m_bTabs) {
        ++m_nTabs;
    }
}

void PCExBase::PopIndent() noexcept {
    if (m_bTabs && m_nTabs > 0) {
        --m_nTabs;
    }
}

CString PCExBase::GetTabs() const {
    CString tabs('\t', m_nTabs + 1);
    tabs.SetAt(0, '\n');
    return tabs;
}

// ---- Element stack and tree building

void PCExBase::Push(const IXMLDOMElementPtr& e) {
    Stack(e);
}

void PCExBase::Push(const IXMLDOMNodePtr& n) {
    if (n) {
        Stack(n);
    }
}

void PCExBase::Stack(const IXMLDOMNodePtr& n) {
    if (IsStoring() && m_bTabs) {
        ++m_nTabs;
    }
    m_elems.push_back(n);
}

void PCExBase::AddTabs(const IXMLDOMNodePtr& e) {
    if (m_bTabs && e) {
        RequireDocument();
        e->appendText(GetTabs());
    }
}

void PCExBase::AppendChild(const IXMLDOMNodePtr& n) {
    const IXMLDOMNodePtr& current = Current();
    if (current) {
        AddTabs(current);
        current->appendChild(n);
    }
}

void PCExBase::PushElement(const IXMLDOMElementPtr& e) {
    AppendChild(e);
    Push(e);
}

IXMLDOMElementPtr PCExBase::PushElement(const char* name) {
    IXMLDOMElementPtr e = NewElement(name, "");
    Push(e);
    return e;
}

IXMLDOMElementPtr PCExBase::NewElement(const char* name, const char* text) {
    // Made in place under the current element rather than created and then moved there.
    const IXMLDOMNodePtr& current = Current();
    RequireDocument();
    AddTabs(current);
    if (current) {
        return current->appendTextElement(name, text);
    }
    IXMLDOMElementPtr e = m_pDoc->createElement(name);
    e->put_text(text);
    return e;
}

void PCExBase::RequireDocument() const {
    if (!m_pDoc) {
        AfxThrowComException(E_POINTER);
    }
}

void PCExBase::PopElement(bool noTabs) {
    const bool storing = IsStoring();
    if (storing && m_bTabs && m_nTabs > 0) {
        --m_nTabs;
    }
    if (m_elems.empty()) {
        return;
    }
    if (!noTabs && storing) {
        AddTabs(m_elems.back());
    }
    m_elems.pop_back();
}

IXMLDOMElementPtr PCExBase::PersistElement(const char* name, bool bySelect) {
    if (IsStoring()) {
        return PushElement(name);
    }
    const IXMLDOMNodePtr& current = Current();
    if (!current) {
        return nullptr;
    }
    IXMLDOMElementPtr e(bySelect ? current->selectSingleNode(name) : current);
    if (e) {
        Push(e);
    }
    return e;
}

LONG PCExBase::GetChildElementCount(const IXMLDOMElementPtr& e) {
    LONG count = 0;
    if (e) {
        for (IXMLDOMNodePtr child = e->firstChild(); child; child = child->nextSibling()) {
            count += child->nodeType() == NODE_ELEMENT ? 1 : 0;
        }
    }
    return count;
}

// ---- Writing

IXMLDOMElementPtr PCExBase::PushString(const char* name, const CString& text) {
    return PushText(name, text);
}

IXMLDOMElementPtr PCExBase::PushText(const char* name, const char* text) {
    return NewElement(name, text); // a leaf is never current, so it is not stacked
}

IXMLDOMElementPtr PCExBase::PushInt(const char* name, int v) {
    char text[32];
    *toChars(text, v) = '\0';
    return PushText(name, text);
}

IXMLDOMElementPtr PCExBase::PushHex(const char* name, ULONG v) {
    CString text;
    text.Format("0x%08x", v);
    return PushString(name, text);
}

bool PCExBase::PushBool(const char* name, bool b) {
    return static_cast<bool>(PushInt(name, b ? 1 : 0));
}

template <class T>
IXMLDOMElementPtr PCExBase::PushList(const char* name, const T* p, ULONG n) {
    if (p == nullptr || n == 0) {
        return nullptr;
    }
    if (n > kShortList) {
        return PushString(name, formatList(p, n));
    }
    char text[kShortList * 33];
    char* end = text;
    writeList(p, n, [&end](const char* s, int length) {
        std::memcpy(end, s, static_cast<std::size_t>(length));
        end += length;
    });
    *end = '\0';
    return PushText(name, text);
}

IXMLDOMElementPtr PCExBase::PushData(const char* name, const double* p, ULONG n) {
    return PushList(name, p, n);
}

IXMLDOMElementPtr PCExBase::PushDataFloat(const char* name, const float* p, ULONG n) {
    return PushList(name, p, n);
}

IXMLDOMElementPtr PCExBase::PushDataInt(const char* name, const int* p, ULONG n) {
    return PushList(name, p, n);
}

CString PCExBase::FormatData(const double* p, ULONG n) {
    return formatList(p, n);
}

CString PCExBase::FormatDataFloat(const float* p, ULONG n) {
    return formatList(p, n);
}

CString PCExBase::FormatDataInt(const int* p, ULONG n) {
    return formatList(p, n);
}

// ---- Reading

CString PCExBase::ReadItem(const char* name, bool bySelect) const {
    const IXMLDOMNodePtr& current = Current();
    if (!current) {
        return CString();
    }
    const LeafText text(current, name, bySelect);
    return CString(text.begin(), static_cast<int>(text.end() - text.begin()));
}

template <class T>
ULONG PCExBase::ReadList(const char* name, T* p, ULONG n, bool bySelect) const {
    const IXMLDOMNodePtr& current = Current();
    if (p == nullptr || !current) {
        return 0;
    }
    return parseList(LeafText(current, name, bySelect), p, n);
}

ULONG PCExBase::ReadData(const char* name, double* p, ULONG n, bool bySelect) const {
    return ReadList(name, p, n, bySelect);
}

ULONG PCExBase::ReadDataFloat(const char* name, float* p, ULONG n, bool bySelect) const {
    return ReadList(name, p, n, bySelect);
}

ULONG PCExBase::ReadDataInt(const char* name, int* p, ULONG n, bool bySelect) const {
    return ReadList(name, p, n, bySelect);
}

ULONG PCExBase::ReadData(const IXMLDOMNodePtr& node, double* p, ULONG n) {
    return p == nullptr ? 0 : parseList(LeafText(node, nullptr, false), p, n);
}

bool PCExBase::ReadInt(const IXMLDOMNodePtr& node, const char* name, int& v) {
    const LeafText text(node, name, true);
    return parseNumber(text.begin(), text.end(), v);
}

bool PCExBase::ReadBool(const IXMLDOMNodePtr& node, const char* name, bool& b) {
    return readIntAs(node, name, b);
}

bool PCExBase::ReadBYTE(const IXMLDOMNodePtr& node, const char* name, BYTE& b) {
    return readIntAs(node, name, b);
}

bool PCExBase::ReadDWORD(const IXMLDOMNodePtr& node, const char* name, DWORD& v) {
    return readIntAs(node, name, v);
}

bool PCExBase::ReadInt(const char* name, int& v) const {
    const IXMLDOMNodePtr& current = Current();
    return current && ReadInt(current, name, v);
}

bool PCExBase::ReadBool(const char* name, bool& b) const {
    const IXMLDOMNodePtr& current = Current();
    return current && ReadBool(current, name, b);
}

// ---- Both directions

bool PCExBase::PersistData(const char* name, double* p, ULONG n, bool bySelect) {
    return IsStoring() ? static_cast<bool>(PushData(name, p, n))
                       : ReadData(name, p, n, bySelect) > 0;
}

bool PCExBase::PersistDataFloat(const char* name, float* p, ULONG n, bool bySelect) {
    return IsStoring() ? static_cast<bool>(PushDataFloat(name, p, n))
                       : ReadDataFloat(name, p, n, bySelect) > 0;
}

bool PCExBase::PersistDataInt(const char* name, int* p, ULONG n, bool bySelect) {
    return IsStoring() ? static_cast<bool>(PushDataInt(name, p, n))
                       : ReadDataInt(name, p, n, bySelect) > 0;
}

bool PCExBase::PersistDouble(const char* name, double& v) {
    return PersistData(name, &v, 1, true);
}

bool PCExBase::PersistBool(const char* name, bool& b) {
    return IsStoring() ? PushBool(name, b) : ReadBool(name, b);
}

bool PCExBase::PersistColor(float* rgb) {
    return PersistDataFloat("Co", rgb, 3, true);
}

} // namespace plinth
