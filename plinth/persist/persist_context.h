#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Schema of persisted data: 1 to 22 are the recognised schemas, 0 stands for none.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
enum ESchema2 : int {
    eSchemaNone = 0,
    eSchemaFirst = 1,
    eSchemaLast = 22,
};

/// The persistence context: what an XML pass is for and in which direction it goes.
class PLINTH_API PC {
public:
    enum EDirection : LONG {
        eUndecided = -1,
        eLoading = 0,
        eStoring = 1,
    };

    PC() noexcept = default;
    PC(UINT param, ESchema2 schema)
    noexcept
        : m_nParam(param)
        , m_eSchema(schema) {}
    /// A schema outside 1 .. 22 is recorded as none.
    PC(UINT param, UINT schema)
    noexcept
        : m_nParam(param)
        , m_eSchema(schema >= eSchemaFirst && schema <= eSchemaLast ? static_cast<ESchema2>(schema)
                                                                    : eSchemaNone) {}
    PC(const PC& other) noexcept = default;
    PC& operator=(const PC& other) noexcept = default;
    virtual ~PC();

    ULONG m_nParam = 0; ///< the caller's; not interpreted
    ESchema2 m_eSchema = eSchemaNone;
    LONG m_nReserved = 0;
    LONG m_nDirection = eUndecided; ///< set by the caller before persisting
};

} // namespace plinth
