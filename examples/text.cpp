// Text and bits: words in a command, bytes as hexadecimal text, and flags in a bit array.
//
// RtString works on CString with explicit separator sets; hexadecimal text is how blobs and
// row buffers travel in XML (two upper-case digits per byte); RtBitArray is a view over
// bytes the caller owns, bit i at byte i / 8.
#include "plinth/containers/bit_array.h"
#include "plinth/containers/hex.h"
#include "plinth/containers/rt_string.h"
#include "plinth/platform/cstring.h"

#include <cstdio>

using namespace plinth;

int main() {
    // Whole words: "part" inside "partial" or "parts" does not count, unlike a plain count.
    const CString command("move part; copy partial parts; delete part");
    int words = 0;
    for (int pos = 0; RtString::FindWordRef(command, "part", &pos) >= 0;) {
        ++words;
    }
    std::printf("\"part\" in \"%s\": %d whole words, %d substrings\n", command.GetString(), words,
                RtString::Count(command, CString("part"), 0, -1));

    // The words after the first, one by one.
    std::printf("words after the first:");
    CString word;
    for (int at = 0; (at = RtString::GetNextWord(command, at, " ;", word)) >= 0;) {
        std::printf(" <%s>", word.GetString());
    }
    std::printf("\n");

    // Bytes to text and back; a bad digit is refused rather than guessed.
    const unsigned char key[] = {0xDE, 0xAD, 0x01, 0x7F};
    const CString hex = rtBinaryToString(key, sizeof key);
    unsigned char back[sizeof key] = {};
    const bool ok = rtStringToBinary(hex.GetString(), sizeof back, back);
    const bool bad = rtStringToBinary("DEAG", 2, back);
    std::printf("key as text: %s, read back: %s, \"DEAG\" accepted: %s\n", hex.GetString(),
                ok ? "yes" : "no", bad ? "yes" : "no");

    // Visible layers 0, 3 and 9 of 12 as bits in two bytes.
    unsigned char storage[2] = {};
    RtBitArray layers(storage, 12);
    for (int layer : {0, 3, 9}) {
        layers.Set(layer, true);
    }
    std::printf("layers %s (highest first), bytes %s, first hidden layer %d\n",
                layers.GetString().GetString(), layers.GetHexString().GetString(),
                layers.FindFirstBit(false));
    return words == 2 && ok && !bad ? 0 : 1;
}
