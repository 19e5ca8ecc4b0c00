#include "plinth/containers/rt_string.h"

#include "plinth/platform/charset.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace plinth {

namespace {

// strchr also finds the terminating zero, which makes the end of a string a separator.
bool inSet(const char* set, char c) {
    return std::strchr(set, c) != nullptr;
}

std::string_view viewOf(const CString& s) {
    return {s.GetString(), static_cast<std::size_t>(s.GetLength())};
}

// True when the `length` characters at `at` stand alone between separators or string ends.
bool isWholeWord(const CString& s, int at, int length, const char* set) {
    const char* p = s.GetString();
    const int end = at + length;
    return (at == 0 || inSet(set, p[at - 1])) && (end == s.GetLength() || inSet(set, p[end]));
}

// The counting loop shared by both Count overloads; findFrom(i) gives the next hit at or
// after i, or -1.
template <class FindFrom>
int countHits(const CString& s, int from, int to, int step, FindFrom findFrom) {
    from = std::max(from, 0);
    if (to < 0) {
        to = s.GetLength() - 1;
    }
    int count = 0;
    for (int i = from; i <= to;) {
        const int hit = findFrom(i);
        if (hit < 0) {
            break;
        }
        ++count;
        i = hit + step;
    }
    return count;
}

// Last index of the cut that removes the phrase's second word standing at w; -1 when the
// second word does not stand there.
int phraseEnd(const CString& s, int w, const CString& second) {
    const char* seps = RtString::kPhraseSeparators;
    if (second.IsEmpty()) {
        const int next = RtString::Skip(s, w + 1, seps);
        return next < 0 ? s.GetLength() - 1 : next;
    }
    const int after = w + second.GetLength();
    if (after > s.GetLength() || std::memcmp(s.GetString() + w, second.GetString(),
                                             static_cast<std::size_t>(second.GetLength())) != 0) {
        return -1;
    }
    if (after < s.GetLength() && !inSet(seps, s.GetString()[after])) {
        return -1;
    }
    return after - 1;
}

} // namespace

RtString::~RtString() = default;

int RtString::Skip(const CString& s, int start, const char* set) {
    if (set == nullptr) {
        return 0;
    }
    if (start < 0) {
        AfxThrowInvalidArgException();
    }
    const char* p = s.GetString();
    for (int i = start; i < s.GetLength(); ++i) {
        if (!inSet(set, p[i])) {
            return i;
        }
    }
    return -1;
}

int RtString::SkipReverse(const CString& s, int start, const char* set) {
    if (set == nullptr) {
        return 0;
    }
    if (start < 0 || start >= s.GetLength()) {
        return -1;
    }
    const char* p = s.GetString();
    for (int i = start; i >= 0; --i) {
        if (!inSet(set, p[i])) {
            return i;
        }
    }
    return -1;
}

int RtString::FindOneOf(const CString& s, int start, const char* set) {
    if (set == nullptr || start < 0 || start > s.GetLength()) {
        return -1;
    }
    const char* p = s.GetString();
    for (int i = start; i < s.GetLength(); ++i) {
        if (inSet(set, p[i])) {
            return i;
        }
    }
    return -1;
}

int RtString::ReveseFindOneOf(const CString& s, int start, const char* set) {
    if (set == nullptr || start < 0) {
        return -1;
    }
    const char* p = s.GetString();
    for (int i = std::min(start, s.GetLength()); i >= 0; --i) {
        if (inSet(set, p[i])) {
            return i;
        }
    }
    return -1;
}

int RtString::ReverseFind(const CString& s, char c, int start) {
    if (start < 0) {
        return -1;
    }
    const char* p = s.GetString();
    for (int i = std::min(start, s.GetLength()); i >= 0; --i) {
        if (p[i] == c) {
            return i;
        }
    }
    return -1;
}

int RtString::ReverseFind(const CString& s, const CString& sub, int start) {
    if (start < 0 || sub.IsEmpty()) {
        return -1;
    }
    const std::size_t hit = viewOf(s).rfind(viewOf(sub), static_cast<std::size_t>(start));
    return hit == std::string_view::npos ? -1 : static_cast<int>(hit);
}

int RtString::Count(const CString& s, char c, int from, int to) {
    return countHits(s, from, to, 1, [&](int i) { return s.Find(c, i); });
}

int RtString::Count(const CString& s, const CString& sub, int from, int to) {
    if (sub.IsEmpty()) {
        return 0;
    }
    return countHits(s, from, to, sub.GetLength(), [&](int i) { return s.Find(sub, i); });
}

int RtString::Replace(CString& s, int from, int to, const CString& text) {
    if (from < 0 || to < 0 || to < from) {
        return 0;
    }
    const int before = s.GetLength();
    if (from < before) {
        s.Delete(from, std::min(to, before - 1) - from + 1);
    }
    s.Insert(from, text);
    return s.GetLength() - before;
}

int RtString::Replace(CString& s, int from, int to, const char* oldText, const char* newText) {
    if (oldText == nullptr || newText == nullptr || *oldText == '\0' || from < 0 || to < 0 ||
        to < from) {
        return 0;
    }
    // Copies, since either text may point into s.
    const CString target(oldText);
    const CString replacement(newText);
    int pos = from;
    long long window = static_cast<long long>(to) - from + 1;
    int count = 0;
    while (pos <= s.GetLength()) {
        const auto available = static_cast<long long>(s.GetLength() - pos);
        const std::string_view inWindow = viewOf(s).substr(
            static_cast<std::size_t>(pos), static_cast<std::size_t>(std::min(window, available)));
        const std::size_t offset = inWindow.find(viewOf(target));
        if (offset == std::string_view::npos) {
            break;
        }
        const int at = pos + static_cast<int>(offset);
        Replace(s, at, at + target.GetLength() - 1, replacement);
        pos = at + replacement.GetLength();
        window -= static_cast<long long>(offset) + target.GetLength();
        if (pos > to) {
            break; // compared with the caller's end, not the shifted one
        }
        ++count;
    }
    return count;
}

int RtString::FindWordSep(const CString& s, const char* word, const char* set, int* pos) {
    if (word == nullptr || *word == '\0' || set == nullptr || s.IsEmpty()) {
        return -1;
    }
    const int length = static_cast<int>(std::strlen(word));
    for (int hit = s.Find(word, pos == nullptr ? 0 : *pos); hit >= 0; hit = s.Find(word, hit + 1)) {
        if (isWholeWord(s, hit, length, set)) {
            if (pos != nullptr) {
                *pos = hit + length;
            }
            return hit;
        }
    }
    return -1;
}

int RtString::FindWordReverseSep(const CString& s, const CString& word, const char* set,
                                 int start) {
    if (s.IsEmpty() || set == nullptr) {
        return -1;
    }
    if (start < 0) {
        start = s.GetLength() - 1;
    }
    for (int hit = ReverseFind(s, word, start); hit >= 0; hit = ReverseFind(s, word, hit - 1)) {
        if (isWholeWord(s, hit, word.GetLength(), set)) {
            return hit;
        }
    }
    return -1;
}

int RtString::FindOneOf(const CString& s, const CStringArray& words, int start, int* which) {
    start = std::max(start, 0);
    int best = -1;
    INT_PTR bestWord = 0;
    for (INT_PTR k = 0; k < words.GetSize(); ++k) {
        const CString& word = words[k];
        if (word.IsEmpty()) {
            continue;
        }
        const int hit = s.Find(word, start);
        if (hit >= 0 && (best < 0 || hit < best)) {
            best = hit;
            bestWord = k;
        }
    }
    if (best >= 0 && which != nullptr) {
        *which = static_cast<int>(bestWord);
    }
    return best;
}

int RtString::FindClosing(const CString& s, int start, char open, char close) {
    const int first = s.Find(open, start);
    if (first < 0) {
        return -1;
    }
    const char* p = s.GetString();
    int depth = 0;
    for (int i = first + 1; i < s.GetLength(); ++i) {
        if (p[i] == open) {
            ++depth;
        } else if (p[i] == close) {
            if (depth == 0) {
                return i;
            }
            --depth;
        }
    }
    return -1;
}

int RtString::GetPrevWord(const CString& s, int start, const char* set, CString& word) {
    const int end = set == nullptr ? -1 : SkipReverse(s, start, set);
    if (end < 0) {
        word.Empty();
        return 0;
    }
    const int begin = ReveseFindOneOf(s, end, set) + 1;
    word = s.Mid(begin, end - begin + 1);
    return begin;
}

int RtString::GetNextWord(const CString& s, int start, const char* set, CString& word) {
    int begin = -1;
    if (set != nullptr && start >= 0 && start < s.GetLength()) {
        // Pass over the word under start, then the separators after it.
        const int gap = inSet(set, s.GetString()[start]) ? start : FindOneOf(s, start, set);
        begin = gap < 0 ? -1 : Skip(s, gap, set);
    }
    if (begin < 0) {
        word.Empty();
        return -1;
    }
    const int end = FindOneOf(s, begin, set);
    word = s.Mid(begin, (end < 0 ? s.GetLength() : end) - begin);
    return begin;
}

int RtString::ReplaceFrase(CString& s, const CString& first, const CString& second,
                           const CString& text, int start) {
    if (first.IsEmpty()) {
        return 0;
    }
    int count = 0;
    for (int f = s.Find(first, start); f >= 0;) {
        int next = f + 1;
        const int w = Skip(s, f + first.GetLength() + 1, kPhraseSeparators);
        const int last = w < 0 ? -1 : phraseEnd(s, w, second);
        if (last >= 0) {
            Replace(s, f, last, text);
            ++count;
            // Never search the inserted text, which may contain the phrase again.
            next = std::max(next, f + text.GetLength());
        }
        f = s.Find(first, next);
    }
    return count;
}

int RtString::FindFraseReverse(const CString& s, const CString& first, const CString& second,
                               int start) {
    if (first.IsEmpty() || s.IsEmpty()) {
        return -1;
    }
    if (start < 0) {
        start = s.GetLength() - 1;
    }
    CString word;
    // A second word at index 0 has no word before it, and searching again from -1 would
    // restart at the end.
    for (int p = FindWordReverseSep(s, second, kPhraseSeparators, start); p > 0;
         p = FindWordReverseSep(s, second, kPhraseSeparators, p - 1)) {
        const int begin = GetPrevWord(s, p - 1, kPhraseSeparators, word);
        if (word == first) {
            return begin;
        }
    }
    return -1;
}

CString RtString::BSTRtoCString(BSTR bstr) {
    CString text;
    if (bstr == nullptr) {
        return text;
    }
    // Sized by the conversion itself, so multibyte characters are never cut off.
    const int needed = WideCharToMultiByte(CP_ACP, 0, bstr, -1, nullptr, 0, nullptr, nullptr);
    if (needed > 0) {
        char* out = text.GetBufferSetLength(needed);
        WideCharToMultiByte(CP_ACP, 0, bstr, -1, out, needed, nullptr, nullptr);
        text.ReleaseBuffer(-1);
    }
    return text;
}

int rtToLower(char* text) {
    if (text == nullptr) {
        return 0;
    }
    std::size_t length = 0;
    for (; text[length] != '\0'; ++length) {
        const auto c = static_cast<unsigned char>(text[length]);
        if (std::isupper(c) != 0) {
            text[length] = static_cast<char>(c + 32);
        }
    }
    return static_cast<int>(length);
}

int rtlibReverseFind(const CString& s, const char* set) {
    if (s.IsEmpty()) {
        return -1;
    }
    return RtString::ReveseFindOneOf(s, s.GetLength() - 1, set);
}

} // namespace plinth
