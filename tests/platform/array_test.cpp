#include "support/archive_bytes.h"

#include "plinth/platform/array.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/typed_ptr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;
using plinth::testing::StoredObject;

namespace {

template <class T>
std::vector<T> Values(const CArray<T, T>& array) {
    return std::vector<T>(array.GetData(), array.GetData() + array.GetSize());
}

// Loads `array` from `bytes` and gives the cause of the archive exception, or -1.
template <class Array>
int LoadCause(Array& array, Bytes bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    try {
        CArchive ar(&file, CArchive::load);
        array.Serialize(ar);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
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
    for (INT_PTR bad : {INT_PTR{-1}, array.GetSize()}) {
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
    CObArray plain;
    CTypedPtrArray<CObArray, CObArray*> arrays;
    arrays.SetAtGrow(0, &plain);
    arrays.SetAtGrow(3, &plain);
    EXPECT_EQ(arrays.GetSize(), 4);
    EXPECT_EQ(arrays[2], nullptr);
    EXPECT_EQ(arrays.GetAt(3)->GetSize(), 0);
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

TEST(Array, InsertsRemovesAndAppendsInOrderAlsoFromItself) {
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

    // Elements of the array itself survive its growth.
    CStringArray words;
    words.Add("first");
    words.FreeExtra();
    words.Add(words[0]);
    words.InsertAt(0, words[1]);
    EXPECT_EQ(words[2], "first");
    EXPECT_EQ(words[0], "first");
}

TEST(Array, SerializesTheCountAndTheElementBytes) {
    CArray<short, short> array;
    array.Add(-2);
    Bytes bytes = StoredObject(array);
    EXPECT_EQ(bytes, (Bytes{1, 0, 0xFE, 0xFF})); // 16-bit count, then the element
    array.SetSize(3);
    EXPECT_EQ(LoadCause(array, bytes), -1);
    EXPECT_EQ(Values(array), (std::vector<short>{-2}));
    bytes.pop_back();
    EXPECT_EQ(LoadCause(array, bytes), CArchiveException::endOfFile);

    // Elements without a byte form need a SerializeElements of their own.
    CStringArray words;
    words.Add("x");
    EXPECT_THROW(StoredObject(words), CArchiveException);
}

TEST(Array, AForgedCountCostsOnlyWhatTheArchiveHolds) {
    // 0xFFFF, then a 32-bit count of 0x10000000 elements, then three elements.
    const Bytes forged{0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10, 1, 2, 3};
    CArray<BYTE, BYTE> bytes;
    EXPECT_EQ(LoadCause(bytes, forged), CArchiveException::endOfFile);
    EXPECT_LE(bytes.GetSize(), 0x10000);
    EXPECT_EQ(Values(bytes)[2], 3); // what arrived is kept
    CArray<double, double> doubles;
    EXPECT_EQ(LoadCause(doubles, forged), CArchiveException::endOfFile);
    EXPECT_LE(doubles.GetSize(), 0x10000 / 8);

    // A true count over many load steps: every element arrives, in order.
    std::mt19937 random(19);
    CArray<short, short> large;
    large.SetSize(200000);
    for (INT_PTR i = 0; i < large.GetSize(); ++i) {
        large[i] = static_cast<short>(random());
    }
    CArray<short, short> loaded;
    loaded.Add(7); // replaced
    EXPECT_EQ(LoadCause(loaded, StoredObject(large)), -1);
    EXPECT_EQ(Values(loaded), Values(large));
}

TEST(Array, PointerElementsNeverTravelAndLoadedValuesAreValid) {
    // Addresses neither leave nor enter: the bad-class cause both ways.
    const Bytes oneAddress{1, 0, 0x10, 0, 0, 0, 0, 0, 0, 0};
    CPtrArray pointers;
    CObArray objects;
    CTypedPtrArray<CObArray, CPtrArray*> typed;
    EXPECT_EQ(LoadCause(pointers, oneAddress), CArchiveException::badClass);
    EXPECT_EQ(LoadCause(objects, oneAddress), CArchiveException::badClass);
    EXPECT_EQ(LoadCause(typed, oneAddress), CArchiveException::badClass);
    EXPECT_EQ(typed.GetAt(0), nullptr); // the step is there, value-constructed
    pointers.Add(&pointers);
    EXPECT_THROW(StoredObject(pointers), CArchiveException);
    EXPECT_EQ(LoadCause(pointers, Bytes{0, 0}), -1); // no elements: nothing to refuse
    EXPECT_TRUE(pointers.IsEmpty());

    // Any byte but 0 is true, stored as the one true representation.
    CArray<bool, bool> flags;
    EXPECT_EQ(LoadCause(flags, Bytes{4, 0, 0, 1, 2, 0xFF}), -1);
    const std::vector<unsigned char> representation{0, 1, 1, 1};
    std::vector<unsigned char> raw(4);
    std::memcpy(raw.data(), flags.GetData(), raw.size());
    EXPECT_EQ(raw, representation);

    // An enumeration with a fixed underlying type takes any value of that type; one without
    // has values that a file could step outside of.
    enum class Fixed : short { eOne = 1 };
    enum Unfixed { eUnfixedOne = 1 };
    CArray<Fixed, Fixed> fixed;
    EXPECT_EQ(LoadCause(fixed, Bytes{1, 0, 0x34, 0x12}), -1);
    EXPECT_EQ(static_cast<short>(fixed[0]), 0x1234);
    CArray<Unfixed, Unfixed> unfixed;
    EXPECT_EQ(LoadCause(unfixed, Bytes{1, 0, 7, 0, 0, 0}), CArchiveException::badClass);
}
