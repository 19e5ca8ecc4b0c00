#include "plinth/containers/bi_posn.h"
#include "plinth/containers/index_multi_byte.h"
#include "plinth/containers/npair.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

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
    NPair items[5]; // two in the first list, three in the second
    CObList first;
    CObList second;
    first.AddTail(&items[0]);
    first.AddTail(&items[1]);
    BiPosn walk(&first, &second);
    walk.Init();
    EXPECT_FALSE(walk.IsValid()); // an empty list: no pair
    EXPECT_FALSE(walk.Next());
    for (int k = 2; k < 5; ++k) {
        second.AddTail(&items[k]);
    }
    walk.Init();
    std::string pairs;
    do {
        pairs += std::to_string(static_cast<NPair*>(first.GetAt(walk.m_pos1)) - items);
        pairs += std::to_string(static_cast<NPair*>(second.GetAt(walk.m_pos2)) - items - 2) + " ";
    } while (walk.Next() && pairs.size() < 30);
    EXPECT_EQ(pairs, "00 01 02 10 11 12 "); // Next() true five times: six pairs
    EXPECT_FALSE(walk.IsValid());
}
