#include "Util/Vector3D.h"

#include <gtest/gtest.h>
#include <tuple>

using Util::Vector3D;
using Util::Vector4D;

TEST(Vector4D, IndicesBeyondZReachWAndArithmeticActsOnAllFourComponents)
{
    Vector4D v(1, 2, 3, 4);
    const Vector4D &read = v;
    EXPECT_EQ(std::make_tuple(read[0], read[1], read[2], read[3], read[7], read[-1]),
              std::make_tuple(1.0, 2.0, 3.0, 4.0, 4.0, 4.0));
    v[7] = 9.0;
    EXPECT_EQ(v.w, 9.0);

    const Vector4D a(1, 2, 3, 4);
    const Vector4D b(0.5);
    EXPECT_EQ(a + b, Vector4D(1.5, 2.5, 3.5, 4.5));
    EXPECT_EQ(a - b, Vector4D(0.5, 1.5, 2.5, 3.5));
    EXPECT_EQ(2.0 * a, Vector4D(2, 4, 6, 8));
    Vector4D sum = a;
    sum += a;
    EXPECT_EQ(sum, Vector4D(2, 4, 6, 8));
}

TEST(Vector3D, IsBuiltWithWZero)
{
    EXPECT_EQ(Vector3D(), Vector4D(0, 0, 0, 0));
    EXPECT_EQ(Vector3D(5), Vector4D(5, 5, 5, 0));
    EXPECT_EQ(Vector3D(1, 2, 3), Vector4D(1, 2, 3, 0));
    EXPECT_EQ(Vector3D(Vector4D(1, 2, 3, 4)), Vector4D(1, 2, 3, 0));
    // Sums of 3D points come back as 4D vectors; making them 3D again drops w.
    EXPECT_EQ(Vector3D(Vector3D(1, 1, 1) + Vector4D(0, 0, 0, 1)).w, 0.0);
}
