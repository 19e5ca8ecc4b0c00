#pragma once

// A fake interface object for tests of reference counting.

#include "plinth/frame/nested_interface.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/unknown.h"

namespace plinth::testing {

// Counts its references (1 at first, never deleting itself) and answers IUnknown and one
// more identifier with itself, adding a reference.
template <class Itf = IUnknown>
class Counting : public Itf {
public:
    explicit Counting(const IID& known = IID_IUnknown) noexcept
        : m_known(known) {}

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, m_known)) {
            return NoInterface(ppv);
        }
        HandOutInterface(static_cast<Itf*>(this), ppv);
        return S_OK;
    }
    ULONG AddRef() override { return ++m_nRef; }
    ULONG Release() override { return --m_nRef; }

    ULONG m_nRef = 1;

private:
    IID m_known;
};

using CountingUnknown = Counting<>;

} // namespace plinth::testing
