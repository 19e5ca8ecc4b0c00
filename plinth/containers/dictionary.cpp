#include "plinth/containers/dictionary.h"

#include "plinth/platform/exceptions.h"

#include <new>

namespace plinth {

namespace {

HRESULT Status(bool done) noexcept {
    return done ? S_OK : DISP_E_PARAMNOTOPTIONAL;
}

// Replaces *out by a new OLE string of the text.
HRESULT GiveString(const CString& text, BSTR* out) {
    try {
        text.SetSysString(out);
    } catch (const CMemoryException&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

} // namespace

DictionaryVel::Item::~Item() = default;
DictionaryVel::ItemBasic::~ItemBasic() = default;
DictionaryVel::ItemString::~ItemString() = default;
DictionaryVel::ItemVariant::~ItemVariant() = default;
DictionaryVel::ItemInterface::~ItemInterface() = default;

DictionaryVel::DictionaryVel(bool owner, bool byVal)
    : m_bOwner(owner) {
    SetByVal(byVal, byVal);
}

DictionaryVel::~DictionaryVel() {
    Clear();
}

HRESULT DictionaryVel::QueryInterface(REFIID iid, void** ppv) {
    return QueryOuterInterface(this, iid, ppv, m_xDictionary_Vel);
}

template <class Visit>
DictionaryVel::Item* DictionaryVel::Walk(Visit visit) const {
    for (const auto& [name, item] : m_map) {
        if (visit(name, static_cast<Item*>(item))) {
            return static_cast<Item*>(item);
        }
    }
    return nullptr;
}

void DictionaryVel::Clear() {
    Walk([](const CString& /*name*/, Item* item) {
        delete item;
        return false;
    });
    m_map.RemoveAll();
}

DictionaryVel::Item* DictionaryVel::CreateNewItem(EDictionaryType_Vel type) noexcept {
    switch (type) {
    case eDictString:
        return new (std::nothrow) ItemString();
    case eDictVariant:
        return new (std::nothrow) ItemVariant();
    case eDictInterface:
        return new (std::nothrow) ItemInterface();
    default:
        return new (std::nothrow) ItemBasic(type);
    }
}

EDictionaryType_Vel DictionaryVel::IntToType(int value) noexcept {
    switch (value) {
    case eDictInt:
    case eDictDouble:
    case eDictBool:
    case eDictString:
    case eDictVariant:
    case eDictInterface:
        return static_cast<EDictionaryType_Vel>(value);
    default:
        return eDictNone;
    }
}

bool DictionaryVel::AddItem(LPCSTR name, EDictionaryType_Vel type, LPCSTR description) {
    if (name == nullptr || type == eDictNone || IsIn(name)) {
        return false;
    }
    return Insert(name, type, description) != nullptr;
}

DictionaryVel::Item* DictionaryVel::Insert(LPCSTR name, EDictionaryType_Vel type,
                                           LPCSTR description) {
    Item* item = CreateNewItem(type);
    if (item == nullptr) {
        return nullptr;
    }
    try {
        if (description != nullptr) {
            item->m_strDescription = description;
        }
        m_map.SetAt(name, item);
    } catch (const CMemoryException&) {
        delete item;
        return nullptr;
    }
    return item;
}

DictionaryVel::Item* DictionaryVel::FindOrMake(LPCSTR name, EDictionaryType_Vel type) {
    if (name == nullptr) {
        return nullptr;
    }
    Item* item = FindItem(name);
    return item != nullptr ? item : Insert(name, type, nullptr);
}

DictionaryVel::Item* DictionaryVel::FindItem(LPCSTR name) const {
    void* item = nullptr;
    if (name == nullptr || !m_map.Lookup(name, item)) {
        return nullptr;
    }
    return static_cast<Item*>(item);
}

EDictionaryType_Vel DictionaryVel::GetParamType(LPCSTR name) const {
    const Item* item = FindItem(name);
    return item != nullptr ? item->m_eType : eDictNone;
}

bool DictionaryVel::GetParamDescription(LPCSTR name, CString& description) const {
    const Item* item = Typed<Item>(name, eDictString);
    if (item != nullptr) {
        description = item->m_strDescription;
    }
    return item != nullptr;
}

int DictionaryVel::GetParamCount(EDictionaryType_Vel type) const {
    if (type == eDictNone) {
        return static_cast<int>(m_map.GetCount());
    }
    int count = 0;
    Walk([type, &count](const CString& /*name*/, const Item* item) {
        count += item->m_eType == type ? 1 : 0;
        return false;
    });
    return count;
}

DictionaryVel::Item* DictionaryVel::EntryAt(int index, CString* name) const {
    int i = 0;
    return Walk([index, name, &i](const CString& key, const Item* /*item*/) {
        if (i++ != index) {
            return false;
        }
        if (name != nullptr) {
            *name = key;
        }
        return true;
    });
}

DictionaryVel::Item* DictionaryVel::GetItem(int index) const {
    return EntryAt(index, nullptr);
}

CString DictionaryVel::GetParamName(int index) const {
    CString name;
    EntryAt(index, &name);
    return name;
}

bool DictionaryVel::Get3State(LPCSTR name, Vel3State_& value) const {
    int stored = 0;
    if (!GetBasic(name, eDict3State, stored)) {
        return false;
    }
    value = TriStateAlg::IntTo3State(stored);
    return true;
}

bool DictionaryVel::SetString(LPCSTR name, const CString& value) {
    ItemString* item = Typed<ItemString>(name, eDictString);
    if (item != nullptr) {
        item->m_strValue = value;
    }
    return item != nullptr;
}

bool DictionaryVel::GetString(LPCSTR name, CString& value) const {
    const ItemString* item = Typed<ItemString>(name, eDictString);
    if (item != nullptr) {
        value = item->m_strValue;
    }
    return item != nullptr;
}

bool DictionaryVel::Set(LPCSTR name, const VARIANT& value) {
    ItemVariant* item = Typed<ItemVariant>(name, eDictVariant);
    if (item != nullptr) {
        std::memcpy(&item->m_varValue, &value, sizeof(VARIANT));
    }
    return item != nullptr;
}

bool DictionaryVel::Get(LPCSTR name, VARIANT& value) const {
    const ItemVariant* item = Typed<ItemVariant>(name, eDictVariant);
    if (item != nullptr) {
        std::memcpy(&value, &item->m_varValue, sizeof(VARIANT));
    }
    return item != nullptr;
}

bool DictionaryVel::GetInterface(LPCSTR name, IUnknown*& value) const {
    const ItemInterface* item = Typed<ItemInterface>(name, eDictInterface);
    if (item != nullptr) {
        value = item->m_pInterface;
    }
    return item != nullptr;
}

bool DictionaryVel::PutInterface(LPCSTR name, IUnknown* value) {
    ItemInterface* item = Typed<ItemInterface>(name, eDictInterface);
    if (item != nullptr) {
        item->m_pInterface = value;
    }
    return item != nullptr;
}

void DictionaryVel::SetBool2(LPCSTR name, bool value) {
    FindOrMake(name, eDictBool);
    SetBool(name, value);
}

void DictionaryVel::SetInterface(LPCSTR name, IUnknown* value) {
    FindOrMake(name, eDictInterface);
    PutInterface(name, value);
}

bool DictionaryVel::SetPointer(LPCSTR name, void* p) {
    FindOrMake(name, eDictVariant);
    ItemVariant* item = Typed<ItemVariant>(name, eDictVariant);
    if (item == nullptr) {
        return false;
    }
    item->m_varValue.vt = VT_BYREF;
    item->m_varValue.wReserved1 = 0;
    item->m_varValue.byref = p;
    return true;
}

void* DictionaryVel::GetPointer(LPCSTR name) const {
    const ItemVariant* item = Typed<ItemVariant>(name, eDictVariant);
    if (item == nullptr || item->m_varValue.vt != VT_BYREF || item->m_varValue.wReserved1 != 0) {
        return nullptr;
    }
    return item->m_varValue.byref;
}

bool DictionaryVel::GetBool2(LPCSTR name) const {
    bool value = false;
    return GetBool(name, value) && value;
}

ENik DictionaryVel::GetBool3(LPCSTR name) const {
    bool value = false;
    if (!GetBool(name, value)) {
        return eUnknown;
    }
    return value ? eTrue : eFalse;
}

// ---- IDictionary_Vel

template <class Access>
HRESULT DictionaryVel::XDictionary_Vel::MakeThen(LPCSTR name, EDictionaryType_Vel type,
                                                 Access access) {
    if (This().FindOrMake(name, type) == nullptr) {
        return E_OUTOFMEMORY;
    }
    return Status(access());
}

HRESULT DictionaryVel::XDictionary_Vel::GetParamCount(int type, int* count) {
    if (count == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *count = This().GetParamCount(IntToType(type));
    return S_OK;
}

HRESULT DictionaryVel::XDictionary_Vel::GetParamName(int index, BSTR* name) {
    if (name == nullptr) {
        return S_OK;
    }
    const CString text = This().GetParamName(index);
    return text.IsEmpty() ? DISP_E_BADINDEX : GiveString(text, name);
}

HRESULT DictionaryVel::XDictionary_Vel::GetParamDescription(LPCSTR name, BSTR* description) {
    if (description == nullptr) {
        return S_OK;
    }
    CString text;
    if (!This().GetParamDescription(name, text)) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return GiveString(text, description);
}

HRESULT DictionaryVel::XDictionary_Vel::GetParamType(LPCSTR name, EDictionaryType_Vel* type) {
    if (type == nullptr) {
        return S_OK;
    }
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *type = This().GetParamType(name);
    return S_OK;
}

HRESULT DictionaryVel::XDictionary_Vel::GetInt(LPCSTR name, int* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return value == nullptr ? S_OK : Status(This().GetInt(name, *value));
}

HRESULT DictionaryVel::XDictionary_Vel::SetInt(LPCSTR name, int value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return MakeThen(name, eDictInt, [&] { return This().SetInt(name, value); });
}

HRESULT DictionaryVel::XDictionary_Vel::GetDouble(LPCSTR name, double* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return value == nullptr ? S_OK : Status(This().GetDouble(name, *value));
}

HRESULT DictionaryVel::XDictionary_Vel::SetDouble(LPCSTR name, double value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return MakeThen(name, eDictDouble, [&] { return This().SetDouble(name, value); });
}

HRESULT DictionaryVel::XDictionary_Vel::GetBool(LPCSTR name, VARIANT_BOOL* value) {
    if (value == nullptr) {
        return S_OK;
    }
    bool flag = false;
    if (!This().GetBool(name, flag)) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *value = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT DictionaryVel::XDictionary_Vel::SetBool(LPCSTR name, VARIANT_BOOL value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return MakeThen(name, eDictBool, [&] { return This().SetBool(name, value != 0); });
}

HRESULT DictionaryVel::XDictionary_Vel::Get3State(LPCSTR name, int* value) {
    if (value == nullptr) {
        return S_OK;
    }
    Vel3State_ state = eVel3False;
    if (!This().Get3State(name, state)) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    *value = state;
    return S_OK;
}

HRESULT DictionaryVel::XDictionary_Vel::Set3State(LPCSTR name, int value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return MakeThen(name, eDict3State,
                    [&] { return This().Set3State(name, static_cast<Vel3State_>(value)); });
}

HRESULT DictionaryVel::XDictionary_Vel::GetString(LPCSTR name, BSTR* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (value == nullptr) {
        return S_OK;
    }
    CString text;
    const HRESULT hr = MakeThen(name, eDictString, [&] { return This().GetString(name, text); });
    return FAILED(hr) ? hr : GiveString(text, value);
}

HRESULT DictionaryVel::XDictionary_Vel::SetString(LPCSTR name, LPCSTR value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (value == nullptr) {
        return S_OK;
    }
    return MakeThen(name, eDictString, [&] { return This().SetString(name, value); });
}

HRESULT DictionaryVel::XDictionary_Vel::Get(LPCSTR name, VARIANT* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    return value == nullptr ? S_OK : Status(This().Get(name, *value));
}

HRESULT DictionaryVel::XDictionary_Vel::Set(LPCSTR name, const VARIANT* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (value == nullptr) {
        return S_OK;
    }
    return MakeThen(name, eDictVariant, [&] { return This().Set(name, *value); });
}

HRESULT DictionaryVel::XDictionary_Vel::GetInterface(LPCSTR name, IUnknown** value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (value != nullptr) {
        This().GetInterface(name, *value);
    }
    return S_OK;
}

HRESULT DictionaryVel::XDictionary_Vel::SetInterface(LPCSTR name, IUnknown* value) {
    if (name == nullptr) {
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (value == nullptr) {
        return S_OK;
    }
    return MakeThen(name, eDictInterface, [&] { return This().PutInterface(name, value); });
}

} // namespace plinth
