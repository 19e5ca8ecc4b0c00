#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/guid.h"
#include "plinth/platform/types.h"

#include <array>

namespace plinth {

// The records in which the suite's modules address requests to each other: an operation
// (OpC), a query (QC) and a query about an object (QCObj). DynaModule routes them by their
// module identifier; the modules that fill and read them give the numbers their meaning.
//
// Records are copied by value and own nothing: texts, module and interface identifiers are
// borrowed and must outlive the record. A null module identifier addresses no particular
// module (an operation with it goes to every used module). Every number is 0 by default
// except the index, which is -1.
//
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// An operation addressed to a module.
class PLINTH_API OpC {
public:
    // ---- Construction and copying (all fields)
    OpC() noexcept = default;
    explicit OpC(const GUID* module) noexcept
        : m_pModuleID(module) {}
    OpC(const char* name1, const char* name2) noexcept
        : m_pszName1(name1)
        , m_pszName2(name2) {}
    OpC(const GUID* module, const char* name1, const char* name2) noexcept
        : m_pszName1(name1)
        , m_pszName2(name2)
        , m_pModuleID(module) {}
    OpC(const OpC&) noexcept = default;
    OpC& operator=(const OpC&) noexcept = default;
    virtual ~OpC();

    /// Every field back to its default.
    void Construct() noexcept;
    /// Takes every field of source except the module identifier and m_nExtra, so that the
    /// same content can be sent on to another module.
    void Copy(const OpC& source) noexcept;

    // ---- Fields, in their stored order
    const char* m_pszName1 = nullptr;
    const char* m_pszName2 = nullptr;
    DWORD m_nArg1 = 0;
    DWORD m_nArg2 = 0;
    DWORD m_nArg3 = 0;
    const GUID* m_pModuleID = nullptr;
    DWORD m_nArg4 = 0;
    std::array<double, 5> m_dArg{};
    std::array<bool, 3> m_bFlag{};
    int m_nIndex = -1;
    std::array<DWORD, 5> m_nData{};
    std::array<DWORD, 5> m_nExtra{};
};

/// A query addressed to a module, possibly for one of its interfaces.
class PLINTH_API QC {
public:
    // ---- Construction and copying (all fields)
    QC() noexcept = default;
    explicit QC(const GUID* module) noexcept
        : m_pModuleID(module) {}
    /// Keeps the address of iid, which must outlive the query.
    QC(const GUID* module, const GUID& iid)
    noexcept
        : m_pModuleID(module)
        , m_pIID(&iid) {}
    QC(const GUID* module, const GUID&& iid) = delete; ///< a temporary would not outlive it
    QC(const QC&) noexcept = default;
    QC& operator=(const QC&) noexcept = default;
    virtual ~QC();

    /// Every field back to its default: no module, no interface.
    void Construct() noexcept;
    /// Takes every field of source except the module and interface identifiers and m_nExtra.
    void CopyNoID(const QC& source) noexcept;

    // ---- Fields, in their stored order
    const GUID* m_pModuleID = nullptr;
    DWORD m_nArg1 = 0;
    DWORD m_nArg2 = 0;
    const GUID* m_pIID = nullptr;
    DWORD m_nArg3 = 0;
    DWORD m_nArg4 = 0;
    DWORD m_nArg5 = 0;
    std::array<double, 3> m_dArg{};
    std::array<bool, 3> m_bFlag{};
    int m_nIndex = -1;
    std::array<DWORD, 4> m_nData{};
    std::array<DWORD, 3> m_nExtra{};
};

/// A query about an object. The kinds of query are named by the modules that ask them.
class PLINTH_API QCObj {
public:
    enum EQueryType : int { eQueryNone = 0 };

    QCObj() noexcept = default;
    explicit QCObj(EQueryType type) noexcept
        : m_eType(type) {}

    /// Kind 0, index -1, words 0.
    void Construct() noexcept { *this = QCObj(); }

    EQueryType m_eType = eQueryNone;
    int m_nIndex = -1;
    DWORD m_nArg1 = 0;
    DWORD m_nArg2 = 0;
    DWORD m_nArg3 = 0;
};

} // namespace plinth
