// Components and dictionaries: named parameters handed between modules through an interface.
//
// A DictionaryVel is a reference-counted component. Other modules see it only through
// IDictionary_Vel, obtained with QueryInterface; every call answers with a status, and a
// reference is given back with Release. Each entry keeps the kind it was made with.
#include "plinth/containers/dictionary.h"
#include "plinth/containers/rt_string.h"
#include "plinth/frame/interface_ids.h"
#include "plinth/platform/bstr.h"
#include "plinth/platform/hresult.h"

#include <cstdio>

using namespace plinth;

namespace {

const char* KindName(EDictionaryType_Vel type) {
    switch (type) {
    case eDictInt:
        return "integer";
    case eDictDouble:
        return "double";
    case eDictBool:
        return "flag";
    case eDictString:
        return "string";
    default:
        return "other";
    }
}

} // namespace

int main() {
    // The creator's reference moves to the interface: one reference, held by `params`.
    auto* dict = new DictionaryVel;
    void* out = nullptr;
    if (FAILED(dict->QueryInterface(IID_IDictionary_Vel, &out))) {
        return 1;
    }
    dict->Release();
    auto* params = static_cast<IDictionary_Vel*>(out);

    params->SetInt("segments", 24);
    params->SetDouble("tolerance", 0.001);
    params->SetBool("closed", VARIANT_TRUE);
    params->SetString("material", "oak");

    // Walk the entries: names come back as OLE strings that the caller frees.
    int count = 0;
    params->GetParamCount(eDictNone, &count);
    std::printf("%d parameters:\n", count);
    for (int i = 0; i < count; ++i) {
        BSTR name = nullptr;
        params->GetParamName(i, &name);
        const CString text = RtString::BSTRtoCString(name);
        EDictionaryType_Vel type = eDictNone;
        params->GetParamType(text.GetString(), &type);
        std::printf("  %-10s %s\n", text.GetString(), KindName(type));
        SysFreeString(name);
    }

    // Reading with the wrong kind is refused with a status, and the value stays as it was.
    int segments = 0;
    int wrong = -1;
    params->GetInt("segments", &segments);
    const HRESULT mismatch = params->GetInt("material", &wrong);
    std::printf("segments = %d; material as an integer: status 0x%08X, value still %d\n", segments,
                static_cast<unsigned>(mismatch), wrong);

    // A component answers only for the interfaces it has.
    void* range = nullptr;
    const HRESULT none = params->QueryInterface(IID_IRange, &range);
    std::printf("asked for a range interface: status 0x%08X\n", static_cast<unsigned>(none));

    params->AddRef();
    const ULONG left = params->Release();
    std::printf("references after AddRef and Release: %lu\n", static_cast<unsigned long>(left));
    params->Release(); // the last reference: the dictionary and its entries go
    return mismatch == DISP_E_PARAMNOTOPTIONAL && none == E_NOINTERFACE ? 0 : 1;
}
