#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/object.h"

namespace plinth {

class OpC;

/// Base of objects that answer runtime-class questions by class name, so that a class whose
/// record is registered separately in two modules still counts as the same class.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API VelObject : public CObject {
public:
    VelObject() noexcept = default;
    VelObject(const VelObject&) noexcept = default;
    VelObject& operator=(const VelObject&) noexcept = default;
    ~VelObject() override;

    /// Carries out an operation addressed to the object; the base does nothing and says so.
    virtual bool Execute(OpC& op);

    /// IsDerivedFrom_Vel for this object's runtime class.
    bool IsKindOf_Vel(const CRuntimeClass* cls) const;
    /// True when cls or one of its base classes has the name of base (compared exactly, case
    /// included). A null record raises CInvalidArgException.
    static bool IsDerivedFrom_Vel(const CRuntimeClass* cls, const CRuntimeClass* base);
};

} // namespace plinth
