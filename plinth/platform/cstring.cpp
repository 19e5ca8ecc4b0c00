#include "plinth/platform/cstring.h"

#include "plinth/platform/charset.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace plinth {

CString::CString(LPCSTR text) {
    if (text != nullptr) {
        m_str.assign(text);
    }
}

CString::CString(LPCSTR text, int length) {
    if (length < 0) {
        AfxThrowInvalidArgException();
    }
    if (length > 0) {
        if (text == nullptr) {
            AfxThrowInvalidArgException();
        }
        m_str.assign(text, static_cast<std::size_t>(length));
    }
}

CString::CString(char ch, int repeat) {
    if (repeat > 0) {
        m_str.assign(static_cast<std::size_t>(repeat), ch);
    }
}

CString& CString::operator=(LPCSTR text) {
    if (text == nullptr) {
        m_str.clear();
    } else {
        m_str.assign(text);
    }
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    if (text != nullptr) {
        m_str += text;
    }
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str += ch;
    return *this;
}

void CString::Append(LPCSTR text, int length) {
    if (length < 0 || (length > 0 && text == nullptr)) {
        AfxThrowInvalidArgException();
    }
    m_str.append(text, static_cast<std::size_t>(length));
}

void CString::Empty() noexcept {
    m_str.clear();
    m_str.shrink_to_fit();
}

char CString::GetAt(int index) const {
    if (index < 0 || index > GetLength()) {
        AfxThrowInvalidArgException();
    }
    return m_str.c_str()[index];
}

void CString::SetAt(int index, char ch) {
    if (index < 0 || index >= GetLength()) {
        AfxThrowInvalidArgException();
    }
    m_str[static_cast<std::size_t>(index)] = ch;
}

int CString::Find(char ch, int start) const noexcept {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    const auto pos = m_str.find(ch, static_cast<std::size_t>(start));
    return pos == Storage::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCSTR sub, int start) const noexcept {
    if (sub == nullptr || start < 0 || start > GetLength()) {
        return -1;
    }
    // Searches the text up to its first zero, as a C-string search would.
    const char* hit = std::strstr(m_str.c_str() + start, sub);
    return hit == nullptr ? -1 : static_cast<int>(hit - m_str.c_str());
}

int CString::ReverseFind(char ch) const noexcept {
    const char* hit = std::strrchr(m_str.c_str(), ch);
    return hit == nullptr ? -1 : static_cast<int>(hit - m_str.c_str());
}

int CString::FindOneOf(LPCSTR set) const noexcept {
    if (set == nullptr) {
        return -1;
    }
    const char* hit = std::strpbrk(m_str.c_str(), set);
    return hit == nullptr ? -1 : static_cast<int>(hit - m_str.c_str());
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength() - first);
}

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first > length) {
        return CString();
    }
    count = std::min(count, length - first);
    return CString(
        Storage(m_str, static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

int CString::Insert(int index, char ch) {
    index = std::clamp(index, 0, GetLength());
    m_str.insert(static_cast<std::size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, LPCSTR text) {
    index = std::clamp(index, 0, GetLength());
    if (text != nullptr) {
        m_str.insert(static_cast<std::size_t>(index), text);
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    const int length = GetLength();
    index = std::max(index, 0);
    count = std::max(count, 0);
    if (index < length && count > 0) {
        count = std::min(count, length - index);
        m_str.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    }
    return GetLength();
}

int CString::Compare(LPCSTR text) const noexcept {
    return std::strcmp(m_str.c_str(), text == nullptr ? "" : text);
}

int CString::CompareNoCase(LPCSTR text) const noexcept {
    return ::strcasecmp(m_str.c_str(), text == nullptr ? "" : text);
}

void CString::Format(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args) {
    m_str.clear();
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        AfxThrowInvalidArgException();
    }
    m_str.resize(static_cast<std::size_t>(needed));
    std::vsnprintf(m_str.data(), m_str.size() + 1, format, args);
}

void CString::AppendFormat(LPCSTR format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    *this += tail;
}

char* CString::GetBuffer() {
    return m_str.data();
}

char* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) {
        m_str.resize(static_cast<std::size_t>(minLength));
    }
    return m_str.data();
}

char* CString::GetBufferSetLength(int length) {
    if (length < 0) {
        AfxThrowInvalidArgException();
    }
    m_str.resize(static_cast<std::size_t>(length));
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        newLength = static_cast<int>(::strnlen(m_str.c_str(), m_str.size()));
    }
    if (newLength > GetLength()) {
        AfxThrowInvalidArgException();
    }
    m_str.resize(static_cast<std::size_t>(newLength));
}

BSTR CString::AllocSysString() const {
    if (m_str.size() > static_cast<std::size_t>(INT_MAX)) {
        AfxThrowMemoryException(); // the conversion counts in int: never cut the text
    }
    const int length = GetLength();
    const int units =
        length == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, m_str.data(), length, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result == nullptr) {
        AfxThrowMemoryException();
    }
    if (units > 0) {
        MultiByteToWideChar(CP_ACP, 0, m_str.data(), length, result, units);
    }
    return result;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
    if (pbstr == nullptr) {
        AfxThrowInvalidArgException();
    }
    BSTR result = AllocSysString();
    SysFreeString(*pbstr);
    *pbstr = result;
    return result;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(char a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

} // namespace plinth
