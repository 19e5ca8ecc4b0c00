#include "plinth/containers/void_ptr_list.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plinth;

namespace {

char g_letters[] = "abcde";

// Appends one element per letter (the same letter is the same pointer); their positions.
std::vector<POSITION> Fill(RtVoidPtrList& list, const char* letters) {
    std::vector<POSITION> positions;
    for (const char* p = letters; *p != '\0'; ++p) {
        positions.push_back(list.AddTail(&g_letters[*p - 'a']));
    }
    return positions;
}

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
    const std::vector<POSITION> p = Fill(list, "abc");
    POSITION pos = p[2];
    EXPECT_EQ(list.GetNextCyclic(pos), &g_letters[2]);
    EXPECT_EQ(pos, p[0]);
    EXPECT_EQ(list.GetPrevCyclic(pos), &g_letters[0]);
    EXPECT_EQ(pos, p[2]);
    list.Next(pos, true); // not cyclic: past the end
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetNextCyclic(pos), nullptr); // a null position stays
    EXPECT_EQ(pos, nullptr);
    EXPECT_THROW(list.GetPrevCyclic(pos), CInvalidArgException);
    EXPECT_THROW(list.Next(pos, false, true), CInvalidArgException);
    EXPECT_THROW(list.GetAtVirt(nullptr), CInvalidArgException);

    EXPECT_EQ(list.Count(p[0], p[0]), 1);
    EXPECT_EQ(list.Count(p[1], p[0]), 3);
    EXPECT_EQ(list.Count(nullptr, p[0]), 0);
    EXPECT_EQ(list.Count(p[0], nullptr), 3); // never met: one round
}

TEST(RtVoidPtrList, RangesAndPositionsAfterRemovals) {
    RtVoidPtrList list;
    const std::vector<POSITION> p = Fill(list, "abcde");
    list.Remove(p[1], p[3]);
    EXPECT_EQ(Text(list), "ae");
    EXPECT_TRUE(list.IsNeighbourPosns(p[0], p[4]));  // untouched positions stay valid
    EXPECT_FALSE(list.IsNeighbourPosns(p[4], p[0])); // no wrap-around
    EXPECT_EQ(glcPosnToIndexNoType(&list, p[4]), 1);
    list.Remove(p[4], p[0]); // `to` comes first: up to the tail
    EXPECT_EQ(Text(list), "a");
    RtVoidPtrList other;
    EXPECT_EQ(glcPosnToIndexNoType(&other, p[0]), -1);
    EXPECT_EQ(glcPosnToIndexNoType(&list, Fill(other, "a")[0]), -1);

    RtVoidPtrList abc;
    const std::vector<POSITION> q = Fill(abc, "abc");
    other.CopyCyclic(abc, q[2], q[0]);
    EXPECT_EQ(Text(other), "aca");
    abc.CopyCyclic(abc, q[1], q[0]); // wraps at the old tail
    EXPECT_EQ(Text(abc), "abcbca");
    abc.RemoveCyclic(abc.GetTailPosition(), q[1]); // a, then a and b
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
    list.SetAt(list.GetHeadPosition(), &g_letters[0]);
    EXPECT_TRUE(list.IsValidList());

    EXPECT_TRUE(RtVoidPtrList::CheckDuplicates(&list));
    const std::vector<POSITION> p = Fill(list, "bcb");
    POSITION pair[2] = {nullptr, nullptr};
    EXPECT_TRUE(RtVoidPtrList::FindDuplicates(&list, pair));
    EXPECT_EQ(pair[0], p[0]);
    EXPECT_EQ(pair[1], p[2]);
    EXPECT_FALSE(RtVoidPtrList::CheckDuplicates(&list));
    EXPECT_FALSE(RtVoidPtrList::FindDuplicates(nullptr, pair));
}

TEST(RtVoidPtrList, InterfacesShareTheListsOwnCount) {
    g_deleted.clear();
    auto* list = new RtVoidPtrList(true, RecordDelete);
    Element first;
    list->AddTail(static_cast<IUnknown*>(&first));
    list->AddTail(&g_letters[1]);

    void* out = &g_letters[0];
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
    iter->GetNext(&pos);
    EXPECT_EQ(iter->GetNext(&pos), S_OK);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(iter->GetNext(&pos), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(ilist->GetAt(pos, &out), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(ilist->GetAt(pos, nullptr), S_OK); // a null out-pointer wins
    iter->GetTailPosition(&pos);
    EXPECT_EQ(iter->GetPrev(&pos), S_OK);
    EXPECT_EQ(pos, list->GetHeadPosition());

    for (int i = 0; i < 3; ++i) {
        iter->Release();
    }
    EXPECT_TRUE(g_deleted.empty());
    ilist->Release(); // the last reference deletes the list, calling back for each element
    EXPECT_EQ(g_deleted, (std::vector<void*>{static_cast<IUnknown*>(&first), &g_letters[1]}));
    EXPECT_EQ(first.m_nRef, 2u); // elements are never released by the list
}
