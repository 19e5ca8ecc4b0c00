#include "plinth/containers/void_ptr_list.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plinth;

namespace {

char a = 'a', b = 'b', c = 'c', d = 'd', e = 'e';

// The list's data as text, head to tail.
std::string Text(const CPtrList& list) {
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        text += *static_cast<const char*>(list.GetNext(pos));
    }
    return text;
}

// An interface element that counts its references.
class Element : public IUnknown {
public:
    HRESULT QueryInterface(REFIID /*iid*/, void** ppv) override { return NoInterface(ppv); }
    ULONG AddRef() override { return ++m_nRef; }
    ULONG Release() override { return --m_nRef; }
    ULONG m_nRef = 1;
};

std::vector<void*> g_deleted;
void RecordDelete(void* p) {
    g_deleted.push_back(p);
}

} // namespace

TEST(RtVoidPtrList, CyclicWalksWrapAtTheEnds) {
    RtVoidPtrList list;
    const POSITION pa = list.AddTail(&a);
    list.AddTail(&b);
    const POSITION pc = list.AddTail(&c);

    POSITION pos = pc;
    EXPECT_EQ(list.GetNextCyclic(pos), &c);
    EXPECT_EQ(pos, pa);
    EXPECT_EQ(list.GetPrevCyclic(pos), &a);
    EXPECT_EQ(pos, pc);
    EXPECT_EQ(list.Next(pos, true), &c); // not cyclic: past the end
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetNextCyclic(pos), nullptr); // a null position stays
    EXPECT_EQ(pos, nullptr);
    EXPECT_THROW(list.GetPrevCyclic(pos), CInvalidArgException);
    EXPECT_THROW(list.Next(pos, false, true), CInvalidArgException);
    EXPECT_THROW(list.GetAtVirt(nullptr), CInvalidArgException);

    EXPECT_EQ(list.Count(pa, pa), 1);
    EXPECT_EQ(list.Count(list.FindIndex(1), pa), 3);
    EXPECT_EQ(list.Count(nullptr, pa), 0);
    EXPECT_EQ(list.Count(pa, nullptr), 3); // never met: one round
}

TEST(RtVoidPtrList, RangesAndPositionsAfterRemovals) {
    RtVoidPtrList list;
    const POSITION pa = list.AddTail(&a);
    const POSITION pb = list.AddTail(&b);
    list.AddTail(&c);
    const POSITION pd = list.AddTail(&d);
    const POSITION pe = list.AddTail(&e);
    list.Remove(pb, pd);
    EXPECT_EQ(Text(list), "ae");
    EXPECT_TRUE(list.IsNeighbourPosns(pa, pe));  // untouched positions stay valid
    EXPECT_FALSE(list.IsNeighbourPosns(pe, pa)); // no wrap-around
    EXPECT_EQ(glcPosnToIndexNoType(&list, pe), 1);
    list.Remove(pe, pa); // `to` comes first: up to the tail
    EXPECT_EQ(Text(list), "a");
    RtVoidPtrList other;
    EXPECT_EQ(glcPosnToIndexNoType(&other, pa), -1);
    EXPECT_EQ(glcPosnToIndexNoType(&list, other.AddTail(&a)), -1);

    RtVoidPtrList abc;
    abc.AddTail(&a);
    abc.AddTail(&b);
    const POSITION tail = abc.AddTail(&c);
    other.CopyCyclic(abc, tail, abc.GetHeadPosition());
    EXPECT_EQ(Text(other), "aca");
    abc.CopyCyclic(abc, abc.FindIndex(1), abc.GetHeadPosition()); // wraps at the old tail
    EXPECT_EQ(Text(abc), "abcbca");
    abc.RemoveCyclic(abc.GetTailPosition(), abc.FindIndex(1)); // a, then a and b
    EXPECT_EQ(Text(abc), "cbc");
    abc.RemoveCyclic(abc.GetTailPosition(), abc.GetHeadPosition());
    EXPECT_EQ(Text(abc), "b");
    abc.RemoveCyclic(abc.GetHeadPosition(), nullptr); // never met: all of it
    EXPECT_TRUE(abc.IsEmpty());
}

TEST(RtVoidPtrList, ValidityAndDuplicates) {
    RtVoidPtrList list;
    EXPECT_TRUE(list.IsValidList());
    list.AddTail(static_cast<void*>(nullptr));
    EXPECT_FALSE(list.IsValidList()); // a null head
    list.SetAt(list.GetHeadPosition(), &a);
    EXPECT_TRUE(list.IsValidList());

    const POSITION pb = list.AddTail(&b);
    EXPECT_TRUE(RtVoidPtrList::CheckDuplicates(&list));
    list.AddTail(&c);
    const POSITION pb2 = list.AddTail(&b);
    POSITION pair[2] = {nullptr, nullptr};
    EXPECT_TRUE(RtVoidPtrList::FindDuplicates(&list, pair));
    EXPECT_EQ(pair[0], pb);
    EXPECT_EQ(pair[1], pb2);
    EXPECT_FALSE(RtVoidPtrList::CheckDuplicates(&list));
    EXPECT_FALSE(RtVoidPtrList::FindDuplicates(nullptr, pair));
}

TEST(RtVoidPtrList, InterfacesShareTheListsOwnCount) {
    g_deleted.clear();
    auto* list = new RtVoidPtrList(true, RecordDelete);
    Element first;
    list->AddTail(static_cast<IUnknown*>(&first));
    list->AddTail(&b);

    void* out = &a;
    EXPECT_EQ(list->QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(list->QueryInterface(IID_IList, nullptr), DISP_E_PARAMNOTOPTIONAL);
    ASSERT_EQ(list->QueryInterface(IID_IList, &out), S_OK);
    auto* ilist = static_cast<IList*>(out);
    IIterator* iter = nullptr;
    ASSERT_EQ(ilist->GetIterator(&iter), S_OK);
    ASSERT_EQ(iter->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(iter)); // each nested object answers IUnknown itself
    EXPECT_EQ(list->AddRef(), 4u);

    LONG count = 0;
    POSITION pos = nullptr;
    EXPECT_EQ(iter->GetCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(iter->GetHeadPosition(&pos), S_OK);
    EXPECT_EQ(ilist->GetAt(pos, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(&first));
    EXPECT_EQ(first.m_nRef, 2u); // handed out with a reference
    EXPECT_EQ(iter->GetNext(&pos), S_OK);
    EXPECT_EQ(iter->GetNext(&pos), S_OK);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(iter->GetNext(&pos), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(ilist->GetAt(pos, &out), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(ilist->GetAt(pos, nullptr), S_OK); // a null out-pointer wins
    EXPECT_EQ(iter->GetTailPosition(&pos), S_OK);
    EXPECT_EQ(iter->GetPrev(&pos), S_OK);
    EXPECT_EQ(pos, list->GetHeadPosition());

    for (int i = 0; i < 3; ++i) {
        iter->Release();
    }
    EXPECT_TRUE(g_deleted.empty());
    ilist->Release(); // the last reference deletes the list, calling back for each element
    EXPECT_EQ(g_deleted, (std::vector<void*>{static_cast<IUnknown*>(&first), &b}));
    EXPECT_EQ(first.m_nRef, 2u); // elements are never released by the list
}
