// Text: words in a string, hexadecimal round trips and bit arrays.
#include "sections.h"

#include "plinth/containers/bit_array.h"
#include "plinth/containers/hex.h"
#include "plinth/containers/rt_string.h"

#include <cstdio>

using namespace plinth;

void DemoText() {
    std::printf("\n-- Text --\n");
    CString s("move(ab) cab ab");
    std::printf("whole word 'ab' in \"%s\"   = index %d, from index 6: %d\n", s.GetString(),
                RtString::FindWord(s, "ab", 0), RtString::FindWord(s, "ab", 6));
    RtString::Replace(s, 0, s.GetLength() - 1, "ab", "xy");
    std::printf("'ab' -> 'xy' throughout      = \"%s\"\n", s.GetString());
    CString word;
    const int at = RtString::GetNextWord(s, 0, RtString::kWordSeparators, word);
    std::printf("word after the first         = \"%s\" at %d\n", word.GetString(), at);

    const unsigned char bytes[] = {0x00, 0xAB, 0x0F, 0x7E};
    const CString hex = rtBinaryToString(bytes, sizeof bytes);
    unsigned char back[sizeof bytes] = {};
    const bool ok = rtStringToBinary(hex.GetString(), sizeof back, back);
    std::printf("bytes as hexadecimal text    = %s, read back: %s, byte 1 = 0x%02X\n",
                hex.GetString(), ok ? "yes" : "no", back[1]);

    ULONG flags = 0;
    RtBitArray bits(flags);
    bits.SetBits(0x29, true);
    std::printf("bits 0, 3 and 5 of a word    = 0x%08X, lowest clear bit %d, bits 3..5 = %u\n",
                static_cast<unsigned>(flags), bits.FindFirstBit(false), bits.GetBitsValue(3, 5));
}
