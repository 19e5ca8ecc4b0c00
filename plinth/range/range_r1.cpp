#include "plinth/range/range_r1.h"

#include "plinth/numeric/tolerance.h"
#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace plinth {

namespace {

// -PI + 1.5 EPS: the full angle starts a hair after -PI.
constexpr double fullAngleStart = -3.14159265343979;

// An end matches its target within tol, except that an infinite target (in zEqual's sense)
// needs an infinite end on the same side.
bool EndMatches(double end, double target, double infinity, double tol) {
    if (zEqual(target, infinity)) {
        return zEqual(end, infinity);
    }
    return std::fabs(end - target) <= tol;
}

constexpr UINT recordSize = 32;
// Records per trip through the stack buffer; the bytes in the archive do not depend on it.
constexpr INT_PTR recordsPerBlock = 128;

void PutDouble(BYTE* p, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    for (int i = 0; i < 8; ++i) {
        p[i] = static_cast<BYTE>(bits >> (8 * i));
    }
}

double GetDouble(const BYTE* p) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    }
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

} // namespace

RangeR1::EClass RangeR1::GetClass() const {
    return eClassR1;
}

bool RangeR1::SetEx(double a, double b) {
    const bool moved = std::fabs(lo - a) > EPS || std::fabs(hi - b) > EPS;
    lo = a;
    hi = b;
    return moved;
}

void RangeR1::SetFull(bool linear) {
    if (linear) {
        StoreFullLine();
    } else {
        SetFullAngle();
    }
}

void RangeR1::SetFullAngle() {
    Set(fullAngleStart, PI);
}

void RangeR1::SetExternal(bool ext) {
    const bool wasFull = IsFull();
    external = ext;
    if (wasFull) {
        StoreFullLine();
    }
}

void RangeR1::StoreFullLine() {
    lo = external ? UNBOUNDED : -UNBOUNDED;
    hi = UNBOUNDED;
}

bool RangeR1::MakeValid() {
    if (hi < lo) {
        Swap();
        return true;
    }
    return false;
}

void RangeR1::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << lo << hi;
        return;
    }
    // Read both before storing either, so that a short archive leaves this interval as it was.
    double a = 0;
    double b = 0;
    ar >> a >> b;
    lo = a;
    hi = b;
}

bool RangeR1::Is(double a, double b, double tol) const {
    return EndMatches(lo, a, -UNBOUNDED, tol) && EndMatches(hi, b, UNBOUNDED, tol);
}

unsigned char RangeR1::FindSameLimit(const RangeR1& r) const {
    if (std::fabs(lo - r.lo) < EPS) {
        return 0;
    }
    if (std::fabs(hi - r.hi) < EPS) {
        return 1;
    }
    return 3;
}

bool RangeR1::operator>=(const RangeR1& r) const {
    if (external == r.external) {
        return In(r.lo, EPS) && In(r.hi, EPS);
    }
    if (!external) {
        return IsFull(); // only the full line holds an outside
    }
    if (IsEmpty()) {
        return r.IsEmpty();
    }
    const bool bothBelow = r.lo < lo + EPS && r.hi < lo + EPS;
    const bool bothAbove = r.lo > hi - EPS && r.hi > hi - EPS;
    return bothBelow || bothAbove;
}

template <>
void SerializeElements<RangeR1>(CArchive& ar, RangeR1* pElements, INT_PTR nCount) {
    BYTE block[recordsPerBlock * recordSize];
    while (nCount > 0) {
        const INT_PTR n = std::min(nCount, recordsPerBlock);
        const auto bytes = static_cast<UINT>(n) * recordSize;
        if (ar.IsStoring()) {
            std::memset(block, 0, bytes);
            for (INT_PTR i = 0; i < n; ++i) {
                BYTE* record = block + i * recordSize;
                PutDouble(record + 8, pElements[i].lo);
                PutDouble(record + 16, pElements[i].hi);
                record[24] = pElements[i].external ? 1 : 0;
            }
            ar.Write(block, bytes);
        } else {
            const UINT got = ar.Read(block, bytes);
            for (UINT i = 0; i < got / recordSize; ++i) {
                const BYTE* record = block + i * recordSize;
                pElements[i].lo = GetDouble(record + 8);
                pElements[i].hi = GetDouble(record + 16);
                pElements[i].external = record[24] != 0;
            }
            if (got != bytes) {
                AfxThrowArchiveException(CArchiveException::endOfFile);
            }
        }
        pElements += n;
        nCount -= n;
    }
}

} // namespace plinth
