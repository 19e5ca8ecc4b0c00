#pragma once

#include "plinth/frame/ref_obj.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"

namespace plinth {

class QC;

/// Base of the reference-counted objects that a module makes when it upgrades a plain
/// framework object (DynaModule::UpgradeObject): it points back at the object it extends,
/// without owning it, and carries a type code and a by-value mark of its own.
///
/// The mark here is not CRefObj's: IsByVal and SetByVal(bool) read and write this class's
/// own flag, and the count's flag is reached as CRefObj::IsByVal and CRefObj::SetByVal. The
/// base offers no interface. Derived classes answer queries through Execute and hold data
/// through GetData and SetData; the base answers nothing and holds nothing.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API ObjectEx : public CRefObj {
public:
    // ---- Construction
    /// Count 1, no owner, marked by value, type 0.
    ObjectEx() noexcept = default;
    /// Count 1, with source's owner and type, not marked by value; a null source gives the
    /// defaults above.
    explicit ObjectEx(const ObjectEx* source) noexcept;
    /// Takes the count and both by-value flags, owner and type.
    ObjectEx(const ObjectEx& other) noexcept = default;
    ~ObjectEx() override;

    // ---- The extended object
    void AttachOwner(CObject* owner) noexcept { m_pOwner = owner; }
    CObject* GetOwner() const noexcept { return m_pOwner; }
    void DetachOwner() noexcept { m_pOwner = nullptr; }

    // ---- Marks
    bool IsByVal() const noexcept { return m_bByValEx; }
    void SetByVal(bool byVal) noexcept { m_bByValEx = byVal; }
    unsigned char GetType() const noexcept { return m_nType; }

    // ---- Operations for derived classes (the base does nothing)
    /// Told that the object changed; the argument means what the caller and the class agree.
    virtual void OnModified(void* hint);
    /// Destroys the object whatever its count; only for an object made with new.
    virtual void Delete();
    /// Answers a query about the object; false here.
    virtual bool Execute(QC& query);
    /// 1984 here.
    virtual ULONG GetData();
    virtual void SetData(ULONG data);

protected:
    CObject* m_pOwner = nullptr;
    bool m_bByValEx = true;
    unsigned char m_nType = 0;
};

} // namespace plinth
