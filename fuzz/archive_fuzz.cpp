// Archive reads: the first byte picks a loader, the rest is the archive.

#include "fuzz_input.h"

#include "plinth/circle/range_s1.h"
#include "plinth/circle/set_s1.h"
#include "plinth/platform/array.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/range/range_r1.h"
#include "plinth/range/set_r1.h"
#include "plinth/range/set_r1_spaced.h"

using namespace plinth;

namespace {

// Every scalar extraction, a count and a block, until the data ends.
void ReadScalars(CArchive& ar) {
    for (;;) {
        bool b;
        char c;
        short s;
        int i;
        long l;
        long long ll;
        float f;
        double d;
        BYTE block[7];
        ar >> b >> c >> s >> i >> l >> ll >> f >> d;
        (void)ar.ReadCount();
        if (ar.Read(block, sizeof block) != sizeof block) {
            return;
        }
    }
}

template <class T>
void Load(CArchive& ar) {
    T value;
    value.Serialize(ar);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    fuzz::FromArchive(data + 1, size - 1, [&](CArchive& ar) {
        switch (data[0] % 10) {
        case 0:
            ReadScalars(ar);
            break;
        case 1:
            Load<RangeR1>(ar);
            break;
        case 2:
            Load<RangeS1>(ar);
            break;
        case 3:
            Load<SetR1>(ar);
            break;
        case 4:
            Load<SetR1Spaced>(ar);
            break;
        case 5:
            Load<SetS1>(ar);
            break;
        case 6:
            Load<CArray<RangeR1, const RangeR1&>>(ar);
            break;
        case 7:
            Load<CArray<bool, bool>>(ar);
            break;
        case 8:
            Load<CPtrArray>(ar);
            break;
        default:
            Load<CStringArray>(ar);
            break;
        }
    });
    return 0;
}
