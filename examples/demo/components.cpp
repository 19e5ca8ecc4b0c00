// The component model: a dictionary filled through its interface, and a cyclic pointer list.
#include "sections.h"

#include "plinth/containers/dictionary.h"
#include "plinth/containers/rt_string.h"
#include "plinth/containers/void_ptr_list.h"

#include <cstdio>

using namespace plinth;

void DemoComponents() {
    std::printf("\n-- Components --\n");
    auto* dict = new DictionaryVel;
    void* out = nullptr;
    dict->QueryInterface(IID_IDictionary_Vel, &out);
    dict->Release(); // the interface now holds the only reference
    auto* params = static_cast<IDictionary_Vel*>(out);
    params->SetInt("segments", 12);
    params->SetString("label", "outer wall");
    int segments = 0;
    BSTR label = nullptr;
    params->GetInt("segments", &segments);
    params->GetString("label", &label);
    std::printf("segments = %d, label = \"%s\"\n", segments,
                RtString::BSTRtoCString(label).GetString());
    SysFreeString(label);
    params->Release();

    char names[][6] = {"north", "east", "south", "west"};
    RtVoidPtrList ring;
    for (char* name : names) {
        ring.AddTail(name);
    }
    std::printf("cyclic walk from south:");
    POSITION pos = ring.FindIndex(2);
    for (int step = 0; step < 6; ++step) {
        std::printf(" %s", static_cast<const char*>(ring.GetNextCyclic(pos)));
    }
    std::printf("\n");
}
