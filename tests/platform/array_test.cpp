#include "plinth/platform/archive.h"
#include "plinth/platform/array.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/typed_ptr.h"

#include <gtest/gtest.h>

#include <vector>

using plinth::CArchive;
using plinth::CArchiveException;
using plinth::CArray;
using plinth::CInvalidArgException;

namespace {

std::vector<int> Values(const CArray<int, int>& array) {
    return std::vector<int>(array.GetData(), array.GetData() + array.GetSize());
}

struct Counted {
    static int live;
    Counted() { ++live; }
    Counted(const Counted& /*other*/) { ++live; }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --live; }
};
int Counted::live = 0;

} // namespace

TEST(Array, IndexesOutsideTheElementsRaiseAndChangeNothing) {
    CArray<int, int> array;
    array.Add(1);
    array.Add(2);
    const CArray<int, int>& view = array;
    for (plinth::INT_PTR bad : {plinth::INT_PTR{-1}, array.GetSize()}) {
        EXPECT_THROW(view.GetAt(bad), CInvalidArgException);
        EXPECT_THROW(array.SetAt(bad, 0), CInvalidArgException);
        EXPECT_THROW(array.ElementAt(bad), CInvalidArgException);
        EXPECT_THROW(array[bad], CInvalidArgException);
    }
    EXPECT_THROW(array.SetSize(-1), CInvalidArgException);
    EXPECT_THROW(array.InsertAt(0, 0, 0), CInvalidArgException);
    EXPECT_THROW(array.InsertAt(0, static_cast<CArray<int, int>*>(nullptr)), CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(array.RemoveAt(0, -1), CInvalidArgException);
    EXPECT_EQ(Values(array), (std::vector<int>{1, 2}));
}

TEST(TypedPtrArray, SetAtGrowAppendsAtTheCountAndGrowsBeyond) {
    plinth::CObArray plain;
    plinth::CTypedPtrArray<plinth::CObArray, plinth::CObArray*> arrays;
    arrays.SetAtGrow(0, &plain);
    arrays.SetAtGrow(3, &plain);
    EXPECT_EQ(arrays.GetSize(), 4);
    EXPECT_EQ(arrays[2], nullptr);
    EXPECT_EQ(arrays.GetAt(3)->GetSize(), 0);
    EXPECT_STREQ(arrays.GetRuntimeClass()->m_lpszClassName, "CObArray");
}

TEST(Array, ConstructsOnGrowthAndDestroysOnShrink) {
    Counted::live = 0;
    {
        CArray<Counted> array;
        array.SetSize(5);
        EXPECT_EQ(Counted::live, 5);
        array.SetSize(2);
        EXPECT_EQ(Counted::live, 2);
        array.SetSize(40, 3); // relocating keeps the count
        array.RemoveAt(10, 5);
        EXPECT_EQ(Counted::live, 35);
        array.InsertAt(3, Counted(), 4);
        array.FreeExtra();
        EXPECT_EQ(Counted::live, 39);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(Array, InsertsRemovesAndAppendsInOrder) {
    CArray<int, int> array;
    for (int v : {1, 2, 3}) {
        EXPECT_EQ(array.Add(v), v - 1);
    }
    array.InsertAt(1, 9, 2);
    array.RemoveAt(0, 2);
    array.InsertAt(5, 7); // past the end: zeros first
    EXPECT_EQ(Values(array), (std::vector<int>{9, 2, 3, 0, 0, 7}));
    CArray<int, int> other;
    other.Copy(array);
    other.RemoveAt(1, 4);
    other.InsertAt(1, &other);
    EXPECT_EQ(Values(other), (std::vector<int>{9, 9, 7, 7}));
    EXPECT_EQ(other.Append(other), 4);
    EXPECT_EQ(other.GetUpperBound(), 7);
}

TEST(Array, ElementsOfTheArrayItselfSurviveGrowth) {
    plinth::CStringArray words;
    words.Add("first");
    words.FreeExtra();
    words.Add(words[0]);
    words.InsertAt(0, words[1]);
    EXPECT_EQ(words[2], "first");
    EXPECT_EQ(words[0], "first");
}

TEST(Array, SerializesTheCountAndTheElementBytes) {
    plinth::CMemFile file;
    CArray<short, short> array;
    array.Add(-2);
    {
        CArchive ar(&file, CArchive::store);
        array.Serialize(ar);
    }
    EXPECT_EQ(file.GetLength(), 4U); // 16-bit count, then the element
    file.SeekToBegin();
    array.SetSize(3);
    {
        CArchive ar(&file, CArchive::load);
        array.Serialize(ar);
    }
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array[0], -2);

    file.SetLength(3);
    file.SeekToBegin();
    try {
        CArchive ar(&file, CArchive::load);
        array.Serialize(ar);
        ADD_FAILURE() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    // Elements without a byte form need a SerializeElements of their own.
    plinth::CStringArray words;
    words.Add("x");
    CArchive ar(&file, CArchive::store);
    EXPECT_THROW(words.Serialize(ar), CArchiveException);
}
