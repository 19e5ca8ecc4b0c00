#pragma once

#include "plinth/platform/bstr.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

class CStringArray;

/// Searches, counts, cuts and replacements of words and phrases in a CString, in place.
///
/// Indexes are zero-based; -1 means nothing was found. A "set" is a zero-terminated list of
/// separator characters; the zero character belongs to every set, so the end of a string
/// counts as a separator. Empty words and phrases are never found.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RtString {
public:
    /// Used where an operation names no separators: space, `\n`, `\t`, `\r` and `[ ] { } * + \ / (
    /// ) ~ , " ' : ;`
    static constexpr const char* kWordSeparators = " \n\t\r[]{}*+\\/()~,\"':;";
    /// Between the two words of a phrase.
    static constexpr const char* kPhraseSeparators = " ,.;\t\n\r";

    RtString() noexcept = default;
    RtString(const RtString&) noexcept = default;
    RtString& operator=(const RtString&) noexcept = default;
    virtual ~RtString();

    // ---- Characters and sets

    /// First index at or after start whose character is not in the set; -1 when start is at
    /// or past the end or only set members follow; 0 for a null set. A negative start raises
    /// CInvalidArgException.
    static int Skip(const CString& s, int start, const char* set);
    /// Last index at or before start whose character is not in the set; -1 when start is
    /// outside the string or there is none; 0 for a null set.
    static int SkipReverse(const CString& s, int start, const char* set);
    /// First index at or after start whose character is in the set; -1 when there is none,
    /// the set is null or start lies outside 0 .. length.
    static int FindOneOf(const CString& s, int start, const char* set);
    /// Last index at or before min(start, length) whose character is in the set: a start at
    /// or past the end gives the length (the terminating zero). -1 for none, a negative start
    /// or a null set.
    static int ReveseFindOneOf(const CString& s, int start, const char* set);

    /// Last index at or before min(start, length) holding c; -1 for none or a negative start.
    static int ReverseFind(const CString& s, char c, int start);
    /// Start of the last occurrence of sub that begins at or before start (clamped to the
    /// length); -1 for none, an empty sub or a negative start.
    static int ReverseFind(const CString& s, const CString& sub, int start);

    /// Occurrences counted from `from` (negative: 0) while the search starts at or before
    /// `to` (negative: length - 1). A search that starts at or before `to` counts what it
    /// finds even beyond `to`. Substrings are counted without overlap; an empty one gives 0.
    static int Count(const CString& s, char c, int from, int to);
    static int Count(const CString& s, const CString& sub, int from, int to);

    // ---- Replacement

    /// Replaces the characters from .. to (inclusive, cut at the end of the string) by text;
    /// a from past the end appends. Returns the change of length; 0 and no change when from
    /// or to is negative or to < from.
    static int Replace(CString& s, int from, int to, const CString& text);
    /// Replaces the occurrences of oldText that lie wholly inside from .. to (a window whose
    /// end follows the changes of length) by newText. The scan stops once the index just
    /// after a replacement exceeds the `to` given; that last replacement is made but not
    /// counted. Returns the count; 0 and no change for null texts, an empty oldText or a bad
    /// range.
    static int Replace(CString& s, int from, int to, const char* oldText, const char* newText);

    // ---- Whole words

    /// First whole-word occurrence of word at or after *pos (0 when pos is null): at the start
    /// or after a separator, and at the end or before one. Returns its start and sets *pos just
    /// after it; on failure returns -1 and leaves *pos alone. -1 for an empty s, or a null or
    /// empty word or set.
    static int FindWordSep(const CString& s, const char* word, const char* set, int* pos = nullptr);
    static int FindWordRef(const CString& s, const char* word, int* pos = nullptr) {
        return FindWordSep(s, word, kWordSeparators, pos);
    }
    static int FindWord(const CString& s, const char* word, int start = 0) {
        return FindWordRef(s, word, &start);
    }
    /// Last whole-word occurrence that begins at or before start (negative: length - 1).
    static int FindWordReverseSep(const CString& s, const CString& word, const char* set,
                                  int start);
    static int FindWordReverse(const CString& s, const CString& word, int start) {
        return FindWordReverseSep(s, word, kWordSeparators, start);
    }

    /// Earliest index at or after start (negative: 0) where one of the non-empty words occurs;
    /// on a tie the word listed first wins. *which (if given) receives that word's index and
    /// is left alone when nothing is found.
    static int FindOneOf(const CString& s, const CStringArray& words, int start,
                         int* which = nullptr);

    /// Index of the `close` that balances the first `open` at or after start; -1 when there
    /// is no such `open` or the string ends first.
    static int FindClosing(const CString& s, int start, char open, char close);

    /// The word that ends at the last non-separator at or before start; returns its start.
    /// With no word there, word is emptied and the result is 0.
    static int GetPrevWord(const CString& s, int start, const char* set, CString& word);
    /// The first word that begins after the word (or separators) under start; returns its
    /// start. -1 with word emptied when start lies outside the string, the set is null or no
    /// word follows.
    static int GetNextWord(const CString& s, int start, const char* set, CString& word);

    // ---- Two-word phrases, separated by kPhraseSeparators

    /// Replaces each phrase `first second` found at or after start by text; returns the
    /// count. After first, one character is passed over unchecked and the separators that
    /// follow are skipped to w; second must stand at w and end before a separator or the end.
    /// The search goes on after the inserted text. With an empty second, the cut runs from
    /// first up to and including the first non-separator at or after w + 1 (or to the end).
    static int ReplaceFrase(CString& s, const CString& first, const CString& second,
                            const CString& text, int start);
    /// Start of the last phrase `first second` whose second word begins at or before start
    /// (negative: length - 1); -1 for none or an empty word.
    static int FindFraseReverse(const CString& s, const CString& first, const CString& second,
                                int start);

    // ---- OLE strings

    /// The OLE string in the process's character set, up to its first zero character;
    /// empty for a null string.
    static CString BSTRtoCString(BSTR bstr);
};

/// The string's own characters, writable, at its current length.
inline char* rtGetBuff(CString& s) {
    return s.GetBuffer();
}

/// Lowers in place every character that the current locale classes as upper case, by adding
/// 32. Returns the text's length; 0 for null.
PLINTH_API int rtToLower(char* text);

/// Last index of a character of s that is in the set; -1 for none, an empty s or a null set.
PLINTH_API int rtlibReverseFind(const CString& s, const char* set);

} // namespace plinth
