#include "plinth/containers/dictionary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace plinth;

namespace {

std::u16string Text(BSTR b) {
    return std::u16string(b, SysStringLen(b));
}

// The dictionary's interface, which the caller releases.
IDictionary_Vel* Interface(DictionaryVel& dict) {
    void* out = nullptr;
    dict.QueryInterface(IID_IDictionary_Vel, &out);
    return static_cast<IDictionary_Vel*>(out);
}

constexpr HRESULT kNotOptional = DISP_E_PARAMNOTOPTIONAL;

} // namespace

TEST(DictionaryVel, EntriesAreMadeOnceWithAFixedKind) {
    const std::unique_ptr<DictionaryVel::Item> odd(
        DictionaryVel::CreateNewItem(static_cast<EDictionaryType_Vel>(99)));
    EXPECT_NE(dynamic_cast<DictionaryVel::ItemBasic*>(odd.get()), nullptr);
    EXPECT_EQ(odd->m_eType, 99);
    for (int i : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8}) {
        EXPECT_EQ(DictionaryVel::IntToType(i), i >= 1 && i <= 7 && i != 4 ? i : 0);
    }

    DictionaryVel dict(false, true);
    EXPECT_TRUE(dict.AddItem("n", eDictInt, "first"));
    EXPECT_FALSE(dict.AddItem("n", eDictString, "second"));
    EXPECT_FALSE(dict.AddItem(nullptr, eDictInt, nullptr));
    EXPECT_FALSE(dict.AddItem("z", eDictNone, nullptr));
    EXPECT_EQ(dict.GetParamType("n"), eDictInt);
    EXPECT_EQ(dict.FindItem("n")->m_strDescription, "first");
    EXPECT_EQ(dict.GetParamType("N"), eDictNone); // names are case-sensitive

    CString description("unchanged");
    EXPECT_FALSE(dict.GetParamDescription("n", description)); // string entries only
    EXPECT_EQ(description, "unchanged");
    EXPECT_TRUE(dict.AddItem("s", eDictString, nullptr));
    EXPECT_TRUE(dict.GetParamDescription("s", description));
    EXPECT_EQ(description, "");
    EXPECT_EQ(dict.GetItem(0), dict.FindItem(dict.GetParamName(0)));
    EXPECT_EQ(dict.GetItem(-1), nullptr);
    EXPECT_EQ(dict.GetParamName(2), ""); // past the last entry
}

TEST(DictionaryVel, TypedAccessActsOnlyOnItsOwnKind) {
    DictionaryVel dict;
    dict.AddItem("d", eDictDouble, nullptr);
    dict.AddItem("t", eDict3State, nullptr);
    int n = -5;
    EXPECT_FALSE(dict.SetInt("d", 7));
    EXPECT_FALSE(dict.GetInt("d", n));
    EXPECT_EQ(n, -5);
    EXPECT_FALSE(dict.SetInt(nullptr, 1));

    Vel3State_ state = eVel3True;
    EXPECT_TRUE(dict.Get3State("t", state));
    EXPECT_EQ(state, eVel3False); // made as zero
    for (const int stored : {-1, 5, 1}) {
        dict.Set3State("t", static_cast<Vel3State_>(stored));
        dict.Get3State("t", state);
        EXPECT_EQ(state, stored == 5 ? eVel3False : stored); // only -1 and 1 keep their meaning
    }

    dict.SetBool2("b", true); // made when absent
    EXPECT_EQ(dict.GetParamType("b"), eDictBool);
    EXPECT_EQ(dict.GetBool3("b"), eTrue);
    EXPECT_EQ(dict.GetBool3("t"), eUnknown);
    dict.SetBool2("d", true); // another kind is left alone
    EXPECT_FALSE(dict.GetBool2("d"));
    EXPECT_EQ(dict.GetParamCount(eDictNone), 3);
    EXPECT_EQ(dict.GetParamCount(eDict3State), 1);
}

TEST(DictionaryVel, VariantsPointersAndInterfacesAreNotOwned) {
    DictionaryVel dict;
    int target = 0;
    EXPECT_TRUE(dict.SetPointer("p", &target));
    EXPECT_EQ(dict.GetPointer("p"), &target);
    VARIANT v;
    std::memset(&v, 0xCC, sizeof v);
    EXPECT_TRUE(dict.Get("p", v));
    EXPECT_EQ(v.vt, VT_BYREF);
    EXPECT_EQ(v.wReserved1, 0);

    v.vt = VT_I4; // every byte goes in and out as it stands
    EXPECT_TRUE(dict.Set("p", v));
    EXPECT_EQ(dict.GetPointer("p"), nullptr);
    VARIANT back{};
    dict.Get("p", back);
    EXPECT_EQ(std::memcmp(&v, &back, sizeof v), 0);
    v.vt = VT_BYREF; // right type, but the word after it is not zero
    v.wReserved1 = 1;
    dict.Set("p", v);
    EXPECT_EQ(dict.GetPointer("p"), nullptr);
    dict.AddItem("i", eDictInt, nullptr);
    EXPECT_FALSE(dict.SetPointer("i", &target));

    DictionaryVel other(true, true); // any counted object will do
    IUnknown* unknown = Interface(other);
    dict.SetInterface("u", unknown);
    IUnknown* out = nullptr;
    EXPECT_TRUE(dict.GetInterface("u", out));
    EXPECT_EQ(out, unknown);
    dict.Clear();
    EXPECT_EQ(other.GetRef(), 1u); // neither referenced nor released
    unknown->Release();
}

TEST(DictionaryVel, InterfaceStatusRules) {
    DictionaryVel dict(true, true);
    IDictionary_Vel* itf = Interface(dict);

    // Out-pointer before name: a null out-pointer wins over a null name.
    EXPECT_EQ(itf->GetParamDescription(nullptr, nullptr), S_OK);
    EXPECT_EQ(itf->GetParamType(nullptr, nullptr), S_OK);
    EXPECT_EQ(itf->GetBool(nullptr, nullptr), S_OK);
    EXPECT_EQ(itf->Get3State(nullptr, nullptr), S_OK);
    // Name first.
    EXPECT_EQ(itf->GetInt(nullptr, nullptr), kNotOptional);
    EXPECT_EQ(itf->GetInterface(nullptr, nullptr), kNotOptional);
    EXPECT_EQ(itf->SetString(nullptr, nullptr), kNotOptional);
    // A null out-pointer or value does nothing; GetParamCount alone refuses it.
    EXPECT_EQ(itf->GetString("s", nullptr), S_OK);
    EXPECT_EQ(itf->SetString("s", nullptr), S_OK);
    EXPECT_EQ(itf->Set("v", nullptr), S_OK);
    EXPECT_EQ(itf->GetParamName(0, nullptr), S_OK);
    EXPECT_EQ(itf->GetParamCount(0, nullptr), kNotOptional);
    EXPECT_EQ(dict.GetParamCount(eDictNone), 0);

    // Setters make their entry; getters on an absent or mistyped entry refuse.
    int n = 0;
    EXPECT_EQ(itf->GetInt("i", &n), kNotOptional);
    EXPECT_EQ(itf->SetInt("i", 4), S_OK);
    EXPECT_EQ(itf->SetDouble("i", 1.0), kNotOptional);
    EXPECT_EQ(itf->SetBool("b", 2), S_OK);
    VARIANT_BOOL flag = 0;
    EXPECT_EQ(itf->GetBool("b", &flag), S_OK);
    EXPECT_EQ(static_cast<WORD>(flag), 0xFFFF);
    EXPECT_EQ(itf->Set3State("t", 5), S_OK);
    EXPECT_EQ(itf->Get3State("t", &n), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(itf->GetParamCount(4, &n), S_OK); // 4 means every entry here
    EXPECT_EQ(n, 3);
    EDictionaryType_Vel type = eDictInt;
    EXPECT_EQ(itf->GetParamType("absent", &type), S_OK);
    EXPECT_EQ(type, eDictNone);

    IUnknown* got = itf;
    EXPECT_EQ(itf->GetInterface("absent", &got), S_OK);
    EXPECT_EQ(got, itf); // left alone
    EXPECT_EQ(itf->SetInterface("i", itf), kNotOptional);
    itf->Release();
}

// The query rules themselves belong to the nested-interface layer; here only the wiring.
TEST(DictionaryVel, InterfaceKeepsTheDictionaryAndGivesNewOleStrings) {
    auto* dict = new DictionaryVel;
    IDictionary_Vel* itf = Interface(*dict);
    ASSERT_NE(itf, nullptr);
    dict->Release(); // the creator lets go; the interface keeps it
    void* out = nullptr;
    ASSERT_EQ(itf->QueryInterface(IID_ImplObject, &out), S_OK);
    EXPECT_EQ(out, dict);

    BSTR text = nullptr;
    EXPECT_EQ(itf->GetString("s", &text), S_OK); // makes an empty string entry
    EXPECT_EQ(Text(text), u"");
    EXPECT_EQ(dict->GetParamType("s"), eDictString);
    // Each call replaces (and frees) the string the out-pointer held.
    EXPECT_EQ(itf->SetString("s", "hello"), S_OK);
    EXPECT_EQ(itf->GetString("s", &text), S_OK);
    EXPECT_EQ(itf->GetString("s", &text), S_OK);
    EXPECT_EQ(Text(text), u"hello");

    dict->AddItem("d", eDictString, "described");
    EXPECT_EQ(itf->GetParamDescription("d", &text), S_OK);
    EXPECT_EQ(Text(text), u"described");
    EXPECT_EQ(itf->GetParamName(2, &text), DISP_E_BADINDEX);
    EXPECT_EQ(itf->GetParamName(0, &text), S_OK);
    EXPECT_EQ(Text(text).size(), 1u);
    SysFreeString(text);
    itf->Release(); // deleted with its entries: the sanitizer sees any leak
}
