#pragma once

#include "plinth/circle/range_s1.h"
#include "plinth/frame/adapter_interfaces.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"
#include "plinth/range/range_r1.h"

namespace plinth {

/// IRange over an interval (RangeR1OI) or an arc (RangeS1OI). The adapter is itself an
/// interval of its kind; the interface reads and sets the one attached with AttachRange,
/// which may be the adapter itself.
///
/// Counting: while an outer object is attached (AttachUnknown), AddRef and Release go to it
/// and the adapter lives as long as that object keeps it: it holds no reference on it.
/// Otherwise they use the adapter's own count, 0 at first, and the Release that brings it
/// back to 0 deletes the adapter, so an adapter handed out without an outer object must be
/// made with new. A Release with the own count at 0 does nothing and returns 0.
///
/// QueryInterface answers IRange (RangeR1OI also IUnknown) with the nested object and one
/// reference, through AddRef above; any other identifier gives E_NOINTERFACE and leaves
/// *ppv alone; a null ppv gives DISP_E_PARAMNOTOPTIONAL.
///
/// Copies take the interval, the outer object and the count as they are. The interval that
/// the interface works on stays the source's attached one, except when the source worked on
/// itself: the copy then works on itself, so that it never points at an adapter that may be
/// gone.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
template <class Range>
class PLINTH_API RangeOI : public Range {
public:
    /// IRange over the interval the adapter serves.
    class PLINTH_API XRange : public NestedInterface<RangeOI, IRange> {
    public:
        using NestedInterface<RangeOI, IRange>::NestedInterface;
        /// E_UNEXPECTED without an interval, then DISP_E_PARAMNOTOPTIONAL for a null start.
        HRESULT GetStart(double* start) override;
        /// DISP_E_PARAMNOTOPTIONAL for a null end, then E_UNEXPECTED without an interval.
        HRESULT GetEnd(double* end) override;
        HRESULT Set(double start, double end) override { return this->This().SetRange(start, end); }
    };

    // ---- Construction

    RangeOI() = default;
    RangeOI(const RangeOI& other);
    RangeOI& operator=(const RangeOI& other);
    ~RangeOI() override;

    /// The interval that IRange reads and sets (null: none).
    void AttachRange(Range* range) noexcept { m_pRange = range; }
    /// The object whose count the adapter uses (null: its own).
    void AttachUnknown(IUnknown* outer) noexcept { m_pOuter = outer; }
    Range* GetRange() const noexcept { return m_pRange; }

    // ---- Counting and identity

    virtual HRESULT QueryInterface(REFIID iid, void** ppv) = 0;
    ULONG AddRef();
    ULONG Release();
    ULONG GetRef() const noexcept { return m_nRef; }

protected:
    /// The start that IRange hands out for the interval.
    virtual double StartOf(const Range& range) const = 0;
    /// IRange's Set, with its status.
    virtual HRESULT SetRange(double start, double end) = 0;
    /// The query rule above; IUnknown is answered when `unknown` is set.
    HRESULT QueryRange(REFIID iid, void** ppv, bool unknown);

    XRange m_xRange{this};
    Range* m_pRange = nullptr;
    IUnknown* m_pOuter = nullptr;
    ULONG m_nRef = 0;
};

extern template class PLINTH_API RangeOI<RangeR1>;
extern template class PLINTH_API RangeOI<RangeS1>;

/// IRange over a real interval: by default its own, which the interface reads and sets. When
/// read-only, Set refuses with S_NOTHINGDONE and changes nothing.
class PLINTH_API RangeR1OI : public RangeOI<RangeR1> {
public:
    RangeR1OI() noexcept { m_pRange = this; }
    RangeR1OI(const RangeR1OI& other) = default;
    RangeR1OI& operator=(const RangeR1OI& other) = default;
    ~RangeR1OI() override;

    void SetReadOnly(bool readOnly) noexcept { m_bReadOnly = readOnly; }
    bool IsReadOnly() const noexcept { return m_bReadOnly; }

    /// IRange and IUnknown.
    HRESULT QueryInterface(REFIID iid, void** ppv) override { return QueryRange(iid, ppv, true); }

protected:
    double StartOf(const RangeR1& range) const override { return range.lo; }
    /// S_NOTHINGDONE when read-only, E_UNEXPECTED without an interval; else the interval's
    /// virtual Set.
    HRESULT SetRange(double start, double end) override;

private:
    bool m_bReadOnly = false;
};

/// IRange over an arc, none until AttachRange. The start handed out is GetA (-PI for the full
/// circle); Set takes only angles that S1::IsValid accepts.
class PLINTH_API RangeS1OI : public RangeOI<RangeS1> {
public:
    RangeS1OI() = default;
    RangeS1OI(const RangeS1OI& other) = default;
    RangeS1OI& operator=(const RangeS1OI& other) = default;
    ~RangeS1OI() override;

    /// IRange only, not IUnknown.
    HRESULT QueryInterface(REFIID iid, void** ppv) override { return QueryRange(iid, ppv, false); }

protected:
    double StartOf(const RangeS1& range) const override { return range.GetA(); }
    /// E_UNEXPECTED without an arc, DISP_E_PARAMNOTOPTIONAL for an end that is no angle; else
    /// the arc's virtual Set.
    HRESULT SetRange(double start, double end) override;
};

} // namespace plinth
