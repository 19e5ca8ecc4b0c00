#include "support/xml_pass.h"

#include "plinth/persist/buffer_base.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace plinth;
using plinth::testing::Pass;

namespace {

using Rows = std::vector<std::string>;

// A table of the given row size holding the rows given as text.
BufferBase Table(BYTE rowSize, const Rows& rows) {
    BufferBase b;
    b.SetRowSize(rowSize);
    for (const std::string& row : rows) {
        std::memcpy(b.AddNewRow(), row.data(), rowSize);
    }
    return b;
}

Rows Contents(const BufferBase& b) {
    Rows rows;
    for (ULONG i = 0; i < b.GetCount(); ++i) {
        rows.emplace_back(reinterpret_cast<const char*>(b.GetRow(i)), b.GetRowSize());
    }
    return rows;
}

std::vector<BYTE> Bytes(const BufferBase& b) {
    const BYTE* p = b.GetData();
    return std::vector<BYTE>(p, p + b.GetRowSize() * b.GetCount());
}

std::string Stored(BufferBase& b, bool hex) {
    Pass pass(PC::eStoring);
    b.PersistXML(pass.ar, hex);
    return pass.doc->xml().GetString();
}

BufferBase Loaded(const std::string& xml, bool hex, BufferBase b = BufferBase()) {
    Pass pass(PC::eLoading, xml.c_str());
    b.PersistXML(pass.ar, hex);
    EXPECT_EQ(pass.ar.GetStackPosn(), 1);
    return b;
}

} // namespace

TEST(BufferBase, ReserveDoublesWhenItRunsOut) {
    BufferBase b;
    b.SetRowSize(4);
    const ULONG reserves[] = {4, 16, 16, 16, 40};
    for (ULONG i = 0; i < 5; ++i) {
        BYTE* row = b.AddNewRow();
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row, b.GetRow(i));
        std::memset(row, static_cast<int>(i), 4);
        EXPECT_EQ(b.GetCount(), i + 1);
        EXPECT_EQ(b.GetAlloc(), reserves[i]);
    }
    for (ULONG i = 0; i < 5; ++i) { // the rows survived each reallocation
        EXPECT_EQ(b.GetRow(i)[3], i);
    }
    EXPECT_EQ(b.GetRow(5), nullptr);

    b.AllocateEx(7); // 28 bytes fit in 40: no reallocation
    EXPECT_EQ(b.GetAlloc(), 40u);
    b.AllocateEx(11); // 44 do not: twice the rows
    EXPECT_EQ(b.GetAlloc(), 88u);
    EXPECT_EQ(b.GetCount(), 11u);
    EXPECT_EQ(b.GetRow(4)[0], 4);
    b.SetCount(3); // exact again
    EXPECT_EQ(b.GetAlloc(), 0u);
    EXPECT_EQ(Contents(b),
              (Rows{std::string(4, '\0'), std::string(4, '\1'), std::string(4, '\2')}));

    BufferBase none; // without a row size nothing is allocated
    EXPECT_EQ(none.AddNewRow(), nullptr);
    EXPECT_EQ(none.GetData(), nullptr);
}

TEST(BufferBase, RowsCountedWithoutABufferAreNeverCopied) {
    BufferBase b = Table(2, {"ab", "cd"});
    b.Destroy();
    EXPECT_EQ(b.GetCount(), 2u);
    EXPECT_EQ(b.GetRow(0), nullptr);
    b.RemoveRow(0);
    EXPECT_EQ(b.GetCount(), 2u);
    b.Allocate(3); // nothing to keep
    EXPECT_EQ(b.GetCount(), 3u);
    ASSERT_NE(b.GetRow(2), nullptr);

    BufferBase c = Table(2, {"ab", "cd"});
    c.Destroy();
    BufferBase d = Table(2, {"xy"});
    EXPECT_EQ(d.Merge(c), 1u); // c's rows are missing: counted, not copied
    EXPECT_EQ(d.GetCount(), 3u);
    EXPECT_EQ(Contents(d)[0], "xy");
    BufferBase e;
    e.Copy(c);
    EXPECT_EQ(e.GetCount(), 2u);

    BufferBase f = Table(2, {"ab", "cd"});
    f.SetRowSize(3); // the rows would not fit the count any more
    EXPECT_EQ(f.GetCount(), 0u);
    EXPECT_EQ(f.GetData(), nullptr);
}

TEST(BufferBase, RemoveRowMovesLaterRowsDown) {
    const struct {
        ULONG index;
        Rows expected;
    } cases[] = {{0, {"b", "c", "d"}},
                 {2, {"a", "b", "d"}},
                 {3, {"a", "b", "c"}},
                 {4, {"a", "b", "c", "d"}}};
    for (const auto& c : cases) {
        BufferBase b = Table(1, {"a", "b", "c", "d"});
        const ULONG reserve = b.GetAlloc();
        b.RemoveRow(c.index);
        EXPECT_EQ(Contents(b), c.expected) << c.index;
        EXPECT_EQ(b.GetAlloc(), reserve);
    }
}

TEST(BufferBase, RowsComparedAtTheFirstAndLastRow) {
    const BufferBase pqr = Table(2, {"PP", "QQ", "RR"});
    const BufferBase pqs = Table(2, {"PP", "QQ", "SS"});
    const BufferBase xqr = Table(2, {"XP", "QQ", "RR"});
    EXPECT_EQ(pqr.GetCountCoinsidingRows(pqs, 0), 2u);
    EXPECT_EQ(pqr.GetCountCoinsidingRows(pqs, 1), 1u);
    EXPECT_EQ(pqr.GetCountCoinsidingRows(pqs, 2), 0u);
    EXPECT_EQ(pqr.GetCountCoinsidingRows(pqs, 3), 0u);
    EXPECT_TRUE(pqr.IsOverlapping(pqs));
    EXPECT_EQ(pqr.GetCountCoinsidingRows(xqr, 0), 0u);
    EXPECT_EQ(pqr.GetCountCoinsidingRows(xqr, 1), 2u);
    EXPECT_FALSE(pqr.IsOverlapping(xqr));
    EXPECT_EQ(pqr.GetCountCoinsidingRows(Table(2, {"PP"}), 0), 1u);
    EXPECT_EQ(pqr.GetCountCoinsidingRows(Table(1, {"P"}), 0), 0u);

    EXPECT_TRUE(pqr.IsSame(Table(2, {"PP", "QQ", "RR"})));
    EXPECT_FALSE(pqr.IsSame(pqs)); // last row
    EXPECT_FALSE(pqr.IsSame(xqr)); // first row
    EXPECT_FALSE(pqr.IsSame(Table(2, {"PP", "QQ"})));
    EXPECT_TRUE(Table(2, {}).IsSame(Table(2, {})));
    EXPECT_FALSE(Table(2, {}).IsSame(Table(3, {})));
}

TEST(BufferBase, MergeAndUniteAppendAfterTheSharedRows) {
    const struct {
        Rows mine, theirs;
        ULONG result;
        Rows expected;
    } unite[] = {{{"P", "Q"}, {"P", "Q", "R"}, 2, {"P", "Q", "R"}},
                 {{"P", "Q"}, {"P", "Q"}, 2, {"P", "Q"}},
                 {{"P"}, {"X", "Y"}, 0, {"P", "X", "Y"}},
                 {{"P", "Q", "R"}, {"P", "X"}, 1, {"P", "Q", "R", "X"}},
                 {{}, {"X"}, 0, {"X"}}};
    for (const auto& c : unite) {
        BufferBase b = Table(1, c.mine);
        EXPECT_EQ(b.Unite(Table(1, c.theirs)), c.result);
        EXPECT_EQ(Contents(b), c.expected);
    }

    BufferBase adopt; // no row size yet: takes the other's
    EXPECT_EQ(adopt.Merge(Table(3, {"abc", "def"})), 0u);
    EXPECT_EQ(adopt.GetRowSize(), 3);
    EXPECT_EQ(Contents(adopt), (Rows{"abc", "def"}));
    EXPECT_EQ(adopt.Merge(Table(2, {"xy"})), 0u); // mismatch: nothing changes
    EXPECT_EQ(Contents(adopt), (Rows{"abc", "def"}));
    EXPECT_EQ(adopt.Merge(Table(3, {})), 2u);
    EXPECT_EQ(adopt.Merge(adopt), 2u); // with itself
    EXPECT_EQ(Contents(adopt), (Rows{"abc", "def", "abc", "def"}));
}

TEST(BufferBase, CopiesNeverShareStorage) {
    BufferBase a = Table(2, {"ab", "cd", "ef"});
    BufferBase copy(a);
    BufferBase assigned;
    assigned = a;
    const BufferBase& same = assigned;
    assigned = same;
    EXPECT_EQ(copy.GetAlloc(), a.GetAlloc());
    EXPECT_NE(copy.GetData(), a.GetData());
    EXPECT_NE(assigned.GetData(), a.GetData());
    a.Destroy();
    EXPECT_EQ(Contents(copy), (Rows{"ab", "cd", "ef"}));
    EXPECT_EQ(Contents(assigned), (Rows{"ab", "cd", "ef"}));

    BufferBase tail;
    tail.Copy(copy, 1);
    EXPECT_EQ(Contents(tail), (Rows{"cd", "ef"}));
    tail.Copy(copy, 3); // past the end: nothing
    EXPECT_EQ(Contents(tail), (Rows{"cd", "ef"}));
    tail.Copy(tail, 1); // from itself
    EXPECT_EQ(Contents(tail), (Rows{"ef"}));

    BufferBase owner;
    owner.CopyShallow(copy, true); // takes the rows over
    EXPECT_EQ(copy.GetData(), nullptr);
    EXPECT_EQ(copy.GetCount(), 0u);
    EXPECT_EQ(copy.GetRowSize(), 2);
    EXPECT_EQ(Contents(owner), (Rows{"ab", "cd", "ef"}));
    EXPECT_EQ(owner.GetAlloc(), 0u);
    owner.CopyShallow(assigned, true); // the rows held before are freed
    EXPECT_EQ(Contents(owner), (Rows{"ab", "cd", "ef"}));

    BufferBase view;
    view.CopyShallow(owner, false);
    EXPECT_EQ(view.GetData(), owner.GetData());
    view.Construct(); // a view lets go before its owner is destroyed
}

TEST(BufferBase, XmlHexAndIntegerForms) {
    BufferBase b = Table(8, {std::string("\x01\x00\x00\x00\xff\xff\xff\xff", 8),
                             std::string("\x00\x01\x00\x00\x00\x00\x00\x80", 8)});
    EXPECT_EQ(Stored(b, true), "<R><BB><SR>8</SR><C>2</C><Bn>1</Bn>"
                               "<Dt>01000000FFFFFFFF0001000000000080</Dt></BB></R>");
    const std::string ints = Stored(b, false);
    EXPECT_EQ(ints, "<R><BB><SR>8</SR><C>2</C><Bn>0</Bn>"
                    "<Dt>1 -1 256 -2147483648</Dt></BB></R>");
    for (const bool hex : {true, false}) {
        const BufferBase back = Loaded(ints, hex); // "Bn" decides, not the argument
        EXPECT_TRUE(back.IsSame(b));
        EXPECT_EQ(back.GetAlloc(), 0u);
    }

    // Without "Bn" the argument decides.
    const std::string bare = "<R><BB><SR>4</SR><C>1</C><Dt>10</Dt></BB></R>";
    EXPECT_EQ(Bytes(Loaded(bare, false)), (std::vector<BYTE>{10, 0, 0, 0}));
    EXPECT_EQ(Bytes(Loaded(bare, true)), (std::vector<BYTE>{0x10, 0, 0, 0}));

    BufferBase empty; // no rows: no "Dt"
    empty.SetRowSize(3);
    EXPECT_EQ(Stored(empty, true), "<R><BB><SR>3</SR><C>0</C><Bn>1</Bn></BB></R>");
}

TEST(BufferBase, IntegerFormPadsTheLastPartialInteger) {
    const struct {
        BYTE rowSize;
        ULONG rows;
        const char* text;
    } cases[] = {{1, 1, "7"},
                 {3, 1, "197121"},
                 {5, 1, "67305985 5"},
                 {3, 2, "67305985 1541"},
                 {7, 1, "67305985 460293"}};
    for (const auto& c : cases) {
        BufferBase b;
        b.SetRowSize(c.rowSize);
        b.SetCount(c.rows);
        std::vector<BYTE> bytes(c.rowSize * c.rows);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<BYTE>(c.rowSize == 1 ? 7 : i + 1);
        }
        std::memcpy(b.GetRow(0), bytes.data(), bytes.size());
        const std::string xml = Stored(b, false);
        EXPECT_NE(xml.find(std::string("<Dt>") + c.text + "</Dt>"), std::string::npos) << xml;
        EXPECT_EQ(Bytes(Loaded(xml, false)), bytes) << c.text;
    }
    // Text from a writer that leaves the partial integer out reads the rest as zeros.
    EXPECT_EQ(Bytes(Loaded("<R><BB><SR>5</SR><C>1</C><Bn>0</Bn><Dt>-1</Dt></BB></R>", false)),
              (std::vector<BYTE>{255, 255, 255, 255, 0}));
}

TEST(BufferBase, LoadingBadRowTextKeepsCountAndBufferInAgreement) {
    const struct {
        bool hex;
        const char* dt;
        std::vector<BYTE> expected;
    } cases[] = {
        {true, "0102", {1, 2, 0, 0}},               // short
        {true, "01020304050607", {1, 2, 3, 4}},     // long
        {true, "01zz0304", {1, 0, 0, 0}},           // not hexadecimal
        {true, "", {0, 0, 0, 0}},                   // empty
        {false, "1", {1, 0, 0, 0, 0, 0, 0, 0}},     // short
        {false, "1 2 3", {1, 0, 0, 0, 2, 0, 0, 0}}, // long
        {false, "x 2", {0, 0, 0, 0, 0, 0, 0, 0}},   // not a number
    };
    for (const auto& c : cases) {
        const std::string xml = std::string("<R><BB><SR>") + (c.hex ? "2" : "4") +
                                "</SR><C>2</C><Bn>" + (c.hex ? "1" : "0") + "</Bn><Dt>" + c.dt +
                                "</Dt></BB></R>";
        const BufferBase b = Loaded(xml, true, Table(1, {"z"}));
        EXPECT_EQ(b.GetCount(), 2u) << c.dt;
        EXPECT_EQ(Bytes(b), c.expected) << c.dt;
    }

    // No "Dt": the row size and count read stay, the old (smaller) buffer goes.
    BufferBase old = Table(1, {"a", "b"});
    old = Loaded("<R><BB><SR>4</SR><C>9</C><Bn>1</Bn></BB></R>", true, old);
    EXPECT_EQ(old.GetRowSize(), 4);
    EXPECT_EQ(old.GetCount(), 9u);
    EXPECT_EQ(old.GetData(), nullptr);
    EXPECT_EQ(old.GetRow(8), nullptr);
    old.SetCount(10);
    EXPECT_NE(old.GetRow(9), nullptr);

    // Missing values keep their fields; no "BB" or no current element changes nothing.
    const BufferBase kept =
        Loaded("<R><BB><C>1</C><Dt>41</Dt></BB></R>", true, Table(1, {"a", "b"}));
    EXPECT_EQ(Contents(kept), (Rows{"A"}));
    EXPECT_EQ(Contents(Loaded("<R><X/></R>", true, Table(1, {"a"}))), (Rows{"a"}));
    Pass pass(PC::eLoading);
    pass.ar.PopElement(true);
    BufferBase untouched = Table(1, {"a"});
    untouched.PersistXML(pass.ar, true);
    PC undecided;
    PCExBase other(&undecided, pass.doc);
    untouched.PersistXML(other, true);
    EXPECT_EQ(Contents(untouched), (Rows{"a"}));
}
