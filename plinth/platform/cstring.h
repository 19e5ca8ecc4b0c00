#pragma once

#include "plinth/platform/bstr.h"
#include "plinth/platform/export.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/types.h"

#include <cstdarg>
#include <string>

namespace plinth {

/// The framework's 8-bit string: characters of the process's character set, zero-based
/// indexes, -1 when a search finds nothing. Indexes outside the string raise
/// CInvalidArgException where the framework checks them; searches and cuts clamp instead.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CString {
public:
    CString() noexcept = default;
    CString(LPCSTR text); // NOLINT(google-explicit-constructor): texts convert freely
    CString(LPCSTR text, int length);
    explicit CString(char ch, int repeat = 1);
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR text);
    CString& operator=(char ch);

    CString& operator+=(const CString& text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);
    void Append(LPCSTR text, int length);

    int GetLength() const noexcept { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const noexcept { return m_str.empty(); }
    void Empty() noexcept;

    /// Index 0 .. length; the terminating zero may be read but not written.
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);

    LPCSTR GetString() const noexcept { return m_str.c_str(); }
    operator LPCSTR() const noexcept { return m_str.c_str(); } // NOLINT: framework conversion

    int Find(char ch, int start = 0) const noexcept;
    int Find(LPCSTR sub, int start = 0) const noexcept;
    int ReverseFind(char ch) const noexcept;
    int FindOneOf(LPCSTR set) const noexcept;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    /// Both return the new length.
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    int Compare(LPCSTR text) const noexcept;
    int CompareNoCase(LPCSTR text) const noexcept;

    void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCSTR format, va_list args) __attribute__((format(printf, 2, 0)));
    void AppendFormat(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));

    /// Direct access to the characters: the buffer holds at least minLength characters and
    /// a terminating zero. ReleaseBuffer sets the length (up to the first zero when -1).
    char* GetBuffer();
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    /// The text as a new OLE string of 16-bit characters (see MultiByteToWideChar), which the
    /// caller frees with SysFreeString. Raises CMemoryException when it cannot be allocated.
    BSTR AllocSysString() const;
    /// Frees *pbstr and stores AllocSysString() in its place; returns the new string. A null
    /// pbstr raises CInvalidArgException; on failure *pbstr is left as it was.
    BSTR SetSysString(BSTR* pbstr) const;

    friend bool operator==(const CString& a, const CString& b) noexcept {
        return a.m_str == b.m_str;
    }
    friend bool operator==(const CString& a, LPCSTR b) noexcept { return a.Compare(b) == 0; }
    friend bool operator==(LPCSTR a, const CString& b) noexcept { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) noexcept { return !(a == b); }
    friend bool operator!=(LPCSTR a, const CString& b) noexcept { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) noexcept { return a.m_str < b.m_str; }

    friend PLINTH_API CString operator+(const CString& a, const CString& b);
    friend PLINTH_API CString operator+(const CString& a, LPCSTR b);
    friend PLINTH_API CString operator+(LPCSTR a, const CString& b);
    friend PLINTH_API CString operator+(const CString& a, char b);
    friend PLINTH_API CString operator+(char a, const CString& b);

private:
    using Storage = std::basic_string<char, std::char_traits<char>, AfxAllocator<char>>;
    explicit CString(Storage&& str) noexcept
        : m_str(std::move(str)) {}

    Storage m_str;
};

} // namespace plinth
