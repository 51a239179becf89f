// The slab rule of the steps that run as one slab below a minimum width, at its boundaries.

#include "Util/SlabRunner.h"

#include <gtest/gtest.h>

using Util::Slab;

TEST(SplitWholeBelowMinimumWidth, OneSlabJustBelowTheMinimumAndEvenSlabsAtIt)
{
    for (uint32_t minimum : {2u, 3u})
        for (uint32_t threads : {2u, 3u, 8u}) {
            EXPECT_EQ(Util::splitWholeBelowMinimumWidth(minimum * threads - 1, threads, minimum),
                      (std::vector<Slab>{{0, minimum * threads - 1}}))
                << minimum << " × " << threads;
            const auto even = Util::splitWholeBelowMinimumWidth(minimum * threads, threads, minimum);
            ASSERT_EQ(even.size(), threads);
            for (uint32_t i = 0; i < threads; ++i)
                EXPECT_EQ(even[i], (Slab{i * minimum, (i + 1) * minimum}));
        }
}

TEST(SplitWholeBelowMinimumWidth, TheLastSlabTakesTheRemainder)
{
    EXPECT_EQ(Util::splitWholeBelowMinimumWidth(26, 8, 3),
              (std::vector<Slab>{{0, 3}, {3, 6}, {6, 9}, {9, 12}, {12, 15}, {15, 18}, {18, 21}, {21, 26}}));
    EXPECT_EQ(Util::splitWholeBelowMinimumWidth(7, 1, 2), (std::vector<Slab>{{0, 7}}));
    EXPECT_EQ(Util::splitWholeBelowMinimumWidth(0, 4, 2), (std::vector<Slab>{{0, 0}}));
}
