#include "plinth/frame/range_oi.h"

#include "plinth/circle/s1.h"

namespace plinth {

template <class Range>
RangeOI<Range>::RangeOI(const RangeOI& other)
    : Range(other)
    , m_pRange(other.m_pRange == &other ? this : other.m_pRange)
    , m_pOuter(other.m_pOuter)
    , m_nRef(other.m_nRef) {}

template <class Range>
RangeOI<Range>& RangeOI<Range>::operator=(const RangeOI& other) {
    Range::operator=(other);
    m_pRange = other.m_pRange == &other ? this : other.m_pRange;
    m_pOuter = other.m_pOuter;
    m_nRef = other.m_nRef;
    return *this;
}

template <class Range>
RangeOI<Range>::~RangeOI() = default;

template <class Range>
ULONG RangeOI<Range>::AddRef() {
    return m_pOuter != nullptr ? m_pOuter->AddRef() : ++m_nRef;
}

template <class Range>
ULONG RangeOI<Range>::Release() {
    if (m_pOuter != nullptr) {
        return m_pOuter->Release();
    }
    if (m_nRef == 0 || --m_nRef != 0) {
        return m_nRef;
    }
    delete this;
    return 0;
}

template <class Range>
HRESULT RangeOI<Range>::QueryRange(REFIID iid, void** ppv, bool unknown) {
    if (ppv == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (QueryNested(iid, ppv, m_xRange) || (unknown && QueryUnknown(iid, ppv, m_xRange))) {
        return S_OK;
    }
    return E_NOINTERFACE;
}

template <class Range>
HRESULT RangeOI<Range>::XRange::GetStart(double* start) {
    const RangeOI& outer = this->This();
    if (outer.m_pRange == nullptr) {
        return E_UNEXPECTED;
    }
    if (start == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *start = outer.StartOf(*outer.m_pRange);
    return S_OK;
}

template <class Range>
HRESULT RangeOI<Range>::XRange::GetEnd(double* end) {
    const RangeOI& outer = this->This();
    if (end == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (outer.m_pRange == nullptr) {
        return E_UNEXPECTED;
    }
    *end = outer.m_pRange->hi;
    return S_OK;
}

template class RangeOI<RangeR1>;
template class RangeOI<RangeS1>;

RangeR1OI::~RangeR1OI() = default;

HRESULT RangeR1OI::SetRange(double start, double end) {
    if (m_bReadOnly) {
        return S_NOTHINGDONE;
    }
    if (m_pRange == nullptr) {
        return E_UNEXPECTED;
    }
    m_pRange->Set(start, end);
    return S_OK;
}

RangeS1OI::~RangeS1OI() = default;

HRESULT RangeS1OI::SetRange(double start, double end) {
    if (m_pRange == nullptr) {
        return E_UNEXPECTED;
    }
    if (!S1::IsValid(start) || !S1::IsValid(end)) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    m_pRange->Set(start, end);
    return S_OK;
}

} // namespace plinth
