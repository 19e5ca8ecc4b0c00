// The binary archive: the byte layout that other modules' stored data depends on.
#include "plinth/platform/archive.h"

#include "sections.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"
#include "plinth/range/range_r1.h"

#include <cstdio>
#include <memory>

using namespace plinth;

void DemoArchive() {
    std::printf("\n-- Binary archive --\n");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 7 << 2.5;
        ar.WriteCount(70000);
        RangeR1(1.5, -2).Serialize(ar);
    }
    const auto size = static_cast<UINT>(file.GetLength());
    std::unique_ptr<BYTE[]> bytes(file.Detach());
    std::printf("%u bytes:", size);
    for (UINT i = 0; i < size; ++i) {
        std::printf(" %02X", bytes[i]);
    }
    std::printf("\n");

    CMemFile truncated(bytes.get(), size - 3);
    CArchive ar(&truncated, CArchive::load);
    int i = 0;
    double d = 0;
    ar >> i >> d;
    const auto count = ar.ReadCount();
    RangeR1 range(0, 1);
    try {
        range.Serialize(ar);
    } catch (const CArchiveException& e) {
        std::printf("read %d, %g, count %lu; then: %s (cause %d), interval kept [%g, %g]\n", i, d,
                    static_cast<unsigned long>(count), e.what(), e.m_cause, range.lo, range.hi);
    }
}
