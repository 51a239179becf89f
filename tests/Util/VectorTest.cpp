#include "Util/Vector3D.h"

#include <gtest/gtest.h>

using Util::Vector3D;
using Util::Vector4D;

TEST(Vector4D, IndicesBeyondZReachW)
{
    Vector4D v(1, 2, 3, 4);
    const Vector4D &read = v;
    EXPECT_EQ(read[0], 1.0);
    EXPECT_EQ(read[1], 2.0);
    EXPECT_EQ(read[2], 3.0);
    EXPECT_EQ(read[3], 4.0);
    EXPECT_EQ(read[7], 4.0);
    EXPECT_EQ(read[-1], 4.0);

    v[7] = 9.0;
    EXPECT_EQ(v.w, 9.0);
}

TEST(Vector4D, ArithmeticActsOnAllFourComponents)
{
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
    const Vector3D back = Vector3D(1, 1, 1) + Vector4D(0, 0, 0, 1);
    EXPECT_EQ(back.w, 0.0);
}
