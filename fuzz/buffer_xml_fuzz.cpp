// A row buffer's XML: the first byte picks the default format (hexadecimal or integers), the
// rest is a document whose element holds the "BB" that BufferBase::PersistXML loads.

#include "fuzz_input.h"

#include "plinth/persist/buffer_base.h"

#include <cstdlib>

using namespace plinth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool hex = (data[0] & 1) != 0;
    fuzz::FromXml(data + 1, size - 1, [hex](PCExBase& ar, const IXMLDOMElementPtr& element) {
        BYTE rowSize = 0;
        DWORD count = 0;
        const IXMLDOMNodePtr bb = element->selectSingleNode("BB");
        if (bb && PCExBase::ReadBYTE(bb, "SR", rowSize) && PCExBase::ReadDWORD(bb, "C", count) &&
            static_cast<unsigned long long>(rowSize) * count > fuzz::kMaxClaimedBytes) {
            return;
        }
        BufferBase buffer;
        buffer.PersistXML(ar, hex);
        // The rows it holds are all there.
        for (ULONG i = 0; buffer.GetData() != nullptr && i < buffer.GetCount(); ++i) {
            const BYTE* row = buffer.GetRow(i);
            if (row == nullptr) {
                std::abort();
            }
            static_cast<void>(row[buffer.GetRowSize() - 1]);
        }
    });
    return 0;
}
