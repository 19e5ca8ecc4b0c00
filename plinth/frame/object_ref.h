#pragma once

#include "plinth/platform/export.h"

#include <array>

namespace plinth {

// Typed references to objects that modules pass to each other: a four-byte type code
// (TypeVel), an object with a kind (OW) and an object with a type code and two flags (OWC).
// They borrow the object and never free it. What the codes, kinds other than a scene item
// and flags mean is agreed between the modules that use them. Everything is null, 0 or
// false by default, and copies take every field.
//
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// A type as four category codes.
class PLINTH_API TypeVel {
public:
    static constexpr char m_countCategory = 4; ///< the number of codes

    TypeVel() noexcept = default;
    TypeVel(unsigned char c0, unsigned char c1, unsigned char c2, unsigned char c3) noexcept
        : m_category{c0, c1, c2, c3} {}

    void Construct() noexcept { *this = TypeVel(); }
    void Copy(const TypeVel& other) noexcept { *this = other; }

    std::array<unsigned char, m_countCategory> m_category{};
};

/// An object and its kind.
class PLINTH_API OW {
public:
    enum EType : int { eNone = 0, eSceneItem = 1 };

    OW() noexcept = default;
    OW(void* object, EType type)
    noexcept
        : m_pObject(object)
        , m_eType(type) {}

    /// No object, kind 0.
    void Reset() noexcept { *this = OW(); }
    void Set(void* object, EType type) noexcept { *this = OW(object, type); }
    void Copy(const OW& other) noexcept { *this = other; }
    bool IsSceneItem() const noexcept { return m_eType == eSceneItem; }

    void* m_pObject = nullptr;
    EType m_eType = eNone;
};

/// An object with its type code and two flags.
class PLINTH_API OWC {
public:
    OWC() noexcept = default;
    /// The flags start false.
    OWC(void* object, const TypeVel& type)
    noexcept
        : m_pObject(object)
        , m_type(type) {}

    /// Object and type; the flags stay as they are.
    void Set(void* object, const TypeVel& type) noexcept {
        m_pObject = object;
        m_type = type;
    }
    void Copy(const OWC& other) noexcept { *this = other; }

    void* m_pObject = nullptr;
    TypeVel m_type;
    std::array<bool, 2> m_bFlag{};
};

} // namespace plinth
