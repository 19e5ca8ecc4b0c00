#include "plinth/containers/bi_posn.h"
#include "plinth/containers/index_multi_byte.h"
#include "plinth/containers/npair.h"

#include <gtest/gtest.h>

#include <climits>

using namespace plinth;

TEST(NPair, NeighboursAndDistance) {
    const NPair p(2, 3);
    EXPECT_TRUE(p.IsNextTo(NPair(3, 4)));
    EXPECT_FALSE(p.IsNextTo(NPair(2, 3))); // not its own neighbour
    EXPECT_FALSE(p.IsNextTo(NPair(4, 3)));
    EXPECT_EQ(p.DistM(NPair(5, 1)), 3);
    EXPECT_EQ(NPair(INT_MIN, 0).DistM(NPair(INT_MAX, 0)), INT_MAX);
    EXPECT_FALSE(NPair(INT_MIN, 0).IsNextTo(NPair(INT_MAX, 0)));

    NPair q;
    q[0] = 5;
    q[7] = 6; // any non-zero index is the second number
    EXPECT_EQ(q, NPair(5, 6));
    EXPECT_NE(q, NPair(5, 7));
}

TEST(IndexMultiByte, HoldsAtMostTwentyBytes) {
    IndexMultiByte index;
    index.Pop(); // empty: nothing
    EXPECT_EQ(index.m_nCount, 0);
    for (int i = 1; i <= 21; ++i) {
        index.Push(static_cast<unsigned char>(i)); // the 21st is refused
    }
    EXPECT_EQ(index.m_nCount, 20);
    EXPECT_EQ(index.m_data[19], 20);
}

TEST(BiPosn, VisitsEveryPairSecondListFastest) {
    NPair x0, x1, y0, y1, y2;
    CObList first;
    CObList second;
    first.AddTail(&x0);
    first.AddTail(&x1);
    second.AddTail(&y0);
    second.AddTail(&y1);
    second.AddTail(&y2);

    BiPosn walk(&first, &second);
    EXPECT_FALSE(walk.Next());
    walk.Init();
    int trues = 0;
    while (walk.Next() && ++trues < 10) {
        if (trues == 3) { // the fourth pair: second element of the first list, first of the second
            EXPECT_EQ(first.GetAt(walk.m_pos1), &x1);
            EXPECT_EQ(second.GetAt(walk.m_pos2), &y0);
        }
    }
    EXPECT_EQ(trues, 5); // six pairs
    EXPECT_FALSE(walk.IsValid());

    CObList empty;
    BiPosn none(&first, &empty);
    none.Init();
    EXPECT_FALSE(none.IsValid());
}
