#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

#include <cstdio>

namespace plinth {

class CArchive;
class CObject;

/// A class's runtime record: its name and the link to its base class's record.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct PLINTH_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                        ///< 0xFFFF: not serializable by schema
    CRuntimeClass* (*m_pfnGetBaseClass)(); ///< null at the root

    /// Walks the base-class links comparing record addresses.
    BOOL IsDerivedFrom(const CRuntimeClass* base) const noexcept;
};

/// Destination of CObject::Dump: plain text on a C stream.
class PLINTH_API CDumpContext {
public:
    explicit CDumpContext(std::FILE* out = stdout) noexcept
        : m_out(out) {}
    CDumpContext& operator<<(LPCSTR text);
    void Flush();

private:
    std::FILE* m_out;
};

/// Root of the framework's class hierarchy. The five virtual operations keep this order;
/// a deriving class's own virtual operations follow them.
class PLINTH_API CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* cls) const;
    static CRuntimeClass* GetThisClass() noexcept;

    static CRuntimeClass classCObject;

protected:
    CObject() noexcept = default;
    CObject(const CObject&) noexcept = default;
    CObject& operator=(const CObject&) noexcept = default;
};

} // namespace plinth

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// Gives a class its runtime record; IMPLEMENT_DYNAMIC goes in exactly one source file.
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static ::plinth::CRuntimeClass class##class_name;                                              \
    static ::plinth::CRuntimeClass* GetThisClass() noexcept;                                       \
    ::plinth::CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    ::plinth::CRuntimeClass class_name::class##class_name = {                                      \
        #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF,                                 \
        &base_class_name::GetThisClass};                                                           \
    ::plinth::CRuntimeClass* class_name::GetThisClass() noexcept {                                 \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    ::plinth::CRuntimeClass* class_name::GetRuntimeClass() const {                                 \
        return &class_name::class##class_name;                                                     \
    }
