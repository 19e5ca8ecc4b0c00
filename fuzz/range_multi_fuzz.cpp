// Multi-range archives: the input loads into a fresh multi-range and into one that holds
// elements, which must then stay usable.

#include "fuzz_input.h"

#include "plinth/range/range_multi.h"

#include <cstdlib>

using namespace plinth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const bool filled : {false, true}) {
        RangeMulti multi;
        if (filled) {
            multi.Add(Range(0, 1));
            multi.Add(Range(2, 3));
        }
        fuzz::FromArchive(data, size, [&](CArchive& ar) { multi.Serialize(ar); });
        if (multi.count < 0 || multi.count > multi.capacity) {
            std::abort();
        }
        multi.IsEmpty(); // reads every element in use
        multi.Add(Range(5, 6));
    }
    return 0;
}
