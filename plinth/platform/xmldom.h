#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

#include <cstddef>
#include <utility>

namespace plinth {

// XML documents: trees of nodes that are built, queried, loaded and saved through
// reference-counting smart pointers. A node reference keeps the nodes of its document alive,
// so it stays usable after every document pointer is gone or the document has loaded other
// text. DOM calls read `p->name(...)` as with the platform's smart pointers (`p.name(...)` is
// the same call). Nodes are never destroyed while their document lives: a node that leaves
// the tree waits, detached, until it is appended again.
//
// Failures raise CComException (com_exception.h) with a status: E_POINTER for a call through
// a null pointer or a null node argument, E_INVALIDARG for a bad name or pattern or a node
// that cannot go where it is appended, E_OUTOFMEMORY when the document cannot grow,
// XML_E_PARSEERROR for text that is not well-formed XML, and 0x8007xxxx with the operating
// system's error number when a file cannot be read or written. Out of memory, a caller can
// receive either: E_OUTOFMEMORY when the document or a conversion cannot grow, and
// CMemoryException when a CString that a call returns cannot be allocated.
//
// Text: a document holds Unicode and is saved as UTF-8 without a declaration. The 8-bit
// texts given and returned here (names, contents, markup) are in the process's character
// set. In a UTF-8 set they pass unchanged, bytes that it cannot decode included (a saved
// document then holds them as they are). In any other set a byte that the set cannot decode
// stands for the Latin-1 character of that value; on the way back a character that the set
// cannot represent but Latin-1 can becomes that byte again. So every 8-bit text survives a
// round trip in UTF-8 and in a single-byte set (the "C" locale included), and every valid
// text in another multibyte one. A text of 2 GiB or more raises E_INVALIDARG on its way in
// and E_OUTOFMEMORY on its way out, as CString holds less.
// Threads: a document and all references to its nodes are used by one thread at a time; distinct
// documents are independent.

/// Status of document text that is not well-formed XML.
inline constexpr HRESULT XML_E_PARSEERROR = static_cast<HRESULT>(0x80040201u);

enum DOMNodeType {
    NODE_INVALID = 0,
    NODE_ELEMENT = 1,
    NODE_ATTRIBUTE = 2,
    NODE_TEXT = 3,
    NODE_CDATA_SECTION = 4,
    NODE_ENTITY_REFERENCE = 5,
    NODE_ENTITY = 6,
    NODE_PROCESSING_INSTRUCTION = 7,
    NODE_COMMENT = 8,
    NODE_DOCUMENT = 9,
    NODE_DOCUMENT_TYPE = 10,
    NODE_DOCUMENT_FRAGMENT = 11,
    NODE_NOTATION = 12,
};

class XMLTree;         ///< the nodes of one document
class XMLDocumentData; ///< a document: the tree it currently holds
struct XMLNodeData;    ///< one node of a tree
class IXMLDOMElementPtr;

/// A reference to a node of a document, or null.
class PLINTH_API IXMLDOMNodePtr {
public:
    IXMLDOMNodePtr() noexcept = default;
    IXMLDOMNodePtr(std::nullptr_t) noexcept {} // NOLINT(google-explicit-constructor)
    IXMLDOMNodePtr(const IXMLDOMNodePtr& other) noexcept;
    IXMLDOMNodePtr(IXMLDOMNodePtr&& other) noexcept
        : m_tree(std::exchange(other.m_tree, nullptr))
        , m_node(std::exchange(other.m_node, nullptr)) {}
    IXMLDOMNodePtr& operator=(const IXMLDOMNodePtr& other) noexcept;
    IXMLDOMNodePtr& operator=(IXMLDOMNodePtr&& other) noexcept;
    ~IXMLDOMNodePtr() { Release(); }

    /// Drops the reference; the pointer becomes null.
    void Release() noexcept;

    explicit operator bool() const noexcept { return m_node != nullptr; }
    const IXMLDOMNodePtr* operator->() const noexcept { return this; }
    /// The same node (or both null).
    friend bool operator==(const IXMLDOMNodePtr& a, const IXMLDOMNodePtr& b) noexcept {
        return a.m_node == b.m_node;
    }
    friend bool operator!=(const IXMLDOMNodePtr& a, const IXMLDOMNodePtr& b) noexcept {
        return a.m_node != b.m_node;
    }

    DOMNodeType nodeType() const;
    /// The tag name of an element; "#text", "#comment", "#cdata-section" or "#document" for
    /// those kinds of node; the target of a processing instruction.
    CString nodeName() const;
    /// The text of the node and of all its descendants, in document order.
    CString text() const;
    /// Sets the text of a character node, or replaces the children of an element by one text
    /// node (none for an empty text). Null is the empty text.
    void put_text(LPCSTR text) const;

    IXMLDOMNodePtr firstChild() const;
    IXMLDOMNodePtr nextSibling() const;
    /// Moves child (from wherever it is in the same document) to the end of this node's
    /// children and returns it. Elements take any node but a document or an ancestor of
    /// themselves; a document takes one element besides comments and processing instructions.
    IXMLDOMNodePtr appendChild(const IXMLDOMNodePtr& child) const;
    /// A new element or text node appended to this node: the same as creating it with the
    /// document and appending it, only faster.
    IXMLDOMElementPtr appendElement(LPCSTR tagName) const;
    IXMLDOMNodePtr appendText(LPCSTR data) const;
    /// A new element holding text (nothing for an empty text) appended to this node: the same
    /// as appendElement and then put_text, only faster.
    IXMLDOMElementPtr appendTextElement(LPCSTR tagName, LPCSTR text) const;
    /// The first node in document order that the XPath pattern selects relative to this node;
    /// null when there is none or it is an attribute. A plain tag name selects the first child
    /// element of that name.
    IXMLDOMNodePtr selectSingleNode(LPCSTR pattern) const;
    /// The node and its descendants as markup, exactly as they are (nothing is added).
    CString xml() const;
    /// The text of this node's first child element named tagName, and its length, when that
    /// child holds nothing but one text of ASCII characters (or nothing): the document's own
    /// characters, valid until it changes. Null otherwise, and then
    /// selectSingleNode(tagName)->text() gives the answer; this is only the faster way for the
    /// common case.
    LPCSTR childLeafText(LPCSTR tagName, std::size_t& length) const;

protected:
    IXMLDOMNodePtr(XMLTree* tree, XMLNodeData* node) noexcept; ///< a new reference

    XMLTree* m_tree = nullptr;
    XMLNodeData* m_node = nullptr;

    friend class XMLTree;
};

/// A reference to an element, or null.
class PLINTH_API IXMLDOMElementPtr : public IXMLDOMNodePtr {
public:
    IXMLDOMElementPtr() noexcept = default;
    IXMLDOMElementPtr(std::nullptr_t) noexcept {} // NOLINT(google-explicit-constructor)
    /// The node as an element; null when it is not one.
    explicit IXMLDOMElementPtr(const IXMLDOMNodePtr& node) noexcept;

    const IXMLDOMElementPtr* operator->() const noexcept { return this; }

private:
    using IXMLDOMNodePtr::IXMLDOMNodePtr;
    friend class XMLTree;
};

/// A reference to a document, or null.
class PLINTH_API IXMLDOMDocumentPtr {
public:
    IXMLDOMDocumentPtr() noexcept = default;
    IXMLDOMDocumentPtr(std::nullptr_t) noexcept {} // NOLINT(google-explicit-constructor)
    IXMLDOMDocumentPtr(const IXMLDOMDocumentPtr& other) noexcept;
    IXMLDOMDocumentPtr(IXMLDOMDocumentPtr&& other) noexcept
        : m_doc(std::exchange(other.m_doc, nullptr)) {}
    IXMLDOMDocumentPtr& operator=(const IXMLDOMDocumentPtr& other) noexcept;
    IXMLDOMDocumentPtr& operator=(IXMLDOMDocumentPtr&& other) noexcept;
    ~IXMLDOMDocumentPtr() { Release(); }

    /// Refers this pointer to a new empty document: S_OK, or E_OUTOFMEMORY (the pointer is
    /// then null).
    HRESULT CreateInstance() noexcept;
    void Release() noexcept;

    explicit operator bool() const noexcept { return m_doc != nullptr; }
    const IXMLDOMDocumentPtr* operator->() const noexcept { return this; }
    friend bool operator==(const IXMLDOMDocumentPtr& a, const IXMLDOMDocumentPtr& b) noexcept {
        return a.m_doc == b.m_doc;
    }
    friend bool operator!=(const IXMLDOMDocumentPtr& a, const IXMLDOMDocumentPtr& b) noexcept {
        return a.m_doc != b.m_doc;
    }

    /// New nodes belong to the document but to no tree until they are appended.
    IXMLDOMElementPtr createElement(LPCSTR tagName) const;
    IXMLDOMNodePtr createTextNode(LPCSTR data) const;

    /// The document's own node, parent of its top-level nodes.
    IXMLDOMNodePtr documentNode() const;
    /// Attaches a top-level node, as documentNode()->appendChild(child).
    IXMLDOMNodePtr appendChild(const IXMLDOMNodePtr& child) const;
    /// The top-level element, or null.
    IXMLDOMElementPtr documentElement() const;
    IXMLDOMNodePtr selectSingleNode(LPCSTR pattern) const;

    /// Replace the document's contents by the parsed text of a file (in any encoding that its
    /// declaration or byte order mark names, UTF-8 otherwise) or of an 8-bit string. White
    /// space, comments and processing instructions are kept; line ends are kept as they are.
    /// On failure the document is left as it was.
    void load(LPCSTR path) const;
    void loadXML(LPCSTR text) const;
    /// Writes the document as UTF-8, exactly as it is, into a new file beside the target that
    /// replaces it once complete (keeping an existing file's permissions), so that a failed
    /// save leaves the old file as it was. A target that this process may not write stays.
    void save(LPCSTR path) const;
    CString xml() const;

private:
    XMLDocumentData* m_doc = nullptr;
};

} // namespace plinth
