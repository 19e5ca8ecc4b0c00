#include "plinth/platform/xmldom.h"

#include "plinth/platform/charset.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/hresult.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pugixml.hpp>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace plinth {

namespace {

// Loading keeps everything a saved document holds; line ends stay as they are, so that a
// carriage return stored in a text comes back.
constexpr unsigned kParseOptions = (pugi::parse_default & ~pugi::parse_eol) |
                                   pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi;

constexpr char32_t kHighSurrogate = 0xD800;
constexpr char32_t kLowSurrogate = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kReplacement = 0xFFFD;

[[noreturn]] void throwOutOfMemory() {
    AfxThrowComException(E_OUTOFMEMORY);
}

HRESULT statusFromErrno(int error) {
    return error == 0 ? E_FAIL : static_cast<HRESULT>(0x80070000u | (error & 0xFFFF));
}

// The high bit of each byte of a word.
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Whether the n bytes at text are all ASCII: whole words at a time up to the first that is
// not, the last one overlapping the one before, so that short texts take no loop over bytes.
bool isAscii(const char* text, std::size_t n) noexcept {
    std::uint64_t bits = 0;
    if (n >= sizeof bits) {
        std::uint64_t word = 0;
        for (std::size_t i = 0; i + sizeof word < n && (bits & kHighBits) == 0; i += sizeof word) {
            std::memcpy(&word, text + i, sizeof word);
            bits |= word;
        }
        std::memcpy(&word, text + n - sizeof word, sizeof word);
        bits |= word;
    } else if (n >= sizeof(std::uint32_t)) {
        std::uint32_t head = 0;
        std::uint32_t tail = 0;
        std::memcpy(&head, text, sizeof head);
        std::memcpy(&tail, text + n - sizeof tail, sizeof tail);
        bits = head | tail;
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            bits |= static_cast<unsigned char>(text[i]);
        }
    }
    return (bits & kHighBits) == 0;
}

// The length of a text of ASCII characters; npos when it holds another.
std::size_t asciiLength(const char* text) noexcept {
    const std::size_t n = std::strlen(text);
    return isAscii(text, n) ? n : std::string::npos;
}

bool isAscii(const char* text) noexcept {
    return asciiLength(text) != std::string::npos;
}

// A character that may start an XML name, or continue one; bytes of the process's character
// set above ASCII are taken as letters.
bool isNameStart(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}
bool isNameChar(unsigned char c) noexcept {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool isName(const char* text) noexcept {
    if (text == nullptr || !isNameStart(static_cast<unsigned char>(*text))) {
        return false;
    }
    while (*++text != '\0') {
        if (!isNameChar(static_cast<unsigned char>(*text))) {
            return false;
        }
    }
    return true;
}

const char* checkedName(const char* tagName) {
    if (!isName(tagName)) {
        AfxThrowComException(E_INVALIDARG, "XML: not a valid element name");
    }
    return tagName;
}

// A text's length as the int that conversions and CString take; longer texts are refused
// rather than cut.
int textLength(std::size_t length, HRESULT status) {
    if (length > static_cast<std::size_t>(INT_MAX)) {
        AfxThrowComException(status, "XML: a text of 2 GiB or more");
    }
    return static_cast<int>(length);
}

// Whether texts pass between the caller and the document unchanged: when they are ASCII, or
// when the process's character set is the document's UTF-8, so that bytes it cannot decode
// come back exactly as they went in. The text's own bytes are asked first, as that is cheaper.
bool passesUnchanged(const char* text, std::size_t length) {
    return isAscii(text, length) || GetACP() == CP_UTF8;
}

// 8-bit text of the process's character set as the document's UTF-8, through 16-bit units.
std::string toUtf8ByUnits(const char* text, int length) {
    const int count = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::u16string units(static_cast<std::size_t>(count), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, units.data(), count);
    std::wstring points;
    points.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= kHighSurrogate && u < kLowSurrogate && i + 1 < units.size() &&
            units[i + 1] >= kLowSurrogate && units[i + 1] < kSurrogateEnd) {
            u = kFirstSupplementary + ((u - kHighSurrogate) << 10) + (units[++i] - kLowSurrogate);
        } else if (u >= kLowSurrogate && u < kLowSurrogate + 0x100) {
            u -= kLowSurrogate; // a byte the character set cannot decode: read as Latin-1
        } else if (u >= kHighSurrogate && u < kSurrogateEnd) {
            u = kReplacement;
        }
        points.push_back(static_cast<wchar_t>(u));
    }
    return pugi::as_utf8(points);
}

// Which of the Latin-1 characters above ASCII the character set can represent, asked once
// per character and text.
class Latin1Representable {
public:
    bool operator()(char32_t cp) {
        Known& known = m_known[cp - 0x80];
        if (known == Known::unasked) {
            const auto unit = static_cast<char16_t>(cp);
            char bytes[8];
            BOOL usedDefault = 0;
            WideCharToMultiByte(CP_ACP, 0, &unit, 1, bytes, sizeof bytes, nullptr, &usedDefault);
            known = usedDefault == 0 ? Known::yes : Known::no;
        }
        return known == Known::yes;
    }

private:
    enum class Known : unsigned char { unasked, yes, no };
    std::array<Known, 0x80> m_known{};
};

// The document's UTF-8 as 8-bit text of the process's character set, through 16-bit units.
CString fromUtf8ByUnits(const char* text) {
    std::u16string units;
    try {
        const std::wstring points = pugi::as_wide(text);
        units.reserve(points.size());
        Latin1Representable representable;
        for (const wchar_t point : points) {
            const auto cp = static_cast<char32_t>(point);
            if (cp >= kFirstSupplementary) {
                units.push_back(
                    static_cast<char16_t>(kHighSurrogate + ((cp - kFirstSupplementary) >> 10)));
                units.push_back(static_cast<char16_t>(kLowSurrogate + (cp & 0x3FF)));
            } else if (cp >= 0x80 && cp < 0x100 && !representable(cp)) {
                units.push_back(static_cast<char16_t>(kLowSurrogate + cp)); // back to its byte
            } else {
                units.push_back(static_cast<char16_t>(cp));
            }
        }
    } catch (const std::bad_alloc&) {
        throwOutOfMemory();
    }
    CString result;
    const int size = textLength(units.size(), E_OUTOFMEMORY);
    const int needed =
        WideCharToMultiByte(CP_ACP, 0, units.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed > 0) {
        WideCharToMultiByte(CP_ACP, 0, units.data(), size, result.GetBufferSetLength(needed),
                            needed, nullptr, nullptr);
        result.ReleaseBuffer(needed);
    }
    return result;
}

// The length of the well-formed UTF-8 sequence of a character above ASCII at p (a
// zero-terminated text), or 0: no overlong forms, surrogates or values above U+10FFFF.
std::size_t wellFormedLength(const unsigned char* p) noexcept {
    const unsigned char lead = p[0];
    unsigned char low = 0x80; // the second byte's range
    unsigned char high = 0xBF;
    std::size_t size = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (p[1] < low || p[1] > high) {
        return 0;
    }
    for (std::size_t k = 2; k < size; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
    }
    return size;
}

// Whether the process's character set has one byte per character. Its conversions are then
// learnt from the conversions through 16-bit units, once per byte value on the way in and
// once per character on the way out, so that a long text converts in one pass and exactly as
// through 16-bit units.
bool isSingleByteCharset() noexcept {
    return MB_CUR_MAX == 1;
}

// Copies the ASCII that starts at text + i (of length bytes), in whole 8-byte words, to `to`
// and moves both on; false when there is none.
bool copyAscii(const char* text, std::size_t length, std::size_t& i, char*& to) noexcept {
    const std::size_t start = i;
    for (std::uint64_t word = 0; i + sizeof word <= length; i += sizeof word) {
        std::memcpy(&word, text + i, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
        std::memcpy(to, &word, sizeof word);
        to += sizeof word;
    }
    return i != start;
}

// 8-bit text of a single-byte character set as UTF-8.
class SingleByteToUtf8 {
public:
    SingleByteToUtf8() noexcept {
        for (std::size_t c = 0; c < 0x80; ++c) {
            m_size[c] = 1;
            m_utf8[c][0] = static_cast<char>(c);
        }
    }

    std::string Convert(const char* text, std::size_t length) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text);
        std::size_t size = 0;
        for (std::size_t i = 0; i < length; ++i) {
            size += m_size[bytes[i]] != 0 ? m_size[bytes[i]] : Learn(bytes[i]);
        }
        // Every character is written as four bytes, which the next one overwrites as needed.
        std::string out(size + 3, '\0');
        char* to = out.data();
        for (std::size_t i = 0; i < length;) {
            if (copyAscii(text, length, i, to)) {
                continue;
            }
            for (const std::size_t end = std::min(length, i + 8); i < end; ++i) {
                std::memcpy(to, m_utf8[bytes[i]].data(), 4);
                to += m_size[bytes[i]];
            }
        }
        out.resize(size);
        return out;
    }

private:
    std::uint8_t Learn(unsigned char c) {
        const char one = static_cast<char>(c);
        const std::string utf8 = toUtf8ByUnits(&one, 1); // one character: 1 to 4 bytes
        m_size[c] = static_cast<std::uint8_t>(utf8.copy(m_utf8[c].data(), m_utf8[c].size()));
        return m_size[c];
    }

    std::array<std::uint8_t, 0x100> m_size{}; // 0 until learnt
    std::array<std::array<char, 4>, 0x100> m_utf8{};
};

// Well-formed UTF-8 as 8-bit text of a single-byte character set.
class SingleByteFromUtf8 {
public:
    SingleByteFromUtf8() noexcept { m_twoByte.fill(kUnknown); }

    // length bytes of zero-terminated text; false when the text is not well-formed, which
    // only the conversion through 16-bit units reads as it should.
    bool Convert(const char* text, std::size_t length, CString& result) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text);
        char* to = result.GetBufferSetLength(textLength(length, E_OUTOFMEMORY));
        const char* start = to;
        for (std::size_t i = 0; i < length;) {
            if (copyAscii(text, length, i, to)) {
                continue;
            }
            for (const std::size_t end = std::min(length, i + 8); i < end;) {
                const unsigned char c = bytes[i];
                if (c < 0x80) {
                    *to++ = static_cast<char>(c);
                    ++i;
                } else if (isTwoByte(bytes + i)) {
                    do { // a run of them, as Latin-1 and most alphabets have
                        *to++ = TwoByte(bytes + i);
                        i += 2;
                    } while (isTwoByte(bytes + i));
                } else {
                    const std::size_t size = wellFormedLength(bytes + i);
                    if (size == 0) {
                        return false;
                    }
                    *to++ = Longer(bytes + i, size);
                    i += size;
                }
            }
        }
        result.ReleaseBuffer(static_cast<int>(to - start));
        return true;
    }

private:
    static constexpr short kUnknown = -1;

    struct Slot {
        std::uint32_t key = 0; // the sequence's bytes, 0 when empty
        char byte = 0;
    };

    // The byte for one well-formed sequence of `size` bytes.
    static char ByteFor(const unsigned char* p, std::size_t size) {
        char sequence[5] = {};
        std::copy_n(p, size, sequence);
        const CString byte = fromUtf8ByUnits(sequence); // one character: one byte
        return byte.GetLength() == 1 ? byte[0] : '?';
    }

    static bool isTwoByte(const unsigned char* p) noexcept {
        return p[0] >= 0xC2 && p[0] <= 0xDF && (p[1] & 0xC0) == 0x80;
    }

    char TwoByte(const unsigned char* p) {
        short& known = m_twoByte[((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu)];
        if (known == kUnknown) {
            known = static_cast<unsigned char>(ByteFor(p, 2));
        }
        return static_cast<char>(known);
    }

    // Three- and four-byte sequences, in a cache that keeps the last one of each slot.
    char Longer(const unsigned char* p, std::size_t size) {
        std::uint32_t key = 0;
        for (std::size_t k = 0; k < size; ++k) {
            key = (key << 8) | p[k];
        }
        Slot& slot = m_longer[(key ^ (key >> 9)) % m_longer.size()];
        if (slot.key != key) {
            slot.byte = ByteFor(p, size);
            slot.key = key;
        }
        return slot.byte;
    }

    std::array<short, 0x800> m_twoByte{}; // by the 11 bits that a two-byte sequence holds
    std::array<Slot, 512> m_longer{};
};

// 8-bit text of the process's character set as the document's UTF-8.
std::string toUtf8(const char* text) {
    const int length = textLength(std::strlen(text), E_INVALIDARG);
    if (isSingleByteCharset()) {
        return SingleByteToUtf8().Convert(text, static_cast<std::size_t>(length));
    }
    return toUtf8ByUnits(text, length);
}

// The document's UTF-8 as 8-bit text of the process's character set.
// length is that of the zero-terminated text, when known.
CString fromUtf8(const char* text, std::size_t length) {
    if (passesUnchanged(text, length)) {
        return CString(text, textLength(length, E_OUTOFMEMORY));
    }
    CString result;
    if (isSingleByteCharset() && SingleByteFromUtf8().Convert(text, length, result)) {
        return result;
    }
    return fromUtf8ByUnits(text);
}

CString fromUtf8(const char* text) {
    return fromUtf8(text, std::strlen(text));
}

// Text on its way into the document: the caller's own bytes when they are ASCII.
class DocumentText {
public:
    explicit DocumentText(const char* text)
        : m_text(text == nullptr ? "" : text)
        , m_size(std::strlen(m_text)) {
        if (!passesUnchanged(m_text, m_size)) {
            try {
                m_converted = toUtf8(m_text);
            } catch (const std::bad_alloc&) {
                throwOutOfMemory();
            }
            m_text = m_converted.c_str();
            m_size = m_converted.size();
        }
    }
    DocumentText(const DocumentText&) = delete;
    DocumentText& operator=(const DocumentText&) = delete;

    const char* c_str() const noexcept { return m_text; }
    std::size_t size() const noexcept { return m_size; }

private:
    const char* m_text;
    std::size_t m_size;
    std::string m_converted;
};

class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, std::size_t size) override {
        m_text.append(static_cast<const char*>(data), size);
    }
    const std::string& text() const noexcept { return m_text; }

private:
    std::string m_text;
};

// The mode that creating a file with 0666 gives under the process's umask, read without
// changing the umask where the system shows it; otherwise changed for a moment to owner-only,
// which can only narrow a file that another thread makes meanwhile.
mode_t newFileMode() {
    unsigned mask = 0;
    bool known = false;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        while (!known && std::fgets(line, sizeof line, status) != nullptr) {
            known = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(status);
    }
    if (!known) {
        mask = ::umask(077);
        ::umask(static_cast<mode_t>(mask));
    }
    return static_cast<mode_t>(0666 & ~mask);
}

// A new file written beside a target and renamed over it only once it is complete and on the
// disk, so that a failure at any step leaves the target as it was. Until then only its owner
// may read it; then it takes the target's permissions (and owner, where the process may give
// it away), or those of a new file. Whatever is not committed is removed.
class FileReplacement : public pugi::xml_writer {
public:
    explicit FileReplacement(const char* path)
        : m_path(path) {
        if (*path == '\0') {
            Fail(ENOENT); // and no file made in the working directory
        }
        char* resolved = ::realpath(path, nullptr); // a link goes on pointing at the new file
        try {
            m_target = resolved != nullptr ? resolved : path;
            m_temp = m_target + ".XXXXXX";
        } catch (const std::bad_alloc&) {
            std::free(resolved);
            throwOutOfMemory();
        }
        std::free(resolved);
        struct stat existing {};
        if (::stat(m_target.c_str(), &existing) == 0) {
            if (::access(m_target.c_str(), W_OK) != 0) {
                Fail(errno); // a protected file stays protected
            }
            m_existing = existing;
        }
        const int fd = ::mkstemp(m_temp.data());
        if (fd < 0) {
            Fail(errno);
        }
        m_file = ::fdopen(fd, "wb");
        if (m_file == nullptr) {
            const int error = errno;
            ::close(fd);
            ::unlink(m_temp.c_str());
            Fail(error);
        }
    }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
        if (!m_temp.empty()) {
            ::unlink(m_temp.c_str());
        }
    }

    void write(const void* data, std::size_t size) override {
        if (m_error == 0 && std::fwrite(data, 1, size, m_file) != size) {
            m_error = errno == 0 ? EIO : errno;
        }
    }

    // Puts the file in the target's place, or raises the status of the first failure.
    void Commit() {
        const int fd = ::fileno(m_file);
        if (m_error == 0 && std::fflush(m_file) != 0) {
            m_error = errno == 0 ? EIO : errno;
        }
        if (m_existing.st_nlink != 0) {
            static_cast<void>(::fchown(fd, m_existing.st_uid, m_existing.st_gid));
        }
        const mode_t mode = m_existing.st_nlink != 0 ? m_existing.st_mode & 07777 : newFileMode();
        if (m_error == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
            m_error = errno;
        }
        const int closed = std::fclose(std::exchange(m_file, nullptr));
        if (m_error == 0 && closed != 0) {
            m_error = errno == 0 ? EIO : errno;
        }
        if (m_error == 0 && ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
            m_error = errno;
        }
        if (m_error != 0) {
            Fail(m_error);
        }
        m_temp.clear();
    }

private:
    [[noreturn]] void Fail(int error) const {
        AfxThrowComException(statusFromErrno(error), m_path);
    }

    const char* m_path;
    std::string m_target;
    std::string m_temp; // empty once committed
    std::FILE* m_file = nullptr;
    struct stat m_existing {}; // the target's, when it exists (st_nlink is not 0 then)
    int m_error = 0;
};

} // namespace

// The nodes of one document. Nodes that belong to no tree wait as children of the "limbo"
// element, the last top-level node, which no query, walk or output ever shows.
class XMLTree {
public:
    static XMLTree* Create() { return Finish(Allocate()); }
    XMLTree(const XMLTree&) = delete;
    XMLTree& operator=(const XMLTree&) = delete;

    void AddRef() noexcept { ++m_refs; }
    void Release() noexcept {
        if (--m_refs == 0) {
            delete this;
        }
    }

    // Parses text into a new tree; nothing else changes on failure.
    static XMLTree* Parse(const void* text, std::size_t size, pugi::xml_encoding encoding) {
        XMLTree* tree = Allocate();
        CheckParse(tree, tree->m_doc.load_buffer(text, size, kParseOptions, encoding));
        return Finish(tree);
    }
    static XMLTree* ParseFile(const char* path) {
        struct stat status {};
        if (::stat(path, &status) == 0 && S_ISDIR(status.st_mode)) {
            // The parser would take the directory's size for a length and fail to allocate it.
            AfxThrowComException(statusFromErrno(EISDIR), path);
        }
        XMLTree* tree = Allocate();
        errno = 0;
        const pugi::xml_parse_result result = tree->m_doc.load_file(path, kParseOptions);
        if (result.status == pugi::status_file_not_found ||
            result.status == pugi::status_io_error) {
            const int error = errno;
            tree->Release();
            AfxThrowComException(statusFromErrno(error == 0 ? ENOENT : error), path);
        }
        CheckParse(tree, result);
        return Finish(tree);
    }

    // A node of a reference, or E_POINTER for a null one.
    static pugi::xml_node NodeOf(const IXMLDOMNodePtr& ref) {
        if (ref.m_node == nullptr) {
            AfxThrowComException(E_POINTER);
        }
        return pugi::xml_node(reinterpret_cast<pugi::xml_node_struct*>(ref.m_node));
    }

    // A new reference to a node, null for the limbo.
    template <class Ptr>
    Ptr Ref(pugi::xml_node node) {
        pugi::xml_node_struct* data = node.internal_object();
        if (data == nullptr || data == m_limboData) {
            return Ptr();
        }
        return Ptr(this, reinterpret_cast<XMLNodeData*>(data));
    }

    pugi::xml_node Root() const noexcept { return m_doc; }

    // A new element or text node at the end of parent's children, or detached for a null
    // parent. Appending to an element needs no move, which costs as much as the creation.
    pugi::xml_node NewNode(pugi::xml_node_type type, const char* content,
                           pugi::xml_node parent = pugi::xml_node()) {
        const bool direct = !parent || parent.type() == pugi::node_element;
        pugi::xml_node home = direct && parent ? parent : m_limbo;
        pugi::xml_node node = home.append_child(type);
        const bool named =
            node && (type == pugi::node_element ? node.set_name(content) : node.set_value(content));
        if (!named) {
            home.remove_child(node); // nobody refers to it yet
            throwOutOfMemory();
        }
        if (!direct) {
            Append(parent, node); // the document's rules, or E_INVALIDARG
        }
        return node;
    }

    // The node after this one among its parent's children, as the walks see it.
    pugi::xml_node NextSibling(pugi::xml_node node) const noexcept {
        if (node.parent() == m_limbo) {
            return pugi::xml_node(); // detached nodes have no siblings
        }
        return node.next_sibling();
    }

    pugi::xml_node DocumentElement() const noexcept {
        for (pugi::xml_node child = m_doc.first_child(); child != m_limbo;
             child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                return child;
            }
        }
        return pugi::xml_node();
    }

    void Append(pugi::xml_node parent, pugi::xml_node child) {
        pugi::xml_node moved;
        if (parent == m_doc) {
            const pugi::xml_node_type type = child.type();
            const pugi::xml_node element = DocumentElement();
            const bool allowed = type == pugi::node_comment || type == pugi::node_pi ||
                                 (type == pugi::node_element && (!element || element == child));
            if (allowed && child != m_limbo) {
                moved = m_doc.insert_move_before(child, m_limbo);
            }
        } else if (parent.type() == pugi::node_element && parent != m_limbo) {
            moved = parent.append_move(child);
        }
        if (!moved) {
            AfxThrowComException(E_INVALIDARG, "XML: the node cannot be appended there");
        }
    }

    // The detached nodes are left out.
    void Print(pugi::xml_node node, pugi::xml_writer& writer) const {
        if (node != m_doc) {
            node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
            return;
        }
        for (pugi::xml_node child = m_doc.first_child(); child != m_limbo;
             child = child.next_sibling()) {
            child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        }
    }

    // The text of the character nodes below node, in document order. Iterative, so that
    // a deeply nested document cannot exhaust the stack.
    void GatherText(pugi::xml_node node, std::string& out) const {
        pugi::xml_node n = node.first_child();
        while (n) {
            const pugi::xml_node_type type = n.type();
            if (type == pugi::node_pcdata || type == pugi::node_cdata) {
                out += n.value();
            }
            if (n.first_child() && n != m_limbo) {
                n = n.first_child();
                continue;
            }
            while (n != node && !n.next_sibling()) {
                n = n.parent();
            }
            n = n == node ? pugi::xml_node() : n.next_sibling();
        }
    }

    // The first node in document order that the query selects, leaving out the detached
    // nodes unless the query starts among them. The detached nodes come last in document
    // order, so when the first node is one of them no other node qualifies. The library
    // stops at the first match where the query allows and orders only a few candidates.
    pugi::xml_node Select(pugi::xml_node context, const char* query) const {
        const pugi::xml_node node = context.select_node(query).node();
        if (node == m_limbo || (IsDetached(node) && !IsDetached(context))) {
            return pugi::xml_node();
        }
        return node;
    }

    // Detaches the children of an element (references to them stay valid).
    void DetachChildren(pugi::xml_node node) {
        while (pugi::xml_node child = node.first_child()) {
            m_limbo.append_move(child);
        }
    }

private:
    XMLTree() = default;
    ~XMLTree() = default;

    bool IsDetached(pugi::xml_node node) const noexcept {
        for (; node; node = node.parent()) {
            if (node == m_limbo) {
                return true;
            }
        }
        return false;
    }

    static void CheckParse(XMLTree* tree, const pugi::xml_parse_result& result) {
        if (result && HasOneElementAtTop(tree->m_doc)) {
            return;
        }
        tree->Release();
        if (result.status == pugi::status_out_of_memory) {
            throwOutOfMemory();
        }
        CString description("XML: more than one top-level element, or text beside it");
        if (!result) {
            description.Format("XML: %s at offset %lld", result.description(),
                               static_cast<long long>(result.offset));
        }
        AfxThrowComException(XML_E_PARSEERROR, description);
    }
    // The parser accepts what a well-formed document cannot have at its top level.
    static bool HasOneElementAtTop(const pugi::xml_document& doc) noexcept {
        int elements = 0;
        for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                ++elements;
            } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                const char* text = child.value();
                if (text[std::strspn(text, " \t\r\n")] != '\0') {
                    return false;
                }
            }
        }
        return elements == 1;
    }
    static XMLTree* Allocate() {
        auto* tree = new (std::nothrow) XMLTree;
        if (tree == nullptr) {
            throwOutOfMemory();
        }
        return tree;
    }
    // The limbo goes last, after whatever was parsed.
    static XMLTree* Finish(XMLTree* tree) {
        tree->m_limbo = tree->m_doc.append_child(pugi::node_element);
        tree->m_limboData = tree->m_limbo.internal_object();
        if (tree->m_limboData == nullptr) {
            tree->Release();
            throwOutOfMemory();
        }
        return tree;
    }

    pugi::xml_document m_doc;
    pugi::xml_node m_limbo;
    pugi::xml_node_struct* m_limboData = nullptr; // compared without a call into the library
    ULONG m_refs = 1;
};

class XMLDocumentData {
public:
    explicit XMLDocumentData(XMLTree* tree) noexcept
        : m_tree(tree) {}
    ~XMLDocumentData() { m_tree->Release(); }
    XMLDocumentData(const XMLDocumentData&) = delete;
    XMLDocumentData& operator=(const XMLDocumentData&) = delete;

    XMLTree* Tree() const noexcept { return m_tree; }
    // References to the old nodes keep the old tree alive.
    void Replace(XMLTree* tree) noexcept {
        m_tree->Release();
        m_tree = tree;
    }

    ULONG m_refs = 1;

private:
    XMLTree* m_tree;
};

namespace {

XMLDocumentData* checked(XMLDocumentData* doc) {
    if (doc == nullptr) {
        AfxThrowComException(E_POINTER);
    }
    return doc;
}

} // namespace

// ---- IXMLDOMNodePtr

IXMLDOMNodePtr::IXMLDOMNodePtr(XMLTree* tree, XMLNodeData* node) noexcept
    : m_tree(tree)
    , m_node(node) {
    m_tree->AddRef();
}

IXMLDOMNodePtr::IXMLDOMNodePtr(const IXMLDOMNodePtr& other) noexcept
    : m_tree(other.m_tree)
    , m_node(other.m_node) {
    if (m_tree != nullptr) {
        m_tree->AddRef();
    }
}

IXMLDOMNodePtr& IXMLDOMNodePtr::operator=(const IXMLDOMNodePtr& other) noexcept {
    IXMLDOMNodePtr copy(other);
    std::swap(m_tree, copy.m_tree);
    std::swap(m_node, copy.m_node);
    return *this;
}

IXMLDOMNodePtr& IXMLDOMNodePtr::operator=(IXMLDOMNodePtr&& other) noexcept {
    IXMLDOMNodePtr moved(std::move(other));
    std::swap(m_tree, moved.m_tree);
    std::swap(m_node, moved.m_node);
    return *this;
}

void IXMLDOMNodePtr::Release() noexcept {
    if (m_tree != nullptr) {
        std::exchange(m_tree, nullptr)->Release();
        m_node = nullptr;
    }
}

DOMNodeType IXMLDOMNodePtr::nodeType() const {
    switch (XMLTree::NodeOf(*this).type()) {
    case pugi::node_element:
        return NODE_ELEMENT;
    case pugi::node_pcdata:
        return NODE_TEXT;
    case pugi::node_cdata:
        return NODE_CDATA_SECTION;
    case pugi::node_comment:
        return NODE_COMMENT;
    case pugi::node_pi:
    case pugi::node_declaration:
        return NODE_PROCESSING_INSTRUCTION;
    case pugi::node_document:
        return NODE_DOCUMENT;
    case pugi::node_doctype:
        return NODE_DOCUMENT_TYPE;
    default:
        return NODE_INVALID;
    }
}

CString IXMLDOMNodePtr::nodeName() const {
    const pugi::xml_node node = XMLTree::NodeOf(*this);
    switch (node.type()) {
    case pugi::node_pcdata:
        return "#text";
    case pugi::node_cdata:
        return "#cdata-section";
    case pugi::node_comment:
        return "#comment";
    case pugi::node_document:
        return "#document";
    default:
        return fromUtf8(node.name());
    }
}

CString IXMLDOMNodePtr::text() const {
    const pugi::xml_node node = XMLTree::NodeOf(*this);
    const pugi::xml_node_type type = node.type();
    if (type != pugi::node_element && type != pugi::node_document) {
        return fromUtf8(node.value());
    }
    const pugi::xml_node first = node.first_child();
    if (first.type() == pugi::node_pcdata && first.next_sibling().internal_object() == nullptr) {
        return fromUtf8(first.value()); // a leaf: nothing to gather
    }
    std::string gathered;
    try {
        m_tree->GatherText(node, gathered);
    } catch (const std::bad_alloc&) {
        throwOutOfMemory();
    }
    return fromUtf8(gathered.c_str(), gathered.size());
}

void IXMLDOMNodePtr::put_text(LPCSTR text) const {
    pugi::xml_node node = XMLTree::NodeOf(*this);
    const DocumentText value(text);
    bool done = false;
    switch (node.type()) {
    case pugi::node_element: {
        pugi::xml_node first = node.first_child();
        if (first.type() == pugi::node_pcdata && !first.next_sibling()) {
            done = first.set_value(value.c_str());
            break;
        }
        m_tree->DetachChildren(node);
        done =
            *value.c_str() == '\0' || node.append_child(pugi::node_pcdata).set_value(value.c_str());
        break;
    }
    case pugi::node_document:
        AfxThrowComException(E_INVALIDARG, "XML: a document has no text of its own");
    default:
        done = node.set_value(value.c_str());
        break;
    }
    if (!done) {
        throwOutOfMemory();
    }
}

IXMLDOMNodePtr IXMLDOMNodePtr::firstChild() const {
    return m_tree->Ref<IXMLDOMNodePtr>(XMLTree::NodeOf(*this).first_child());
}

IXMLDOMNodePtr IXMLDOMNodePtr::nextSibling() const {
    return m_tree->Ref<IXMLDOMNodePtr>(m_tree->NextSibling(XMLTree::NodeOf(*this)));
}

IXMLDOMNodePtr IXMLDOMNodePtr::appendChild(const IXMLDOMNodePtr& child) const {
    const pugi::xml_node parent = XMLTree::NodeOf(*this);
    const pugi::xml_node node = XMLTree::NodeOf(child);
    if (child.m_tree != m_tree) {
        AfxThrowComException(E_INVALIDARG, "XML: the node belongs to another document");
    }
    m_tree->Append(parent, node);
    return child;
}

IXMLDOMElementPtr IXMLDOMNodePtr::appendElement(LPCSTR tagName) const {
    const pugi::xml_node parent = XMLTree::NodeOf(*this);
    const DocumentText name(checkedName(tagName));
    return m_tree->Ref<IXMLDOMElementPtr>(
        m_tree->NewNode(pugi::node_element, name.c_str(), parent));
}

IXMLDOMElementPtr IXMLDOMNodePtr::appendTextElement(LPCSTR tagName, LPCSTR text) const {
    const pugi::xml_node parent = XMLTree::NodeOf(*this);
    const DocumentText name(checkedName(tagName));
    const DocumentText value(text);
    pugi::xml_node node = m_tree->NewNode(pugi::node_element, name.c_str(), parent);
    if (*value.c_str() != '\0' && !node.append_child(pugi::node_pcdata).set_value(value.c_str())) {
        throwOutOfMemory();
    }
    return m_tree->Ref<IXMLDOMElementPtr>(node);
}

IXMLDOMNodePtr IXMLDOMNodePtr::appendText(LPCSTR data) const {
    const pugi::xml_node parent = XMLTree::NodeOf(*this);
    const DocumentText value(data);
    return m_tree->Ref<IXMLDOMNodePtr>(m_tree->NewNode(pugi::node_pcdata, value.c_str(), parent));
}

IXMLDOMNodePtr IXMLDOMNodePtr::selectSingleNode(LPCSTR pattern) const {
    const pugi::xml_node node = XMLTree::NodeOf(*this);
    if (pattern == nullptr) {
        AfxThrowComException(E_INVALIDARG);
    }
    if (isName(pattern)) {
        // The common case, without the query engine.
        return m_tree->Ref<IXMLDOMNodePtr>(node.child(DocumentText(pattern).c_str()));
    }
    const DocumentText query(pattern);
    try {
        return m_tree->Ref<IXMLDOMNodePtr>(m_tree->Select(node, query.c_str()));
    } catch (const pugi::xpath_exception& e) {
        AfxThrowComException(E_INVALIDARG, e.what());
    } catch (const std::bad_alloc&) {
        throwOutOfMemory();
    }
}

CString IXMLDOMNodePtr::xml() const {
    const pugi::xml_node node = XMLTree::NodeOf(*this);
    StringWriter writer;
    try {
        m_tree->Print(node, writer);
    } catch (const std::bad_alloc&) {
        throwOutOfMemory();
    }
    return fromUtf8(writer.text().c_str(), writer.text().size());
}

LPCSTR IXMLDOMNodePtr::childLeafText(LPCSTR tagName, std::size_t& length) const {
    const pugi::xml_node node = XMLTree::NodeOf(*this);
    // No name is empty but the limbo's, which is left out.
    if (tagName == nullptr || *tagName == '\0' || !isAscii(tagName)) {
        return nullptr;
    }
    // The first child of that name; one that is not an element is left to the slow path.
    // Only elements have children, so a child with a first node of its own is one.
    const pugi::xml_node child = node.child(tagName);
    const pugi::xml_node first = child.first_child();
    switch (first.type()) {
    case pugi::node_null:
        if (child.type() != pugi::node_element) {
            return nullptr;
        }
        length = 0;
        return "";
    case pugi::node_pcdata:
        break;
    default:
        return nullptr;
    }
    if (first.next_sibling()) {
        return nullptr;
    }
    const char* text = first.value();
    length = asciiLength(text);
    return length == std::string::npos ? nullptr : text;
}

// ---- IXMLDOMElementPtr

IXMLDOMElementPtr::IXMLDOMElementPtr(const IXMLDOMNodePtr& node) noexcept
    : IXMLDOMNodePtr(node) {
    if (m_node != nullptr && XMLTree::NodeOf(*this).type() != pugi::node_element) {
        Release();
    }
}

// ---- IXMLDOMDocumentPtr

IXMLDOMDocumentPtr::IXMLDOMDocumentPtr(const IXMLDOMDocumentPtr& other) noexcept
    : m_doc(other.m_doc) {
    if (m_doc != nullptr) {
        ++m_doc->m_refs;
    }
}

IXMLDOMDocumentPtr& IXMLDOMDocumentPtr::operator=(const IXMLDOMDocumentPtr& other) noexcept {
    IXMLDOMDocumentPtr copy(other);
    std::swap(m_doc, copy.m_doc);
    return *this;
}

IXMLDOMDocumentPtr& IXMLDOMDocumentPtr::operator=(IXMLDOMDocumentPtr&& other) noexcept {
    IXMLDOMDocumentPtr moved(std::move(other));
    std::swap(m_doc, moved.m_doc);
    return *this;
}

HRESULT IXMLDOMDocumentPtr::CreateInstance() noexcept {
    Release();
    try {
        XMLTree* tree = XMLTree::Create();
        m_doc = new (std::nothrow) XMLDocumentData(tree);
        if (m_doc == nullptr) {
            tree->Release();
            return E_OUTOFMEMORY;
        }
    } catch (const CComException& e) {
        return e.Error();
    }
    return S_OK;
}

void IXMLDOMDocumentPtr::Release() noexcept {
    if (m_doc != nullptr && --m_doc->m_refs == 0) {
        delete m_doc;
    }
    m_doc = nullptr;
}

IXMLDOMElementPtr IXMLDOMDocumentPtr::createElement(LPCSTR tagName) const {
    XMLTree* tree = checked(m_doc)->Tree();
    const DocumentText name(checkedName(tagName));
    return tree->Ref<IXMLDOMElementPtr>(tree->NewNode(pugi::node_element, name.c_str()));
}

IXMLDOMNodePtr IXMLDOMDocumentPtr::createTextNode(LPCSTR data) const {
    XMLTree* tree = checked(m_doc)->Tree();
    const DocumentText value(data);
    return tree->Ref<IXMLDOMNodePtr>(tree->NewNode(pugi::node_pcdata, value.c_str()));
}

IXMLDOMNodePtr IXMLDOMDocumentPtr::documentNode() const {
    XMLTree* tree = checked(m_doc)->Tree();
    return tree->Ref<IXMLDOMNodePtr>(tree->Root());
}

IXMLDOMNodePtr IXMLDOMDocumentPtr::appendChild(const IXMLDOMNodePtr& child) const {
    return documentNode()->appendChild(child);
}

IXMLDOMElementPtr IXMLDOMDocumentPtr::documentElement() const {
    XMLTree* tree = checked(m_doc)->Tree();
    return tree->Ref<IXMLDOMElementPtr>(tree->DocumentElement());
}

IXMLDOMNodePtr IXMLDOMDocumentPtr::selectSingleNode(LPCSTR pattern) const {
    return documentNode()->selectSingleNode(pattern);
}

void IXMLDOMDocumentPtr::load(LPCSTR path) const {
    XMLDocumentData* doc = checked(m_doc);
    if (path == nullptr) {
        AfxThrowComException(E_INVALIDARG);
    }
    doc->Replace(XMLTree::ParseFile(path));
}

void IXMLDOMDocumentPtr::loadXML(LPCSTR text) const {
    XMLDocumentData* doc = checked(m_doc);
    const DocumentText utf8(text);
    doc->Replace(XMLTree::Parse(utf8.c_str(), utf8.size(), pugi::encoding_utf8));
}

void IXMLDOMDocumentPtr::save(LPCSTR path) const {
    XMLTree* tree = checked(m_doc)->Tree();
    if (path == nullptr) {
        AfxThrowComException(E_INVALIDARG);
    }
    FileReplacement file(path);
    tree->Print(tree->Root(), file);
    file.Commit();
}

CString IXMLDOMDocumentPtr::xml() const {
    return documentNode()->xml();
}

} // namespace plinth
