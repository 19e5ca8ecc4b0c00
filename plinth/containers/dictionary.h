#pragma once

#include "plinth/frame/interface_ids.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/numeric/nik.h"
#include "plinth/platform/bstr.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/maps.h"
#include "plinth/platform/oletypes.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"
#include "plinth/platform/variant.h"

#include <cstring>
#include <type_traits>

namespace plinth {

/// The kind of a dictionary entry, fixed when the entry is made.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
enum EDictionaryType_Vel : int {
    eDictNone = 0,
    eDictInt = 1,
    eDictDouble = 2,
    eDictBool = 3,
    eDict3State = 4,
    eDictString = 5,
    eDictVariant = 6,
    eDictInterface = 7,
};

/// A dictionary as other modules see it; names are 8-bit texts.
///
/// Status rules: a null name gives DISP_E_PARAMNOTOPTIONAL, and so does an absent entry (for
/// the getters) or an entry of another kind. A null out-pointer, or a null value for
/// SetString, Set and SetInterface, gives S_OK with nothing done; GetParamCount alone refuses
/// it. GetParamDescription, GetParamType, GetBool and Get3State look at the out-pointer before
/// the name. Setters make an entry of their kind, with an empty description, when the name is
/// absent (E_OUTOFMEMORY when it cannot be made). Strings leave as new OLE strings that
/// replace, and free, whatever *out held (null or a string): the caller frees them.
struct PLINTH_API IDictionary_Vel : IUnknown {
    static constexpr const IID& kIid = IID_IDictionary_Vel;

    /// Entries of kind DictionaryVel::IntToType(type): all of them for 0 (and for 4).
    virtual HRESULT GetParamCount(int type, int* count) = 0;
    /// DISP_E_BADINDEX when the index names no entry.
    virtual HRESULT GetParamName(int index, BSTR* name) = 0;
    /// String entries only.
    virtual HRESULT GetParamDescription(LPCSTR name, BSTR* description) = 0;
    /// eDictNone, with S_OK, for an absent name.
    virtual HRESULT GetParamType(LPCSTR name, EDictionaryType_Vel* type) = 0;
    virtual HRESULT GetInt(LPCSTR name, int* value) = 0;
    virtual HRESULT SetInt(LPCSTR name, int value) = 0;
    virtual HRESULT GetDouble(LPCSTR name, double* value) = 0;
    virtual HRESULT SetDouble(LPCSTR name, double value) = 0;
    virtual HRESULT GetBool(LPCSTR name, VARIANT_BOOL* value) = 0;
    /// Stores whether value is non-zero.
    virtual HRESULT SetBool(LPCSTR name, VARIANT_BOOL value) = 0;
    /// -1 and 1 come out as stored, anything else as 0.
    virtual HRESULT Get3State(LPCSTR name, int* value) = 0;
    /// Stores value unchanged.
    virtual HRESULT Set3State(LPCSTR name, int value) = 0;
    /// Makes an empty string entry when the name is absent.
    virtual HRESULT GetString(LPCSTR name, BSTR* value) = 0;
    virtual HRESULT SetString(LPCSTR name, LPCSTR value) = 0;
    /// The variant's 16 bytes as they stand, in both directions.
    virtual HRESULT Get(LPCSTR name, VARIANT* value) = 0;
    virtual HRESULT Set(LPCSTR name, const VARIANT* value) = 0;
    /// The stored pointer, without a reference; *value stays as it was, with S_OK, when there
    /// is no interface entry of that name.
    virtual HRESULT GetInterface(LPCSTR name, IUnknown** value) = 0;
    /// Stores the pointer without a reference.
    virtual HRESULT SetInterface(LPCSTR name, IUnknown* value) = 0;

protected:
    ~IDictionary_Vel() = default;
};

/// A store of named parameters, each with a kind, a description and a value. Names are
/// matched exactly, case included. The dictionary owns its entries; the variants and
/// interfaces inside them stay the caller's: it copies their bytes, adds no reference and
/// frees nothing of theirs. Typed setters and getters act only on an entry of their own kind
/// and otherwise return false and change nothing. Nothing raises except running out of memory
/// while a map entry or a string is copied.
class PLINTH_API DictionaryVel : public CRefObj {
public:
    /// What every entry has: its type and its description.
    struct PLINTH_API Item {
        explicit Item(EDictionaryType_Vel type) noexcept
            : m_eType(type) {}
        Item(const Item&) = delete;
        Item& operator=(const Item&) = delete;
        virtual ~Item();

        EDictionaryType_Vel m_eType;
        CString m_strDescription;
    };

    /// An integer, double, flag or three-state value (and any kind without a class of its
    /// own) in one 8-byte slot, all zero when made.
    struct PLINTH_API ItemBasic : Item {
        using Item::Item;
        ~ItemBasic() override;

        template <class T>
        T Value() const noexcept {
            static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(m_value));
            T value;
            std::memcpy(&value, m_value, sizeof value);
            return value;
        }
        template <class T>
        void SetValue(T value) noexcept {
            static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(m_value));
            std::memcpy(m_value, &value, sizeof value);
        }

        unsigned char m_value[8] = {};
    };

    /// A text entry.
    struct PLINTH_API ItemString : Item {
        ItemString() noexcept
            : Item(eDictString) {}
        ~ItemString() override;

        CString m_strValue;
    };

    /// Zero (VT_EMPTY) when made.
    struct PLINTH_API ItemVariant : Item {
        ItemVariant() noexcept
            : Item(eDictVariant) {}
        ~ItemVariant() override;

        VARIANT m_varValue{};
    };

    /// An interface entry; the dictionary does not count references on it.
    struct PLINTH_API ItemInterface : Item {
        ItemInterface() noexcept
            : Item(eDictInterface) {}
        ~ItemInterface() override;

        IUnknown* m_pInterface = nullptr;
    };

    /// IDictionary_Vel over the dictionary.
    class PLINTH_API XDictionary_Vel : public NestedInterface<DictionaryVel, IDictionary_Vel> {
    public:
        using NestedInterface::NestedInterface;
        HRESULT GetParamCount(int type, int* count) override;
        HRESULT GetParamName(int index, BSTR* name) override;
        HRESULT GetParamDescription(LPCSTR name, BSTR* description) override;
        HRESULT GetParamType(LPCSTR name, EDictionaryType_Vel* type) override;
        HRESULT GetInt(LPCSTR name, int* value) override;
        HRESULT SetInt(LPCSTR name, int value) override;
        HRESULT GetDouble(LPCSTR name, double* value) override;
        HRESULT SetDouble(LPCSTR name, double value) override;
        HRESULT GetBool(LPCSTR name, VARIANT_BOOL* value) override;
        HRESULT SetBool(LPCSTR name, VARIANT_BOOL value) override;
        HRESULT Get3State(LPCSTR name, int* value) override;
        HRESULT Set3State(LPCSTR name, int value) override;
        HRESULT GetString(LPCSTR name, BSTR* value) override;
        HRESULT SetString(LPCSTR name, LPCSTR value) override;
        HRESULT Get(LPCSTR name, VARIANT* value) override;
        HRESULT Set(LPCSTR name, const VARIANT* value) override;
        HRESULT GetInterface(LPCSTR name, IUnknown** value) override;
        HRESULT SetInterface(LPCSTR name, IUnknown* value) override;

    private:
        /// Makes the entry when absent, then reports the accessor's result.
        template <class Access>
        HRESULT MakeThen(LPCSTR name, EDictionaryType_Vel type, Access access);
    };

    /// A by-value dictionary starts with count 0 (see CRefObj). `owner` is kept for the
    /// caller (IsOwner); the dictionary always owns its entries.
    explicit DictionaryVel(bool owner = true, bool byVal = false);
    DictionaryVel(const DictionaryVel&) = delete;
    ~DictionaryVel() override;

    /// IDictionary_Vel or IUnknown: the nested object; IID_ImplObject: this dictionary.
    HRESULT QueryInterface(REFIID iid, void** ppv) override;

    bool IsOwner() const noexcept { return m_bOwner; }

    /// Destroys every entry.
    void Clear();
    /// A new entry of the class for the kind; null when memory runs out.
    static Item* CreateNewItem(EDictionaryType_Vel type) noexcept;
    /// 1, 2, 3, 5, 6 and 7 are themselves; anything else, 4 included, is eDictNone.
    static EDictionaryType_Vel IntToType(int value) noexcept;
    /// False for a null name, kind eDictNone, a name already present, or no memory. A null
    /// description is empty.
    bool AddItem(LPCSTR name, EDictionaryType_Vel type, LPCSTR description);

    /// Null for an absent or null name.
    Item* FindItem(LPCSTR name) const;
    bool IsIn(LPCSTR name) const { return FindItem(name) != nullptr; }
    /// eDictNone when absent.
    EDictionaryType_Vel GetParamType(LPCSTR name) const;
    /// The description of a string entry; false for any other kind.
    bool GetParamDescription(LPCSTR name, CString& description) const;
    /// Entries of the kind; all of them for eDictNone.
    int GetParamCount(EDictionaryType_Vel type) const;
    /// The entry and name at an index of the map's walking order; null or empty outside it.
    Item* GetItem(int index) const;
    CString GetParamName(int index) const;

    bool SetInt(LPCSTR name, int value) { return SetBasic(name, eDictInt, value); }
    bool GetInt(LPCSTR name, int& value) const { return GetBasic(name, eDictInt, value); }
    bool SetDouble(LPCSTR name, double value) { return SetBasic(name, eDictDouble, value); }
    bool GetDouble(LPCSTR name, double& value) const { return GetBasic(name, eDictDouble, value); }
    bool SetBool(LPCSTR name, bool value) { return SetBasic(name, eDictBool, value); }
    bool GetBool(LPCSTR name, bool& value) const { return GetBasic(name, eDictBool, value); }
    /// Stores the value as it is.
    bool Set3State(LPCSTR name, Vel3State_ value) { return SetBasic(name, eDict3State, value); }
    /// -1 and 1 come back as stored, anything else as eVel3False.
    bool Get3State(LPCSTR name, Vel3State_& value) const;
    bool SetString(LPCSTR name, const CString& value);
    bool GetString(LPCSTR name, CString& value) const;
    /// The variant's 16 bytes as they stand, in both directions.
    bool Set(LPCSTR name, const VARIANT& value);
    bool Get(LPCSTR name, VARIANT& value) const;
    /// The stored pointer, without a reference.
    bool GetInterface(LPCSTR name, IUnknown*& value) const;

    // These make the entry, with an empty description, when the name is absent.

    /// Sets a flag entry; an entry of another kind is left alone.
    void SetBool2(LPCSTR name, bool value);
    /// Stores the pointer in an interface entry; an entry of another kind is left alone.
    void SetInterface(LPCSTR name, IUnknown* value);
    /// Makes a variant entry a by-reference variant with no base type (VT_BYREF) holding p;
    /// false for a null name or an entry of another kind.
    bool SetPointer(LPCSTR name, void* p);

    /// What SetPointer stored: null unless the entry is a variant of type VT_BYREF alone.
    void* GetPointer(LPCSTR name) const;
    /// The value of a flag entry; false otherwise.
    bool GetBool2(LPCSTR name) const;
    /// eTrue or eFalse for a flag entry; eUnknown otherwise.
    ENik GetBool3(LPCSTR name) const;

private:
    /// The entry under name when it exists and is of the kind.
    template <class T>
    T* Typed(LPCSTR name, EDictionaryType_Vel type) const {
        Item* item = FindItem(name);
        return item != nullptr && item->m_eType == type ? static_cast<T*>(item) : nullptr;
    }
    template <class T>
    bool SetBasic(LPCSTR name, EDictionaryType_Vel type, T value) {
        ItemBasic* item = Typed<ItemBasic>(name, type);
        if (item != nullptr) {
            item->SetValue(value);
        }
        return item != nullptr;
    }
    template <class T>
    bool GetBasic(LPCSTR name, EDictionaryType_Vel type, T& value) const {
        const ItemBasic* item = Typed<ItemBasic>(name, type);
        if (item != nullptr) {
            value = item->Value<T>();
        }
        return item != nullptr;
    }

    /// Stores the pointer in an existing interface entry.
    bool PutInterface(LPCSTR name, IUnknown* value);
    /// The entry under name, made of the kind when absent; null for a null name or no memory.
    Item* FindOrMake(LPCSTR name, EDictionaryType_Vel type);
    /// Makes and stores an entry under a name not yet present; null when memory runs out.
    Item* Insert(LPCSTR name, EDictionaryType_Vel type, LPCSTR description);
    /// The entry at an index of the walking order, with its name when asked; null outside.
    Item* EntryAt(int index, CString* name) const;
    /// Calls visit(name, item) for the entries in walking order until it returns true, and
    /// returns that entry (null when it never does).
    template <class Visit>
    Item* Walk(Visit visit) const;

    XDictionary_Vel m_xDictionary_Vel{this};
    CMapStringToPtr m_map{10};
    bool m_bOwner;
};

} // namespace plinth
