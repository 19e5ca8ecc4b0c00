// A blob's XML: the input is a document whose element is loaded with RtBlob::PersistXML.

#include "fuzz_input.h"

#include "plinth/persist/rt_blob.h"

#include <cstdlib>

using namespace plinth;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FromXml(data, size, [](PCExBase& ar, const IXMLDOMElementPtr& element) {
        int claimed = 0;
        if (PCExBase::ReadInt(element, "Sz", claimed) &&
            static_cast<unsigned long long>(claimed) > fuzz::kMaxClaimedBytes) {
            return;
        }
        RtBlob blob;
        const bool loaded = blob.PersistXML(ar);
        if (loaded != (blob.m_nSize != 0) || (blob.m_nSize != 0) != (blob.m_pData != nullptr)) {
            std::abort(); // true exactly when it holds bytes
        }
        blob.Delete();
    });
    return 0;
}
