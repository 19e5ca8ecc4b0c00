#include "support/counting_unknown.h"

#include "plinth/frame/list_oi.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plinth;
using plinth::testing::CountingUnknown;

namespace {

char g_letters[] = "abcde";

CObject* Letter(char c) {
    return reinterpret_cast<CObject*>(&g_letters[c - 'a']);
}

// Appends one element per letter; their positions.
std::vector<POSITION> Fill(ListOI& list, const char* letters) {
    for (const char* p = letters; *p != '\0'; ++p) {
        list.AddTail(Letter(*p));
    }
    std::vector<POSITION> positions;
    for (POSITION pos = list.GetStartPosition(true); pos != nullptr; list.Next(pos, true)) {
        positions.push_back(pos);
    }
    return positions;
}

std::string Text(const CObList* list) {
    std::string text;
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
        text += *reinterpret_cast<const char*>(list->GetNext(pos));
    }
    return text;
}

template <class Itf>
Itf* Query(IUnknown& from, REFIID iid = Itf::kIid) {
    void* out = nullptr;
    EXPECT_EQ(from.QueryInterface(iid, &out), S_OK);
    return static_cast<Itf*>(out);
}

// The element two nodes on from pos.
void* SkipOne(void* list, POSITION pos) {
    static_cast<CObList*>(list)->GetNext(pos);
    return static_cast<CObList*>(list)->GetAt(pos);
}

const IID IID_IOwned = {0x0E, 0, 0, {0, 0, 0, 0, 0, 0, 0, 9}};

} // namespace

TEST(ListOI, CountStartsAtZeroAndTheLastReleaseFreesUnlessByValue) {
    auto* adapter = new ListOI(false, true);
    EXPECT_EQ(adapter->GetRef(), 0u);
    auto* list = Query<IList>(*adapter);
    auto* iterator = Query<IIterator>(*list); // through the list's forwarding
    EXPECT_EQ(adapter->GetRef(), 2u);
    EXPECT_EQ(iterator->Release(), 1u);
    EXPECT_EQ(list->Release(), 0u); // freed with its list (the sanitizer checks)

    ListOI onStack(true);
    onStack.SetByVal(); // at 0 already: only marks it
    EXPECT_EQ(onStack.GetRef(), 0u);
    list = Query<IList>(onStack);
    EXPECT_EQ(list->Release(), 0u);
    EXPECT_EQ(Query<IIterator>(onStack)->Release(), 0u); // still there
}

TEST(ListOI, AnswersItsTwoInterfacesAndSendsTheRestToItsOwner) {
    ListOI adapter(false, true);
    adapter.SetByVal();
    void* out = &adapter;
    EXPECT_EQ(adapter.QueryInterface(IID_IList, nullptr), DISP_E_PARAMNOTOPTIONAL);
    for (const IID* iid : {&IID_IUnknown, &IID_ImplObject, &IID_IOwned}) {
        out = &adapter;
        EXPECT_EQ(adapter.QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    // The nested objects answer IUnknown with themselves.
    auto* list = Query<IList>(adapter);
    auto* iterator = Query<IIterator>(adapter);
    EXPECT_EQ(Query<IUnknown>(*list, IID_IUnknown), static_cast<IUnknown*>(list));
    EXPECT_EQ(Query<IUnknown>(*iterator, IID_IUnknown), static_cast<IUnknown*>(iterator));
    EXPECT_EQ(Query<IIterator>(*list), iterator);
    EXPECT_EQ(adapter.GetRef(), 5u);

    CountingUnknown owner(IID_IOwned);
    CountingUnknown second;
    {
        ListOI owned(false);
        owned.AttachOwner(&owner);
        EXPECT_EQ(owner.m_nRef, 2u);
        EXPECT_EQ(Query<IUnknown>(owned, IID_IUnknown), static_cast<IUnknown*>(&owner));
        owner.Release();
        out = &owned;
        EXPECT_EQ(owned.QueryInterface(IID_IDictionary_Vel, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        // From a nested object too, for what it does not answer itself.
        EXPECT_EQ(Query<IUnknown>(*Query<IList>(owned), IID_IUnknown),
                  static_cast<IUnknown*>(Query<IList>(owned)));
        out = nullptr;
        EXPECT_EQ(Query<IIterator>(owned)->QueryInterface(IID_IOwned, &out), S_OK);
        EXPECT_EQ(out, static_cast<IUnknown*>(&owner));
        owner.Release();

        // Another owner leaves the first one's reference taken.
        owned.AttachOwner(&second);
        owned.SetByVal();
    }
    EXPECT_EQ(owner.m_nRef, 2u); // the reference its holder gives back
    EXPECT_EQ(second.m_nRef, 1u);
}

TEST(ListOI, ElementsComeThroughTheAccessorWithAReferenceForInterfaces) {
    CObList objects;
    CountingUnknown first;
    CountingUnknown second;
    objects.AddTail(reinterpret_cast<CObject*>(static_cast<IUnknown*>(&first)));
    objects.AddTail(reinterpret_cast<CObject*>(static_cast<IUnknown*>(&second)));
    objects.AddTail(static_cast<CObject*>(nullptr));

    ListOI adapter(&objects, nullptr, true);
    adapter.SetByVal();
    IList* list = Query<IList>(adapter);
    IIterator* iterator = nullptr;
    EXPECT_EQ(list->GetIterator(nullptr), DISP_E_PARAMNOTOPTIONAL);
    ASSERT_EQ(list->GetIterator(&iterator), S_OK);

    POSITION pos = nullptr;
    LONG count = 0;
    EXPECT_EQ(iterator->GetCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(iterator->GetHeadPosition(&pos), S_OK);
    void* element = nullptr;
    EXPECT_EQ(list->GetAt(pos, &element), S_OK);
    EXPECT_EQ(element, static_cast<IUnknown*>(&first));
    EXPECT_EQ(first.m_nRef, 2u);                // the caller's to release
    EXPECT_EQ(list->GetAt(pos, nullptr), S_OK); // nothing done
    EXPECT_EQ(first.m_nRef, 2u);
    EXPECT_EQ(list->GetAt(nullptr, &element), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(iterator->GetTailPosition(&pos), S_OK);
    EXPECT_EQ(list->GetAt(pos, &element), S_OK); // a null element takes no reference
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(iterator->GetPrev(&pos), S_OK);
    EXPECT_EQ(iterator->GetPrev(nullptr), DISP_E_PARAMNOTOPTIONAL);

    // The accessor decides what is handed out: here the element after pos.
    ListOI skipping(&objects, &SkipOne, true);
    skipping.SetByVal();
    EXPECT_EQ(Query<IList>(skipping)->GetAt(objects.GetHeadPosition(), &element), S_OK);
    EXPECT_EQ(element, static_cast<IUnknown*>(&second));
    EXPECT_EQ(second.m_nRef, 2u);

    // Without the interface flag, elements are handed out as they are.
    ListOI plain(&objects, nullptr, false);
    plain.SetByVal();
    EXPECT_EQ(Query<IList>(plain)->GetAt(objects.GetHeadPosition(), &element), S_OK);
    EXPECT_EQ(first.m_nRef, 2u);
}

TEST(ListOI, WithoutAListNothingCrashes) {
    ListOI adapter;
    adapter.SetByVal();
    IList* list = Query<IList>(adapter);
    IIterator* iterator = Query<IIterator>(adapter);
    POSITION pos = reinterpret_cast<POSITION>(&adapter);
    void* element = nullptr;
    LONG count = -1;
    EXPECT_EQ(list->GetAt(pos, &element), E_UNEXPECTED);
    EXPECT_EQ(iterator->GetCount(&count), E_UNEXPECTED);
    EXPECT_EQ(iterator->GetCount(nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(iterator->GetHeadPosition(&pos), E_UNEXPECTED);
    EXPECT_EQ(iterator->GetNext(&pos), E_UNEXPECTED);
    EXPECT_EQ(count, -1);

    EXPECT_EQ(adapter.GetStartPosition(true), nullptr);
    EXPECT_TRUE(adapter.IsValidList());
    EXPECT_EQ(adapter.Next(pos, true), nullptr);
    EXPECT_EQ(adapter.Next(pos, false, true), nullptr);
    EXPECT_EQ(adapter.GetPrevCyclic(pos), nullptr);
    EXPECT_EQ(pos, reinterpret_cast<POSITION>(&adapter));
    EXPECT_EQ(adapter.GetAtVirt(pos), nullptr);
    EXPECT_EQ(adapter.Count(pos, pos), 0);
    EXPECT_FALSE(adapter.IsNeighbourPosns(pos, pos));
    adapter.AddTail(Letter('a'));
    adapter.Remove(pos, pos);
    adapter.RemoveCyclic(pos, pos);
    ListOI source(false, true);
    Fill(source, "ab");
    adapter.CopyCyclic(source, source.GetStartPosition(true), source.GetStartPosition(false));
    source.CopyCyclic(adapter, pos, pos);
    EXPECT_EQ(Text(source.GetList()), "ab");
}

TEST(ListOI, WalksAndRangesFollowThePointerListRules) {
    ListOI adapter(false, true);
    std::vector<POSITION> p = Fill(adapter, "abc");
    EXPECT_TRUE(adapter.IsValidList());
    EXPECT_EQ(adapter.Count(p[1], p[0]), 3);
    EXPECT_TRUE(adapter.IsNeighbourPosns(p[0], p[1]));
    POSITION pos = p[2];
    EXPECT_EQ(adapter.GetNextCyclic(pos), Letter('c'));
    EXPECT_EQ(pos, p[0]);
    EXPECT_EQ(adapter.GetPrevCyclic(pos), Letter('a'));
    EXPECT_EQ(pos, p[2]);
    EXPECT_EQ(adapter.Next(pos, true, false), Letter('c'));
    EXPECT_EQ(pos, nullptr);
    EXPECT_THROW(adapter.Next(pos, true), CInvalidArgException);
    EXPECT_THROW(adapter.GetAtVirt(nullptr), CInvalidArgException);

    ListOI copyTo(false, true);
    copyTo.CopyCyclic(adapter, p[2], p[0]);
    EXPECT_EQ(Text(copyTo.GetList()), "ca");
    adapter.RemoveCyclic(p[2], p[0]);
    EXPECT_EQ(Text(adapter.GetList()), "b");
    p = Fill(adapter, "cd");
    adapter.Remove(p[1], p[0]); // `to` lies behind: up to the tail
    EXPECT_EQ(Text(adapter.GetList()), "b");
}

TEST(ListOI, ACopyOwnsAListOfItsOwnAndItsOwnOwnerReference) {
    CountingUnknown owner;
    auto* source = new ListOI(false, true);
    Fill(*source, "ab");
    source->AttachOwner(&owner);
    Query<IList>(*source); // count 1 on the source
    auto* copy = new ListOI(*source);
    EXPECT_EQ(copy->GetRef(), 0u);
    EXPECT_EQ(owner.m_nRef, 3u);
    ASSERT_NE(copy->GetList(), source->GetList());
    EXPECT_EQ(Text(copy->GetList()), "ab");

    // The two lists change apart, and each adapter lives on when the other is gone.
    copy->AddTail(Letter('c'));
    EXPECT_EQ(Text(source->GetList()), "ab");
    IList* fromCopy = Query<IList>(*copy);
    source->Release(); // frees the source and its list
    EXPECT_EQ(owner.m_nRef, 2u);
    POSITION pos = copy->GetStartPosition(false);
    void* element = nullptr;
    EXPECT_EQ(fromCopy->GetAt(pos, &element), S_OK);
    EXPECT_EQ(element, Letter('c'));
    fromCopy->Release(); // frees the copy and its list
    EXPECT_EQ(owner.m_nRef, 1u);

    // A copy of a wrapping adapter wraps the same list and frees nothing (the sanitizer checks).
    CObList objects;
    ListOI wrapping(&objects, nullptr, false);
    wrapping.AddTail(Letter('e'));
    {
        ListOI wrapped(wrapping);
        EXPECT_EQ(wrapped.GetList(), &objects);
    }
    EXPECT_EQ(Text(&objects), "e");
}

TEST(ListOI, ConstructClearsWithoutFreeing) {
    CountingUnknown owner;
    CObList objects;
    ListOI adapter(&objects, &SkipOne, true);
    adapter.AttachOwner(&owner);
    Query<IList>(adapter);
    adapter.Construct();
    EXPECT_EQ(adapter.GetRef(), 0u);
    EXPECT_EQ(adapter.GetList(), nullptr);
    EXPECT_FALSE(adapter.HandsOutInterfaces());
    EXPECT_EQ(owner.m_nRef, 2u); // the caller's now
    owner.Release();
    void* out = &owner;
    EXPECT_EQ(adapter.QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
}
